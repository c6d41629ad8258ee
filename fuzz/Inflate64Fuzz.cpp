#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/Inflate64.h"

namespace {

// Past the output buffer, so that the window moves, yet a bound on the work of
// a stream that copies 64 KiB for every few bits.
constexpr std::uint64_t kLimit = 256 * 1024;

void Check(bool holds) {
    if (!holds)
        std::abort();
}

struct TRun {
    wh::TInflateResult Result;
    std::string Output;
};

TRun Inflate(const std::uint8_t* data, std::size_t size, std::size_t piece) {
    std::size_t at = 0;
    TRun run{wh::TInflateResult::Damaged, {}};
    run.Result = wh::Inflate64(
        [&](std::uint8_t* buffer, std::size_t room) {
            const std::size_t n = std::min({room, piece, size - at});
            std::copy_n(data + at, n, buffer);
            at += n;
            return n;
        },
        [&](const std::uint8_t* out, std::size_t length) {
            Check(length > 0);
            run.Output.append(reinterpret_cast<const char*>(out), length);
        },
        kLimit);
    return run;
}

} // namespace

// The first byte chooses how the rest is cut into the pieces the source hands
// over; the stream decodes the same however it arrives.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const TRun whole = Inflate(data + 1, size - 1, size);
    const TRun pieces = Inflate(data + 1, size - 1, piece);
    Check(whole.Result == pieces.Result);
    Check(whole.Output == pieces.Output);
    Check(whole.Output.size() <= kLimit);
    return 0;
}
