#pragma once

#include <algorithm>
#include <chrono>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

namespace wh::bench {

// Best and worst wall and thread processor times per action; the machine is
// shared, and other load does not inflate the thread's own processor time.
struct TActionTimes {
    double BestWall = 1e9;
    double WorstWall = 0;
    double BestCpu = 1e9;
    double WorstCpu = 0;
};

std::map<std::string, TActionTimes>& ActionTimes();

double ThreadCpuSeconds();

// Runs one action as one iteration's manual time and keeps its times.
template <class Action>
void Timed(benchmark::State& state, const std::string& name, Action action) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    action();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    TActionTimes& times = ActionTimes()[name];
    times.BestWall = std::min(times.BestWall, wall);
    times.WorstWall = std::max(times.WorstWall, wall);
    times.BestCpu = std::min(times.BestCpu, cpu);
    times.WorstCpu = std::max(times.WorstCpu, cpu);
}

} // namespace wh::bench
