#include "bench/support/ActionTimes.h"

#include <ctime>

namespace wh::bench {

std::map<std::string, TActionTimes>& ActionTimes() {
    static std::map<std::string, TActionTimes> times;
    return times;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace wh::bench
