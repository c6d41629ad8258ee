#include "platform/FileStamps.h"

namespace wh {

namespace {

constexpr std::int64_t kMillisecondNs = 1'000'000;
// File systems that keep whole seconds or two (FAT) write stamps without a
// sub-millisecond part; their tick is far longer than the clock's.
constexpr std::int64_t kCoarseStampWindowNs = 2'000'000'000;

} // namespace

std::int64_t Nanoseconds(const std::timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::int64_t NowNs() {
    std::timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

std::int64_t RacyWindowNs(std::int64_t modifiedNs) {
    if (modifiedNs % kMillisecondNs == 0)
        return kCoarseStampWindowNs;
    static const std::int64_t fine = [] {
        std::timespec resolution{};
        if (::clock_getres(CLOCK_REALTIME_COARSE, &resolution) != 0)
            return kCoarseStampWindowNs;
        return Nanoseconds(resolution) + kMillisecondNs;
    }();
    return fine;
}

} // namespace wh
