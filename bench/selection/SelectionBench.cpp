// The Selection page's actions on 10,000 rows in the real window
// (offscreen): "select all", "invert selection" and a header-click sort,
// each beside one recount of the same list in the same run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/support/ActionTimes.h"
#include "bench/support/LargeCollectionWindow.h"
#include "bench/support/WindowBenchMain.h"

namespace {

using namespace wh;
using bench::Timed;
using bench::TLargeCollectionWindow;

// Made at first use, gone before the application object.
std::unique_ptr<TLargeCollectionWindow> TheSetup;
TLargeCollectionWindow& Setup() {
    if (!TheSetup)
        TheSetup = std::make_unique<TLargeCollectionWindow>();
    return *TheSetup;
}

void CheckRows(benchmark::State& state) {
    if (!Setup().Loaded())
        state.SkipWithError("the load did not show 10,000 rows");
}

void BM_Recount(benchmark::State& state) {
    TLargeCollectionWindow& s = Setup();
    CheckRows(state);
    s.Button("btnSelectNew")->click();
    for (auto _ : state)
        Timed(state, "one recount", [&] { s.Window->UpdateSelectionStatus(); });
}

void BM_SelectAll(benchmark::State& state) {
    TLargeCollectionWindow& s = Setup();
    CheckRows(state);
    for (auto _ : state) {
        s.Button("btnDeselectAll")->click();
        Timed(state, "select all", [&] { s.Button("btnSelectAll")->click(); });
    }
}

void BM_InvertSelection(benchmark::State& state) {
    TLargeCollectionWindow& s = Setup();
    CheckRows(state);
    s.Button("btnSelectNew")->click();
    for (auto _ : state)
        Timed(state, "invert selection", [&] { s.Button("btnInvertSelection")->click(); });
}

void BM_HeaderClickSort(benchmark::State& state) {
    TLargeCollectionWindow& s = Setup();
    CheckRows(state);
    const int column = static_cast<int>(state.range(0));
    const std::string name = "sort by column " + std::to_string(column);
    for (auto _ : state)
        Timed(state, name, [&] { emit s.List()->header()->sectionClicked(column); });
}

BENCHMARK(BM_Recount)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvertSelection)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeaderClickSort)->Arg(0)->Arg(1)->Arg(6)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintSummary() {
    const bench::TActionTimes recount = bench::ActionTimes()["one recount"];
    std::printf("\n%-20s %12s %10s %12s %10s\n", "10,000 rows", "best wall ms", "x recount", "best cpu ms",
                "x recount");
    for (const auto& [name, times] : bench::ActionTimes())
        std::printf("%-20s %12.2f %10.2f %12.2f %10.2f\n", name.c_str(), times.BestWall * 1e3,
                    times.BestWall / recount.BestWall, times.BestCpu * 1e3, times.BestCpu / recount.BestCpu);
}

} // namespace

int main(int argc, char** argv) {
    return wh::bench::RunWindowBenchmarks(argc, argv, {}, [] {
        TheSetup.reset();
        PrintSummary();
    });
}
