#pragma once

#include <chrono>

namespace wh {

// Says when the window's messages are due to be processed again: at once the
// first time, then at most once per interval. At loopback or disk speed a
// pump per block or per status line costs several times the work itself.
class TPumpPacer {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds Interval{5};

    // True when the interval has passed since the last time it said so.
    bool Due(TClock::time_point now = TClock::now());
    // The next question is due, as the first: new work shows its first step at once.
    void Restart() { FLast = TClock::time_point::min(); }

private:
    TClock::time_point FLast = TClock::time_point::min();
};

} // namespace wh
