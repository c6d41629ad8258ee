// A load of 10,000 and of 100,000 liveries into the real window (offscreen):
// Next on the Welcome page until the Selection page is painted, each load into
// a new window, and a second load into the same window (Back, then Next).
// Beside the times, how much the process's resident memory grew with the
// first load, per row, and the same catalogue files copied and packages.zip
// unzipped by cp and unzip, interleaved with the loads.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "bench/support/ActionTimes.h"
#include "bench/support/LargeCollectionWindow.h"
#include "bench/support/WindowBenchMain.h"

namespace {

using namespace wh;
using bench::Timed;
using bench::TLargeCollectionWindow;

std::map<int, std::unique_ptr<TLargeCollectionWindow>> Setups;
TLargeCollectionWindow& Setup(int packages) {
    auto& slot = Setups[packages];
    if (!slot)
        slot = std::make_unique<TLargeCollectionWindow>(packages, false);
    return *slot;
}

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * 4096 / (1024.0 * 1024.0);
}

std::map<int, double> GrowthPerRow; // bytes, by package count

// The work a load does, by plain tools; its processor time is the
// children's, which the thread's does not count.
bool CopyAndUnzip(const TLargeCollectionWindow& s) {
    const std::string root = "'" + s.Root.Path().string() + "'";
    const std::string copy = root + "/copy";
    return std::system(("rm -rf " + copy).c_str()) == 0 &&
           std::system(("cp -r " + root + "/source " + copy + " && unzip -qo " + copy + "/packages.zip -d " + copy +
                        "/unzipped")
                           .c_str()) == 0;
}

void Load(TLargeCollectionWindow& s) {
    s.Button("btnNext")->click();
    QApplication::processEvents();
}

void BM_FirstLoad(benchmark::State& state) {
    const int packages = static_cast<int>(state.range(0));
    TLargeCollectionWindow& s = Setup(packages);
    const std::string rows = std::to_string(packages * TLargeCollectionWindow::LiveriesPerPackage);
    const std::string name = rows + " first load";
    for (auto _ : state) {
        state.PauseTiming();
        bool copied = false;
        // Its iteration time is overwritten by the load's below.
        Timed(state, rows + " cp + unzip", [&] { copied = CopyAndUnzip(s); });
        if (!copied) {
            state.SkipWithError("cp or unzip failed");
            return;
        }
        s.OpenWindow();
        QApplication::processEvents();
        const double before = ResidentMegabytes();
        state.ResumeTiming();
        Timed(state, name, [&] { Load(s); });
        if (!s.Loaded()) {
            state.SkipWithError("the load did not show every row");
            return;
        }
        // Later windows reuse the memory the earlier ones freed.
        if (!GrowthPerRow.count(packages))
            GrowthPerRow[packages] =
                (ResidentMegabytes() - before) * 1024 * 1024 / (packages * TLargeCollectionWindow::LiveriesPerPackage);
    }
}

void BM_Reload(benchmark::State& state) {
    const int packages = static_cast<int>(state.range(0));
    TLargeCollectionWindow& s = Setup(packages);
    const std::string name = std::to_string(packages * TLargeCollectionWindow::LiveriesPerPackage) + " reload";
    if (!s.Loaded())
        Load(s);
    for (auto _ : state) {
        state.PauseTiming();
        s.Button("btnPrev")->click();
        QApplication::processEvents();
        state.ResumeTiming();
        Timed(state, name, [&] { Load(s); });
    }
    if (!s.Loaded())
        state.SkipWithError("the load did not show every row");
}

BENCHMARK(BM_FirstLoad)->Arg(200)->Arg(2000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reload)->Arg(200)->Arg(2000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf("\n%-24s %10s %10s %10s %10s\n", "ms", "best wall", "worst wall", "best cpu", "worst cpu");
    for (const auto& [name, t] : bench::ActionTimes())
        std::printf("%-24s %10.0f %10.0f %10.0f %10.0f\n", name.c_str(), t.BestWall * 1e3, t.WorstWall * 1e3,
                    t.BestCpu * 1e3, t.WorstCpu * 1e3);
    for (const auto& [packages, bytes] : GrowthPerRow)
        std::printf("resident growth of the first load of %d rows: %.0f bytes per row\n",
                    packages * TLargeCollectionWindow::LiveriesPerPackage, bytes);
    for (const auto& [packages, bytes] : GrowthPerRow) {
        const std::string rows = std::to_string(packages * TLargeCollectionWindow::LiveriesPerPackage);
        auto& times = bench::ActionTimes();
        if (times.count(rows + " cp + unzip"))
            std::printf("first load of %s rows against cp + unzip, best against best: %.1f times\n", rows.c_str(),
                        times[rows + " first load"].BestWall / times[rows + " cp + unzip"].BestWall);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of the process: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    return wh::bench::RunWindowBenchmarks(argc, argv, {}, [] {
        Setups.clear();
        PrintSummary();
    });
}
