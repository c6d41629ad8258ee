#include <gtest/gtest.h>

#include "activity/PumpPacer.h"

namespace wh {
namespace {

using namespace std::chrono_literals;

// Yes at first and after a restart, then once per interval from the last yes.
TEST(PumpPacerTest, DueAtFirstThenOncePerInterval) {
    const TPumpPacer::TClock::time_point start{1h};
    TPumpPacer pacer;
    EXPECT_TRUE(pacer.Due(start));
    EXPECT_FALSE(pacer.Due(start + 4ms));
    EXPECT_TRUE(pacer.Due(start + 5ms));
    EXPECT_FALSE(pacer.Due(start + 9ms));
    pacer.Restart();
    EXPECT_TRUE(pacer.Due(start + 9ms));
}

} // namespace
} // namespace wh
