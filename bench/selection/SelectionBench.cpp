// The Selection page's actions on 10,000 rows in the real window
// (offscreen): "select all", "invert selection" and a header-click sort,
// each beside one recount of the same list in the same run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/WingharbourClientMain.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using namespace wh;
namespace fs = std::filesystem;

constexpr int Packages = 200;
constexpr int LiveriesPerPackage = 50;

std::string PackageDir(int p) { return "b" + std::to_string(1000 + p).substr(1); }

// A local collection of 10,000 liveries; one in ten installed, half of those
// with a newer archive in the catalogue.
struct TSetup {
    test::TTempDir Root;
    std::unique_ptr<test::TWorkingDirOverride> WorkingDir;
    std::unique_ptr<TfmWingharbourClientMain> Window;

    TSetup() {
        WorkingDir = std::make_unique<test::TWorkingDirOverride>(Root / "appdata");
        const fs::path source = Root.Path() / "source";
        std::string packagesLst;
        for (int p = 0; p < Packages; ++p) {
            const std::string dir = PackageDir(p);
            packagesLst += "[package." + std::to_string(p) + "]\r\ndirectory=" + dir + "\r\n";
            std::string list;
            for (int n = 0; n < LiveriesPerPackage; ++n) {
                const std::string id = dir + "_" + std::to_string(n);
                const bool installed = n % 10 == 0;
                list += "[fltsim." + std::to_string(n) + "]\r\ntexture=" + id + "\r\nui_type=Type " +
                        std::to_string((p * 31 + n) % 97) + "\r\nwh_airline=Airline " +
                        std::to_string((p * 7919 + n * 104729) % 100003) + "\r\nwh_designer=D" +
                        std::to_string(n % 7) + "\r\nwh_model=PSS\r\nwh_status=ok\r\nwh_filename=" + id +
                        ".zip\r\nwh_archivesize=" + std::to_string(1000 * ((p * 13 + n) % 900)) +
                        "\r\nwh_archivetimestamp=" + (installed && n % 20 == 0 ? "2147483647" : "1") + "\r\n";
                if (installed) {
                    fs::create_directories(Root.Path() / "fs/aircraft" / dir / ("texture." + id));
                    test::WriteFile(Root.Path() / "appdata/Wingharbour" / dir / (id + ".zip"), "zip");
                }
            }
            test::WriteFile(source / dir / "aircraft.lst", list);
        }
        test::WriteFile(source / "packages.lst", packagesLst);
        test::BuildZip((source / "packages.zip").string(), {{"packages.lst", packagesLst}});
        test::WriteFile(Root.Path() / "program/WingharbourClient.ini",
                        "[Welcome]\r\nrbLocalDir=1\r\nrbURL=0\r\nedPackageFile=" + (source / "packages.lst").string() +
                            "\r\nFSDir=" + (Root / "fs") + "\r\n");
        TMainOptions options;
        options.ProgramPath = Root / "program/WingharbourClient";
        options.OpenURL = [](const std::string&) {};
        Window = std::make_unique<TfmWingharbourClientMain>(std::move(options));
        Window->show();
        Button("btnNext")->click();
    }

    QPushButton* Button(const char* name) const { return Window->findChild<QPushButton*>(name); }
    QTreeWidget* List() const { return Window->findChild<QTreeWidget*>("lvAircraft"); }
};

// Made at first use, gone before the application object.
std::unique_ptr<TSetup> TheSetup;
TSetup& Setup() {
    if (!TheSetup)
        TheSetup = std::make_unique<TSetup>();
    return *TheSetup;
}

// The machine is shared: beside wall time the summary shows the thread's own
// processor time, which other load does not inflate.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct TTimes {
    double Wall = 1e9;
    double Cpu = 1e9;
};

// Best times per action, for the summary.
std::map<std::string, TTimes> Best;

template <class Action>
void Timed(benchmark::State& state, const std::string& name, Action action) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    action();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    TTimes& best = Best[name];
    best.Wall = std::min(best.Wall, wall);
    best.Cpu = std::min(best.Cpu, cpu);
}

void CheckRows(benchmark::State& state) {
    if (Setup().List()->topLevelItemCount() != Packages * LiveriesPerPackage)
        state.SkipWithError("the load did not show 10,000 rows");
}

void BM_Recount(benchmark::State& state) {
    TSetup& s = Setup();
    CheckRows(state);
    s.Button("btnSelectNew")->click();
    for (auto _ : state)
        Timed(state, "one recount", [&] { s.Window->UpdateSelectionStatus(); });
}

void BM_SelectAll(benchmark::State& state) {
    TSetup& s = Setup();
    CheckRows(state);
    for (auto _ : state) {
        s.Button("btnDeselectAll")->click();
        Timed(state, "select all", [&] { s.Button("btnSelectAll")->click(); });
    }
}

void BM_InvertSelection(benchmark::State& state) {
    TSetup& s = Setup();
    CheckRows(state);
    s.Button("btnSelectNew")->click();
    for (auto _ : state)
        Timed(state, "invert selection", [&] { s.Button("btnInvertSelection")->click(); });
}

void BM_HeaderClickSort(benchmark::State& state) {
    TSetup& s = Setup();
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
    const TTimes recount = Best["one recount"];
    std::printf("\n%-20s %12s %10s %12s %10s\n", "10,000 rows", "best wall ms", "x recount", "best cpu ms",
                "x recount");
    for (const auto& [name, times] : Best)
        std::printf("%-20s %12.2f %10.2f %12.2f %10.2f\n", name.c_str(), times.Wall * 1e3, times.Wall / recount.Wall,
                    times.Cpu * 1e3, times.Cpu / recount.Cpu);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // As the window tests: a locale with a real collation, not C's byte order.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheSetup.reset();
    PrintSummary();
    return 0;
}
