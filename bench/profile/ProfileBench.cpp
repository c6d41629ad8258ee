// Reading a large catalogue-sized profile file key by key.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "profile/IniFiles.h"

namespace {

constexpr int kSections = 5000;
constexpr int kKeys = 10;

std::string KeyName(int k) { return "wh_key" + std::to_string(k); }

std::string SectionName(int s) { return "fltsim." + std::to_string(s); }

std::string Content(int variant) {
    std::string text;
    for (int s = 0; s < kSections; ++s) {
        text += "[" + SectionName(s) + "]\r\n";
        for (int k = 0; k < kKeys; ++k)
            text += KeyName(k) + "=value " + std::to_string(s * kKeys + k + variant) + "\r\n";
        text += "\r\n";
    }
    return text;
}

// A 5,000-section file in a folder of its own, last written a minute ago.
class TBenchFile {
public:
    TBenchFile() {
        std::string folder = (std::filesystem::temp_directory_path() / "profile-bench-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            std::abort();
        FFolder = folder;
        Write(0);
        Age();
    }
    ~TBenchFile() {
        std::error_code ec;
        std::filesystem::remove_all(FFolder, ec);
    }
    std::string Path() const { return (FFolder / "aircraft.lst").string(); }
    void Write(int variant) const { std::ofstream(Path(), std::ios::binary | std::ios::trunc) << Content(variant); }
    void Age() const {
        std::filesystem::last_write_time(Path(),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
    }

private:
    std::filesystem::path FFolder;
};

const TBenchFile& File() {
    static const TBenchFile file;
    return file;
}

void ReadAll(benchmark::State& state, bool objectPerSection) {
    const std::string path = File().Path();
    for (auto _ : state) {
        wh::TIniFile shared(path);
        for (int s = 0; s < kSections; ++s) {
            wh::TIniFile own(path);
            const wh::TIniFile& ini = objectPerSection ? own : shared;
            for (int k = 0; k < kKeys; ++k)
                benchmark::DoNotOptimize(ini.ReadString(SectionName(s), KeyName(k), ""));
        }
    }
    state.SetItemsProcessed(state.iterations() * kSections * kKeys);
}

void BM_EveryKeyObjectPerSection(benchmark::State& state) { ReadAll(state, true); }
void BM_EveryKeyOneObject(benchmark::State& state) { ReadAll(state, false); }

// The first read after another program rewrote the file: read and parse anew.
void BM_FirstReadAfterChange(benchmark::State& state) {
    const TBenchFile& file = File();
    int variant = 0;
    for (auto _ : state) {
        state.PauseTiming();
        file.Write(++variant % 2);
        file.Age();
        state.ResumeTiming();
        benchmark::DoNotOptimize(wh::TIniFile(file.Path()).ReadString("fltsim.4999", KeyName(9), ""));
    }
    state.SetItemsProcessed(state.iterations());
    file.Write(0);
    file.Age();
}

// Every key of a file written just now: until one tick of the file-system
// clock has passed since its last write the store checks the content at each
// call.
void BM_EveryKeyRightAfterWrite(benchmark::State& state) {
    const TBenchFile& file = File();
    for (auto _ : state) {
        state.PauseTiming();
        file.Write(0);
        state.ResumeTiming();
        for (int s = 0; s < kSections; ++s) {
            wh::TIniFile ini(file.Path());
            for (int k = 0; k < kKeys; ++k)
                benchmark::DoNotOptimize(ini.ReadString(SectionName(s), KeyName(k), ""));
        }
    }
    state.SetItemsProcessed(state.iterations() * kSections * kKeys);
    file.Age();
}

} // namespace

BENCHMARK(BM_EveryKeyObjectPerSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EveryKeyOneObject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstReadAfterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EveryKeyRightAfterWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
