// 10,000 liveries (200 packages) loaded into the real window (offscreen) from
// a web server on 127.0.0.1 in this process that answers every request 50 ms
// late, as a server behind a 50 ms round trip would, beside
// `curl --parallel --parallel-max 8` fetching the same files from the same
// server in the same run. Repetitions are interleaved, so that load on the
// machine falls on both; the summary gives the best and the median of each,
// and how many connections each used.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/ActionTimes.h"
#include "bench/support/LargeCollectionWindow.h"
#include "bench/support/WindowBenchMain.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

using namespace wh;
namespace fs = std::filesystem;

constexpr int AnswerDelayMs = 50;

struct TSetup {
    test::TLoopbackServer Server;
    bench::TLargeCollectionWindow Collection{bench::TLargeCollectionWindow::Packages, false};
    std::vector<std::string> Files; // below the source folder, as requested
    std::string CurlCommand;

    TSetup() {
        httplib::Server& server = Server.Server();
        server.set_keep_alive_max_count(100000);
        // As web servers do: without it a kept-alive connection waits for
        // the client's delayed acknowledgement between header and body.
        server.set_tcp_nodelay(true);
        // Connections a finished run keeps alive must not hold up the next run's.
        server.new_task_queue = [] { return new httplib::ThreadPool(64); };
        const fs::path source = Source();
        server.Get("/(.*)", [source](const httplib::Request& req, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(AnswerDelayMs));
            res.set_content(test::ReadFile(source / req.matches[1].str()), "application/octet-stream");
        });
        Server.Start();
        Collection.ServeFrom(Server.Root() + "/");

        Files.push_back("packages.zip");
        for (const auto& entry : fs::directory_iterator(source))
            if (entry.is_directory())
                Files.push_back(entry.path().filename().string() + "/aircraft.lst");
        // -q: no ~/.curlrc, so curl runs with its defaults.
        CurlCommand = "curl -q -s -f --parallel --parallel-max 8 --create-dirs";
        for (const std::string& file : Files)
            CurlCommand += " -o '" + (CurlFolder() / file).string() + "' '" + Server.Root() + "/" + file + "'";
    }

    fs::path Source() const { return Collection.Root.Path() / "source"; }
    fs::path CurlFolder() const { return Collection.Root.Path() / "curl"; }

    bool CurlFetchedAll() const {
        std::error_code ec;
        return std::all_of(Files.begin(), Files.end(), [&](const std::string& file) {
            return fs::file_size(CurlFolder() / file, ec) == fs::file_size(Source() / file);
        });
    }

    // How many connections the requests since the first'th came on.
    std::size_t ConnectionsSince(std::size_t first) {
        const auto seen = Server.Seen();
        std::set<int> ports;
        for (std::size_t i = first; i < seen.size(); ++i)
            ports.insert(seen[i].RemotePort);
        return ports.size();
    }
};

// Made at first use, gone before the application object.
std::unique_ptr<TSetup> TheSetup;
TSetup& Setup() {
    if (!TheSetup)
        TheSetup = std::make_unique<TSetup>();
    return *TheSetup;
}

struct TSamples {
    std::vector<double> Wall;
    std::vector<double> Cpu; // the window's thread, so none for curl
    std::size_t Connections = 0;
};
std::map<std::string, TSamples> Samples;

template <class Action>
bool Timed(benchmark::State& state, const std::string& name, Action action) {
    const std::size_t first = Setup().Server.Seen().size();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    const bool ok = action();
    const double cpu = bench::ThreadCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    if (!ok) {
        state.SkipWithError((name + " failed").c_str());
        return false;
    }
    TSamples& samples = Samples[name];
    samples.Wall.push_back(wall);
    samples.Cpu.push_back(cpu);
    samples.Connections = std::max(samples.Connections, Setup().ConnectionsSince(first));
    return true;
}

void BM_WindowLoad(benchmark::State& state) {
    TSetup& s = Setup();
    for (auto _ : state) {
        state.PauseTiming();
        s.Collection.OpenWindow();
        QApplication::processEvents();
        state.ResumeTiming();
        if (!Timed(state, "window load", [&] {
                s.Collection.Button("btnNext")->click();
                QApplication::processEvents();
                return s.Collection.Loaded();
            }))
            return;
    }
}

void BM_CurlParallel(benchmark::State& state) {
    TSetup& s = Setup();
    for (auto _ : state) {
        fs::remove_all(s.CurlFolder());
        if (!Timed(state, "curl --parallel",
                   [&] { return std::system(s.CurlCommand.c_str()) == 0 && s.CurlFetchedAll(); }))
            return;
    }
}

BENCHMARK(BM_WindowLoad)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlParallel)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void PrintSummary() {
    std::printf("\n%-16s %5s %10s %10s %12s %12s\n", "ms", "runs", "best", "median", "connections", "median cpu");
    for (const auto& [name, s] : Samples) {
        std::printf("%-16s %5zu %10.0f %10.0f %12zu", name.c_str(), s.Wall.size(),
                    *std::min_element(s.Wall.begin(), s.Wall.end()) * 1e3, Median(s.Wall) * 1e3, s.Connections);
        if (name == "window load")
            std::printf(" %12.0f", Median(s.Cpu) * 1e3);
        std::printf("\n");
    }
    if (Samples.size() == 2)
        std::printf("window / curl, medians: %.3f\n",
                    Median(Samples["window load"].Wall) / Median(Samples["curl --parallel"].Wall));
}

} // namespace

int main(int argc, char** argv) {
    // Five interleaved of each by default; flags on the command line come later and win.
    return bench::RunWindowBenchmarks(argc, argv,
                                      {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true"}, [] {
                                          TheSetup.reset();
                                          PrintSummary();
                                      });
}
