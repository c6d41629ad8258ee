// Loads a generated collection of P packages x 50 liveries and compares the
// time with a plain copy of the same catalogue files. Run without arguments
// for the table of 50, 100 and 200 packages. The same collection is also
// loaded from a web server on 127.0.0.1 that answers every request after
// 50 ms, and 20 liveries of one package are installed from it, once from a
// server that keeps connections alive and once from one that closes each.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/AircraftList.h"
#include "catalogue/AircraftState.h"
#include "catalogue/CatalogueReader.h"
#include "catalogue/RowTexts.h"
#include "fetch/Fetch.h"
#include "files/WorkingDir.h"
#include "install/Installer.h"
#include "platform/PathSnapshot.h"
#include "platform/Paths.h"
#include "tests/support/CatalogueText.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using namespace wh;
namespace fs = std::filesystem;

constexpr int LiveriesPerPackage = 50;
constexpr int InstalledLiveries = 20; // of the first package, in the install benchmark
constexpr int AnswerDelayMs = 50;

std::string PackageDir(int p) {
    char name[16];
    std::snprintf(name, sizeof name, "b%03d", p);
    return name;
}

std::string AircraftListText(int p) {
    std::vector<test::TTestLivery> liveries;
    for (int n = 0; n < LiveriesPerPackage; ++n) {
        const std::string id = PackageDir(p) + "_" + std::to_string(n);
        liveries.push_back({.Airline = "Airline " + id,
                            .Type = "Boeing 737-800",
                            .Designer = "Designer " + std::to_string(n % 7),
                            .Model = "PSS",
                            .Texture = id,
                            .Inclusion = "panel, sound",
                            .Size = 400000 + n * 1024,
                            .Timestamp = "0x" + std::to_string(52000000 + n),
                            .Extra = "title=Boeing 737-800 Airline " + id +
                                     "\r\nsim=b737_800\r\nmodel=\r\npanel=\r\nsound=\r\natc_id=N" +
                                     std::to_string(p * 100 + n) +
                                     "\r\nui_manufacturer=Boeing\r\nui_variation=Airline " + id +
                                     "\r\ndescription=A livery of the collection, painted after photographs.\r\n"});
    }
    return "[Wingharbour]\r\nwh_basetimestamp=1390000000\r\n\r\n" + test::AircraftListText(liveries);
}

// One generated source, and a simulator folder where every tenth livery is installed.
struct TCollection {
    test::TTempDir Root;
    int Packages = 0;

    fs::path Source() const { return Root.Path() / "source"; }
    std::string FSDir() const { return Root / "fs"; }

    explicit TCollection(int packages) : Packages(packages) {
        std::vector<std::string> directories;
        for (int p = 0; p < packages; ++p) {
            directories.push_back(PackageDir(p));
            test::WriteFile(Source() / PackageDir(p) / "aircraft.lst", AircraftListText(p));
            for (int n = 0; n < LiveriesPerPackage; n += 10)
                fs::create_directories(Root.Path() / "fs/aircraft" / PackageDir(p) /
                                       ("texture." + PackageDir(p) + "_" + std::to_string(n)));
        }
        const std::string packagesLst = test::PackagesListText(directories);
        test::WriteFile(Source() / "packages.lst", packagesLst);
        test::BuildZip((Source() / "packages.zip").string(), {{"packages.lst", packagesLst}});
        // The first package's base and some of its liveries, small archives.
        test::BuildZip(
            (Source() / PackageDir(0) / "base.zip").string(),
            {{"aircraft.cfg", "[General]\r\natc_type=Boeing\r\n\r\n"}, {"model/b737.mdl", std::string(4096, 'm')}});
        for (int n = 0; n < InstalledLiveries; ++n) {
            const std::string id = PackageDir(0) + "_" + std::to_string(n);
            test::BuildZip((Source() / PackageDir(0) / (id + ".zip")).string(),
                           {{"texture." + id + "/b737_t.bmp", test::RandomBytes(20000, n)}});
        }
    }
};

// Serves a source folder on 127.0.0.1, answering every request after a delay.
// With keepAlive false every answer closes its connection.
class TDelayedServer {
public:
    TDelayedServer(const fs::path& root, bool keepAlive) {
        httplib::Server& server = FLoopback.Server();
        server.new_task_queue = [] { return new httplib::ThreadPool(64); };
        server.set_keep_alive_max_count(keepAlive ? 100000 : 1);
        // As web servers do: without it a kept-alive connection waits for
        // the client's delayed acknowledgement between header and body.
        server.set_tcp_nodelay(true);
        server.Get("/(.*)", [root](const httplib::Request& req, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(AnswerDelayMs));
            res.set_content(test::ReadFile(root / req.matches[1].str()), "application/octet-stream");
        });
        FLoopback.Start();
    }
    std::string Root() const { return FLoopback.Root() + "/"; }
    std::size_t Connections() {
        std::set<int> ports;
        for (const auto& seen : FLoopback.Seen())
            ports.insert(seen.RemotePort);
        return ports.size();
    }

