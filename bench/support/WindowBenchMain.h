#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wh::bench {

// The main of a benchmark that drives the real window: an offscreen
// application (unless a platform is asked for) with the window tests' locale,
// so that the list sorts with a real collation, not C's byte order. Flags in
// defaults go before the command line's, so that a flag given there wins.
// afterRun runs once the benchmarks are done, while the application lives.
int RunWindowBenchmarks(int argc, char** argv, const std::vector<std::string>& defaults,
                        const std::function<void()>& afterRun);

} // namespace wh::bench
