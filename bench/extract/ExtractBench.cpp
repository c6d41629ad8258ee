// Extraction speed of ExtractArchive against the unzip command on the same
// archive: a deflated archive of a few thousand files, each extracted into a
// fresh folder. Prints the ratio of the two at the end.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "activity/Activity.h"
#include "archive/Extract.h"
#include "files/WorkingDir.h"
#include "platform/Paths.h"
#include "tests/support/ZipBuilder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 40;
constexpr int kFiles = 3000;
constexpr std::size_t kArchiveTarget = 100u * 1024 * 1024;

class TQuietActivity : public wh::TWHActivity {
public:
    void LogLine(const std::string&) override {}
    void SetStatus(const std::string&) override {}
    void ShowProgress() override {}
    void StepProgress() override {}
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void HideProgress() override {}
    void ClearStatus() override {}
};

// Half random bytes, half text: deflate gets about 1.9:1, like textures do.
std::string MakeContent(std::size_t size, std::mt19937& random) {
    std::string data(size, '\0');
    static const char kText[] = "fltsim texture livery panel model sound ";
    for (std::size_t i = 0; i < size; i += 64) {
        const std::size_t n = std::min<std::size_t>(64, size - i);
        if (random() & 1)
            for (std::size_t k = 0; k < n; ++k)
                data[i + k] = static_cast<char>(random());
        else
            for (std::size_t k = 0; k < n; ++k)
                data[i + k] = kText[(i + k) % (sizeof kText - 1)];
    }
    return data;
}

struct TFixture {
    fs::path Root;
    std::string ArchiveName = "bench.zip";
    fs::path ArchivePath;
    std::size_t Uncompressed = 0;
    int Runs = 0;

    TFixture() {
        Root = fs::temp_directory_path() / ("extract-bench-" + std::to_string(::getpid()));
        fs::create_directories(Root / "appdata");
        wh::OverrideCommonAppDataFolder((Root / "appdata").string());
        ArchivePath = wh::OsPath(wh::WorkingDir() + ArchiveName);

        std::mt19937 random(42);
        // Sizes vary around the mean so that the archive comes to about its target.
        const std::size_t mean = kArchiveTarget * 19 / 10 / kFiles;
        std::vector<wh::test::TZipEntry> entries;
        for (int i = 0; i < kFiles; ++i) {
            const std::size_t size = mean / 2 + random() % mean;
            const std::string name = "folder" + std::to_string(i % kFolders) + "/file" + std::to_string(i) + ".bmp";
            entries.push_back({name, MakeContent(size, random)});
            Uncompressed += size;
        }
        wh::test::BuildZip(ArchivePath.string(), entries);
    }
    ~TFixture() {
        std::error_code ec;
        fs::remove_all(Root, ec);
        wh::OverrideCommonAppDataFolder("");
    }

    fs::path FreshTarget() {
        const fs::path target = Root / ("out" + std::to_string(Runs++));
        fs::remove_all(target);
        return target;
    }
};

TFixture* GFixture = nullptr;
double GOurs = 0, GTheirs = 0;

void Report(benchmark::State& state) {
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(GFixture->Uncompressed) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void BM_unzip(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path target = GFixture->FreshTarget();
        const std::string command = "unzip -o -q '" + GFixture->ArchivePath.string() + "' -d '" + target.string() + "'";
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("unzip failed");
        GTheirs += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
    }
    Report(state);
}

void BM_ExtractArchive(benchmark::State& state) {
    TQuietActivity activity;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path target = GFixture->FreshTarget();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        wh::ExtractArchive(GFixture->ArchiveName, target.string(), activity);
        GOurs += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
    }
    Report(state);
}

BENCHMARK(BM_unzip)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractArchive)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TFixture fixture;
    GFixture = &fixture;
    std::printf("archive: %d files, %.1f MB deflated, %.1f MB extracted\n", kFiles,
                static_cast<double>(fs::file_size(fixture.ArchivePath)) / 1e6,
                static_cast<double>(fixture.Uncompressed) / 1e6);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (GTheirs > 0)
        std::printf("ExtractArchive / unzip time: %.2f\n", GOurs / GTheirs);
    return 0;
}
