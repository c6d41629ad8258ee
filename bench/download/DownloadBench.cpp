// Times DownloadURL against the curl command line fetching the same 200 MB
// file from a server on 127.0.0.1 in this process, and prints the ratio of
// their times (below 1: DownloadURL is faster).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "activity/Activity.h"
#include "fetch/DownloadURL.h"
#include "fetch/Fetch.h"
#include "tests/support/LoopbackServer.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t FileSize = 200u * 1024 * 1024;

class TQuietActivity : public wh::TWHActivity {
public:
    void LogLine(const std::string&) override {}
    void SetStatus(const std::string&) override { StepProgress(); }
    void ShowProgress() override { StepProgress(); }
    void StepProgress() override { benchmark::DoNotOptimize(++Steps); }
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void HideProgress() override {}
    void ClearStatus() override {}
    long Steps = 0;
};

struct TBenchSetup {
    wh::test::TLoopbackServer Server;
    std::string Body;
    std::string Url;
    fs::path Folder;

    TBenchSetup() {
        Body.resize(FileSize);
        std::uint32_t x = 2463534242u;
        for (char& c : Body) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<char>(x);
        }
        Server.Server().Get("/big.bin", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(Body.size(), "application/octet-stream",
                                     [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                         sink.write(Body.data() + offset, std::min<std::size_t>(length, 1 << 20));
                                         return true;
                                     });
        });
        Server.Start();
        Url = Server.Root() + "/big.bin";
        std::string pattern = (fs::temp_directory_path() / "wh-download-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        Folder = pattern;
    }

    ~TBenchSetup() {
        std::error_code ec;
        fs::remove_all(Folder, ec);
    }
};

TBenchSetup* Setup = nullptr;

bool WholeFileArrived(const fs::path& file) {
    std::error_code ec;
    return fs::file_size(file, ec) == FileSize && !ec;
}

void BM_DownloadURL(benchmark::State& state) {
    const fs::path destination = Setup->Folder / "by-download-url.bin";
    TQuietActivity activity;
    for (auto _ : state) {
        if (!wh::DownloadURL(Setup->Url, destination.string(), activity) || !WholeFileArrived(destination)) {
            state.SkipWithError("download failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize));
}

void BM_CurlCommand(benchmark::State& state) {
    const fs::path destination = Setup->Folder / "by-curl.bin";
    // -q: no ~/.curlrc, so both sides run with curl's defaults.
    const std::string command = "curl -q -s -o '" + destination.string() + "' '" + Setup->Url + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0 || !WholeFileArrived(destination)) {
            state.SkipWithError("curl failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize));
}

BENCHMARK(BM_DownloadURL)->Iterations(5)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CurlCommand)->Iterations(5)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the best mean of each benchmark's repetitions for the closing ratio.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            const double time = run.GetAdjustedRealTime();
            auto [it, inserted] = Best.emplace(name, time);
            if (!inserted)
                it->second = std::min(it->second, time);
        }
    }
    std::map<std::string, double> Best;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TBenchSetup setup;
    Setup = &setup;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.Best.find("BM_DownloadURL");
    const auto curl = reporter.Best.find("BM_CurlCommand");
    if (ours != reporter.Best.end() && curl != reporter.Best.end())
        std::printf("DownloadURL / curl (best of each): %.3f\n", ours->second / curl->second);
    benchmark::Shutdown();
    Setup = nullptr;
    return 0;
}
