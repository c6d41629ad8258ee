#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "install/OperationMeter.h"

namespace wh {
namespace {

constexpr std::uint64_t KiB = 1024, MiB = 1024 * 1024;
constexpr std::int64_t None = -1;

TTransferRate::TTime Now{};
using TStep = std::function<void(TOperationMeter&)>;

TStep At(int ms) {
    return [=](auto&) { Now = TTransferRate::TTime{} + std::chrono::milliseconds(ms); };
}
TStep Begin(int rows) {
    return [=](auto& m) { m.OperationBegun(rows); };
}
TStep Row(int number) {
    return [=](auto& m) { m.RowBegun(number); };
}
TStep Livery(std::int64_t size) {
    return [=](auto& m) { m.LiveryArchiveNext(size); };
}
TStep Bytes(std::uint64_t received, std::int64_t length = None) {
    return [=](auto& m) { m.BytesReceived(received, length); };
}
const TStep Download = [](auto&m) { m.DownloadBegun(); }, DownloadEnd = [](auto&m) { m.DownloadEnded(); };
const TStep End = [](auto& m) { m.OperationEnded(); };
// Reports every 10 ms from one time to another at a steady rate, on top of start bytes.
TStep Steady(int fromMs, int toMs, std::uint64_t perSecond, std::int64_t length = None, std::uint64_t start = 0) {
    return [=](auto& m) {
        for (int ms = fromMs; ms <= toMs; ms += 10) {
            At(ms)(m);
            m.BytesReceived(start + perSecond * static_cast<std::uint64_t>(ms - fromMs) / 1000, length);
        }
    };
}

struct TMeterCase {
    const char* Name;
    std::vector<TStep> Steps;
    std::string Text; // Windows-1252: the middle dot is \xB7
    int Bar;
    int Shows = -1; // -1: not counted
};

TEST(OperationMeter, ShowsRowsBytesAndSpeedAtMostFourTimesASecond) {
    const TMeterCase cases[] = {
        {"rows only, as a deinstall reports", {Begin(4), Row(3)}, "3 of 4", 500, 2},
        {"announced length; speed over the last second; bytes drawn every 250 ms",
         {Begin(12), Row(3), Livery(None), At(0), Download, Steady(0, 1000, 10 * MiB, 200 * MiB)},
         "3 of 12 \xB7 10.0 of 200.0 MB \xB7 10.0 MB/s",
         170,
         3 + 4},
        {"the catalogue's size when the server announces none",
         {Begin(1), Row(1), Livery(2 * MiB), Download, Steady(0, 1000, MiB)},
         "1 of 1 \xB7 1.0 of 2.0 MB \xB7 1.0 MB/s",
         500},
        {"the server's length before the catalogue's",
         {Begin(1), Row(1), Livery(5 * MiB), Download, Steady(0, 1000, MiB, 4 * MiB)},
         "1 of 1 \xB7 1.0 of 4.0 MB \xB7 1.0 MB/s",
         250},
        {"no size known: the bytes alone, in their own unit",
         {Begin(2), Row(1), Download, Steady(0, 600, 500 * KiB)},
         "1 of 2 \xB7 300 KB \xB7 500 KB/s",
         0},
        {"no speed in the first half second",
         {Begin(1), Row(1), Livery(None), Download, At(400), Bytes(100 * KiB, 500 * KiB)},
         "1 of 1 \xB7 100 of 500 KB",
         200},
        {"a stall fades the speed out",
         {Begin(1), Row(1), Livery(None), Download, Steady(0, 1000, 3 * MiB, 9 * MiB),
          Steady(1000, 4200, 0, 9 * MiB, 3 * MiB)},
         "1 of 1 \xB7 3.0 of 9.0 MB \xB7 0 KB/s",
         333},
        {"a download's end leaves the row count and the bar's part",
         {Begin(2), Row(1), Livery(None), Download, Bytes(MiB, MiB), DownloadEnd},
         "1 of 2",
         500},
        {"a base's download shows its bytes, only the livery archive moves the bar",
         {Begin(2), Row(1), Download, Bytes(MiB, MiB), DownloadEnd, Livery(4 * MiB), Download, Bytes(MiB)},
         "1 of 2 \xB7 1.0 of 4.0 MB",
         125},
        {"ended: nothing shown", {Begin(3), Row(2), Download, Bytes(KiB), End}, "", 0, 4},
    };
    for (const TMeterCase& c : cases) {
        int shows = 0;
        TOperationMeter meter([&](const TOperationMeter&) { ++shows; }, [] { return Now; });
        Now = {};
        for (const TStep& step : c.Steps)
            step(meter);
        EXPECT_EQ(meter.Text(), c.Text) << c.Name;
        EXPECT_EQ(meter.Bar(), c.Bar) << c.Name;
        EXPECT_EQ(meter.Running(), !c.Text.empty()) << c.Name;
        if (c.Shows >= 0) {
            EXPECT_EQ(shows, c.Shows) << c.Name;
        }
    }
}

} // namespace
} // namespace wh
