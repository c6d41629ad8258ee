#include <gtest/gtest.h>

#include "catalogue/ActionToolTips.h"

namespace wh {
namespace {

constexpr std::uint64_t KiB = 1024, MiB = 1024 * KiB, GiB = 1024 * MiB;

TEST(ActionToolTips, InstallTipCountsLiveriesAndRoundsTheirKnownSize) {
    const struct {
        TWHFetchVolume Volume;
        const char* Point;
        std::string Tip;
    } cases[] = {
        {{0, 0, 0}, ".", "0 liveries"},
        {{1, MiB, 0}, ".", "1 livery, about 1.0 MB"},
        {{3, 1000 * KiB - 1, 0}, ".", "3 liveries, about 1000 KB"},
        {{3, 1000 * KiB, 0}, ".", "3 liveries, about 1.0 MB"},
        {{3, 4 * MiB + MiB / 2, 0}, ",", "3 liveries, about 4,5 MB"},
        {{12, 340 * MiB + MiB / 2, 0}, ".", "12 liveries, about 341 MB"},
        {{40, GiB + GiB / 4, 0}, ".", "40 liveries, about 1.3 GB"},
        {{400, 12 * GiB, 0}, ".", "400 liveries, about 12 GB"},
        {{3, 2 * MiB, 1}, ".", "3 liveries, about 2.0 MB (1 of unknown size)"},
        {{2, 0, 2}, ".", "2 liveries, size unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InstallToolTip(c.Volume, c.Point), c.Tip);
    for (const auto& [count, tip] : {std::pair{1, "1 livery to remove"}, {7, "7 liveries to remove"}})
        EXPECT_EQ(DeinstallToolTip(count), tip);
}

} // namespace
} // namespace wh
