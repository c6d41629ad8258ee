#include <gtest/gtest.h>

#include "activity/PumpPacer.h"

namespace wh::test {
namespace {

using namespace std::chrono_literals;

TEST(PumpPacerTest, DueAtFirstThenOncePerInterval) {
    const TPumpPacer::TClock::time_point start{1h};
    struct Case {
        const char* Name;
        std::chrono::milliseconds At; // after start
        bool Restart;                 // before asking
        bool Due;
    } cases[] = {
        {"the first question", 0ms, false, true},
        {"within the interval", 4ms, false, false},       // of the yes at 0
        {"once it has passed", 5ms, false, true},         // likewise
        {"counted from the last yes", 9ms, false, false}, // at 5
        {"after a restart", 9ms, true, true},
        {"counted from the restart's yes", 13ms, false, false}, // at 9
    };
    TPumpPacer pacer;
    for (const Case& c : cases) {
        if (c.Restart)
            pacer.Restart();
        EXPECT_EQ(pacer.Due(start + c.At), c.Due) << c.Name;
    }
}

} // namespace
} // namespace wh::test
