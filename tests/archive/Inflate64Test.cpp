#include "archive/Inflate64.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/Deflate64Writer.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TInflateResult;
using wh::test::PrintTo;
using wh::test::RandomBytes;
using W = wh::test::TDeflate64Writer;

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Text whose repeats stay short: zlib's raw deflate of it is also valid
// Deflate64, since only a match of 258 is coded differently.
std::string Words(std::size_t size) {
    std::mt19937 random(7);
    static const char* const kWords[] = {"livery ", "texture ", "panel ", "alpha\n", "bitmap "};
    std::string text;
    while (text.size() < size)
        text += kWords[random() % 5] + std::to_string(random() % 10000);
    text.resize(size);
    return text;
}

std::string ZlibRaw(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Appends length bytes copied from distance back, overlapping as the format does.
void Copy(std::string& out, std::size_t length, std::size_t distance) {
    while (length-- > 0)
        out += out[out.size() - distance];
}

struct TRun {
    TInflateResult Result;
    std::string Output;
};

TRun Inflate(const std::string& stream, std::size_t piece, std::uint64_t limit) {
    std::size_t at = 0;
    TRun run{TInflateResult::Damaged, {}};
    run.Result = wh::Inflate64(
        [&](std::uint8_t* buffer, std::size_t size) {
            const std::size_t n = std::min({size, piece, stream.size() - at});
            std::copy_n(stream.data() + at, n, buffer);
            at += n;
            return n;
        },
        [&](const std::uint8_t* data, std::size_t size) {
            run.Output.append(reinterpret_cast<const char*>(data), size);
        },
        limit);
    return run;
}

TEST(Inflate64Test, DecodesEveryBlockKindAndRefusesBrokenStreams) {
    // 64 KiB of history, then matches on both sides of the distance codes'
    // bounds, then the longest match from 64 KiB back over and over: each
    // fills the output buffer, so the window moves right before a copy from
    // its first byte.
    std::string farOut = RandomBytes(65535, 1) + "!";
    W far;
    far.Stored(std::string_view(farOut).substr(0, 65535), false).Fixed(true).Literals("!");
    std::vector<std::pair<unsigned, unsigned>> matches = {{258, 49153}, {40, 49152}, {3, 32769}, {4, 32768}};
    matches.insert(matches.end(), 10, {65538, 65536});
    for (const auto& [length, distance] : matches) {
        far.Match(length, distance);
        Copy(farOut, length, distance);
    }
    far.End();

    const std::string words = Words(700000);
    const std::string dynamic = ZlibRaw(words);
    const std::string hello = W().Stored("hello", true).Bytes();
    std::string unconfirmed = hello;
    unconfirmed[3] ^= 1; // the length's complement

    struct Case {
        std::string Name;
        std::string Stream;
        bool Done;
        std::string Output; // when done
        std::uint64_t Limit = kNoLimit;
    };
    const Case cases[] = {
        {"stored block", hello, true, "hello"},
        {"empty stored block, then fixed", W().Stored("", false).Fixed(true).Literals("ab").End().Bytes(), true, "ab"},
        {"overlapping match", W().Fixed(true).Literals("abc").Match(7, 3).End().Bytes(), true, "abcabcabca"},
        {"length 285 takes 16 extra bits", W().Fixed(true).Literals("x").Match(65538, 1).End().Bytes(), true,
         std::string(65539, 'x')},
        {"distance codes 30 and 31 reach the 64 KiB window", far.Bytes(), true, farOut},
        {"dynamic blocks", dynamic, true, words},
        {"output exactly at the limit", hello, true, "hello", 5},
        {"output beyond the limit", hello, false, "", 4},
        {"no input", "", false, ""},
        {"truncated dynamic blocks", dynamic.substr(0, dynamic.size() - 9), false, ""},
        {"truncated stored block", hello.substr(0, hello.size() - 2), false, ""},
        {"block without its end code", W().Fixed(true).Literals("abc").Bytes(), false, ""},
        {"block type 3", W().Bits(1, 1).Bits(3, 2).Bytes(), false, ""},
        {"stored length not confirmed", unconfirmed, false, ""},
        {"distance before the start", W().Fixed(true).Literals("ab").Match(3, 3).End().Bytes(), false, ""},
        {"length symbol 286", W().Fixed(true).Literals("ab").Symbol(286).Bits(0, 5).End().Bytes(), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun whole = Inflate(c.Stream, c.Stream.size() + 1, c.Limit);
        EXPECT_EQ(whole.Result == TInflateResult::Done, c.Done);
        if (c.Done) {
            EXPECT_TRUE(whole.Output == c.Output) << whole.Output.size() << " bytes, not " << c.Output.size();
        }
        // Fed a few bytes at a time, it decodes the same.
        const TRun pieces = Inflate(c.Stream, 7, c.Limit);
        EXPECT_EQ(pieces.Result, whole.Result);
        EXPECT_TRUE(pieces.Output == whole.Output);
    }
}

} // namespace