private:
    test::TLoopbackServer FLoopback;
};

TCollection& Collection(int packages) {
    static std::map<int, std::unique_ptr<TCollection>> collections;
    auto& slot = collections[packages];
    if (!slot)
        slot = std::make_unique<TCollection>(packages);
    return *slot;
}

// The window's list minus widgets: each row keeps its record and its texts.
class TKeepingList : public TWHAircraftList {
public:
    explicit TKeepingList(std::string fsDir) : FFSDir(std::move(fsDir)) {}

    struct TRow {
        std::unique_ptr<TWHAircraft> Aircraft;
        std::array<std::string, 8> Texts;
    };
    std::vector<TRow> Rows;

    // As the window does, the working directory is looked up once per
    // bracket, and the rows' files in one snapshot.
    void BeginUpdate() override {
        FWorkingDir = WorkingDir();
        FSnapshot = std::make_unique<TPathSnapshot>();
    }
    void EndUpdate() override { FSnapshot.reset(); }
    void Clear() override { Rows.clear(); }
    void Add(std::unique_ptr<TWHAircraft> aircraft) override {
        UpdateAircraftState(*aircraft, FFSDir, FWorkingDir, FSnapshot.get());
        auto texts = AircraftRowTexts(*aircraft, ",");
        Rows.push_back({std::move(aircraft), std::move(texts)});
    }

private:
    std::string FFSDir;
    std::string FWorkingDir;
    std::unique_ptr<TPathSnapshot> FSnapshot;
};

// The machine is shared: besides wall time the summary shows the process's
// own processor time, which other load does not inflate.
struct TTimes {
    double Wall = 0;
    double Cpu = 0;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class TStopwatch {
public:
    TTimes Elapsed() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - FWall).count(), CpuSeconds() - FCpu};
    }

private:
    std::chrono::steady_clock::time_point FWall = std::chrono::steady_clock::now();
    double FCpu = CpuSeconds();
};

// Best times per run, by benchmark and package count, for the summary.
std::map<std::string, std::map<int, TTimes>> Best;

void Record(const char* name, int packages, TTimes times) {
    auto [it, fresh] = Best[name].emplace(packages, times);
    if (!fresh) {
        it->second.Wall = std::min(it->second.Wall, times.Wall);
        it->second.Cpu = std::min(it->second.Cpu, times.Cpu);
    }
}

void BM_CopyCatalogueFiles(benchmark::State& state) {
    const int packages = static_cast<int>(state.range(0));
    TCollection& c = Collection(packages);
    const fs::path target = c.Root.Path() / "copy";
    for (auto _ : state) {
        fs::remove_all(target);
        const TStopwatch watch;
        fs::create_directories(target);
        fs::copy_file(c.Source() / "packages.zip", target / "packages.zip");
        for (int p = 0; p < packages; ++p) {
            fs::create_directories(target / PackageDir(p));
            fs::copy_file(c.Source() / PackageDir(p) / "aircraft.lst", target / PackageDir(p) / "aircraft.lst");
        }
        const TTimes times = watch.Elapsed();
        state.SetIterationTime(times.Wall);
        Record("copy", packages, times);
    }
}

// Times whole loads of the collection from source, each into an empty list.
void TimeLoads(benchmark::State& state, TCollection& c, const TWHSourceSettings& source, const char* name) {
    const int packages = static_cast<int>(state.range(0));
    test::TWorkingDirOverride workingDir(c.Root / "appdata");
    test::TRecordingActivity activity;
    for (auto _ : state) {
        activity = test::TRecordingActivity();
        TKeepingList list(c.FSDir());
        const TStopwatch watch;
        ReadCatalogue(activity, source, list, false);
        const TTimes times = watch.Elapsed();
        state.SetIterationTime(times.Wall);
        Record(name, packages, times);
        if (list.Rows.size() != static_cast<std::size_t>(packages * LiveriesPerPackage))
            state.SkipWithError("the load missed liveries");
    }
}

void BM_ReadCatalogue(benchmark::State& state) {
    TCollection& c = Collection(static_cast<int>(state.range(0)));
    TimeLoads(state, c, test::TFakeSource::Local((c.Source() / "packages.lst").string()), "load");
    state.counters["liveries"] = static_cast<double>(state.range(0) * LiveriesPerPackage);
}

void BM_ReadCatalogueOverHttp(benchmark::State& state) {
    TCollection& c = Collection(static_cast<int>(state.range(0)));
    TDelayedServer server(c.Source(), true);
    TimeLoads(state, c, test::TFakeSource::Url(server.Root()), "http load");
    state.counters["connections"] = static_cast<double>(server.Connections());
}

