#include "app/ProgressBlock.h"

#include <set>

#include <gtest/gtest.h>

namespace wh {
namespace {

bool Inside(const TRect& block, const TRect& frame) {
    return block.Left > frame.Left && block.Left + block.Width <= frame.Left + frame.Width - 1 &&
           block.Top == frame.Top + 1 && block.Height == frame.Height - 2;
}

TEST(ProgressBlockTest, FirstStepLandsOnTheFrameLeftEdge) {
    TProgressBlock indicator;
    indicator.Step();
    EXPECT_EQ(indicator.Block(), (TRect{455, 3, 10, 14}));
}

TEST(ProgressBlockTest, CyclesThroughEightyFourPositionsInsideTheFrame) {
    TProgressBlock indicator;
    indicator.Step();
    const TRect first = indicator.Block();
    std::set<int> lefts;
    for (int step = 1; step <= 84; ++step) {
        lefts.insert(indicator.Block().Left);
        indicator.Step();
        ASSERT_TRUE(Inside(indicator.Block(), indicator.Frame())) << "step " << step;
        if (step < 84) {
            EXPECT_NE(indicator.Block(), first) << "back too early at step " << step;
        }
    }
    EXPECT_EQ(indicator.Block(), first);
    EXPECT_EQ(lefts.size(), 84u);
    EXPECT_EQ(*lefts.begin(), 455);
    EXPECT_EQ(*lefts.rbegin(), 538);
}

TEST(ProgressBlockTest, MovesOnePixelAtATimeUntilTheRightEdge) {
    TProgressBlock indicator;
    indicator.Step();
    for (int expected = 456; expected <= 538; ++expected) {
        indicator.Step();
        EXPECT_EQ(indicator.Block().Left, expected);
    }
    indicator.Step();
    EXPECT_EQ(indicator.Block().Left, 455);
    EXPECT_EQ(indicator.Frame(), TProgressBlock::InitialFrame);
}

} // namespace
} // namespace wh