// The install button on the first 20 liveries of the first package: base.zip
// and 20 texture archives fetched, extracted, and their sections written.
void BM_InstallOverHttp(benchmark::State& state) {
    const bool keepAlive = state.range(0) != 0;
    TCollection& c = Collection(200);
    TDelayedServer server(c.Source(), keepAlive);
    test::TWorkingDirOverride workingDir(c.Root / "appdata");
    test::TRecordingActivity activity;
    const auto source = test::TFakeSource::Url(server.Root());
    TKeepingList list(c.FSDir());
    ReadCatalogue(activity, source, list, false);
    TWHInstallOptions options;
    options.WorkingDir = WorkingDir();
    options.FSDir = AppendSeparator(c.Root / "fs-install", '\\');
    const fs::path aircraftFolder = c.Root.Path() / "fs-install/aircraft" / PackageDir(0);
    for (auto _ : state) {
        fs::remove_all(aircraftFolder);
        fs::create_directories(aircraftFolder.parent_path());
        fs::remove(c.Root.Path() / "appdata/Wingharbour" / PackageDir(0) / "base.zip");
        activity = test::TRecordingActivity();
        const TStopwatch watch;
        for (int n = 0; n < InstalledLiveries; ++n)
            InstallAircraft(*list.Rows[n].Aircraft, options, activity, source);
        const TTimes times = watch.Elapsed();
        state.SetIterationTime(times.Wall);
        Record(keepAlive ? "install, kept alive" : "install, closed", InstalledLiveries, times);
    }
    state.counters["connections"] = static_cast<double>(server.Connections());
}

// The per-row part of a load alone: every row's installed state worked out
// again against the simulator folder (one in ten liveries installed), asking
// the disk for each row as outside a load, or a new snapshot per pass as a
// load does.
void BM_UpdateAircraftState(benchmark::State& state) {
    const int packages = static_cast<int>(state.range(0));
    TCollection& c = Collection(packages);
    test::TWorkingDirOverride workingDir(c.Root / "appdata");
    test::TRecordingActivity activity;
    const auto source = test::TFakeSource::Local((c.Source() / "packages.lst").string());
    TKeepingList list(c.FSDir());
    ReadCatalogue(activity, source, list, false);
    const std::string working = WorkingDir();
    const bool snapshots = state.range(1) != 0;
    for (auto _ : state) {
        std::optional<TPathSnapshot> snapshot;
        if (snapshots)
            snapshot.emplace();
        for (auto& row : list.Rows)
            UpdateAircraftState(*row.Aircraft, c.FSDir(), working, snapshot ? &*snapshot : nullptr);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(list.Rows.size()));
}

// The fetch part of a load alone: every package's list copied anew from the
// local source over the cached copy, as a repeated load does.
void BM_FetchAircraftLists(benchmark::State& state) {
    const int packages = static_cast<int>(state.range(0));
    TCollection& c = Collection(packages);
    test::TWorkingDirOverride workingDir(c.Root / "appdata");
    test::TRecordingActivity activity;
    const auto source = test::TFakeSource::Local((c.Source() / "packages.lst").string());
    for (auto _ : state)
        for (int p = 0; p < packages; ++p)
            FetchFile(PackageDir(p) + "\\aircraft.lst", activity, source);
    state.SetItemsProcessed(state.iterations() * packages);
}

BENCHMARK(BM_CopyCatalogueFiles)->Arg(50)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCatalogue)->Arg(50)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCatalogueOverHttp)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallOverHttp)->ArgName("keepalive")->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateAircraftState)
    ->ArgNames({"packages", "snapshot"})
    ->Args({200, 0})
    ->Args({200, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FetchAircraftLists)->Arg(200)->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf("\n                      ------- wall -------------------  ------- processor --------------\n");
    std::printf("packages liveries    copy ms    load ms  ratio us/livery    copy ms    load ms  ratio us/livery\n");
    for (const auto& [packages, load] : Best["load"]) {
        const TTimes copy = Best["copy"][packages];
        const int liveries = packages * LiveriesPerPackage;
        std::printf("%8d %8d %10.2f %10.2f %6.1f %9.1f %10.2f %10.2f %6.1f %9.1f\n", packages, liveries,
                    copy.Wall * 1e3, load.Wall * 1e3, copy.Wall > 0 ? load.Wall / copy.Wall : 0.0,
                    load.Wall * 1e6 / liveries, copy.Cpu * 1e3, load.Cpu * 1e3,
                    copy.Cpu > 0 ? load.Cpu / copy.Cpu : 0.0, load.Cpu * 1e6 / liveries);
    }
    for (const char* name : {"http load", "install, kept alive", "install, closed"})
        for (const auto& [count, times] : Best[name])
            std::printf("%-20s %5d: wall %8.1f ms, processor %8.1f ms\n", name, count, times.Wall * 1e3,
                        times.Cpu * 1e3);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
