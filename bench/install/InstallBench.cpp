// One livery whose texture archive is about 200 MB, installed with the Fetch
// button of the real window (offscreen) from a server on 127.0.0.1 in this
// process, beside `curl -o` and `unzip -o -q` of the same archive in the same
// run. Repetitions of the three are interleaved, so that load on the machine
// falls on all of them; the summary gives the best and the median of each and
// the ratio install / (curl + unzip).

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/WingharbourClientMain.h"
#include "bench/support/WindowBenchMain.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/CatalogueText.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using namespace wh;
namespace fs = std::filesystem;

constexpr const char* Package = "bench_b738";
constexpr const char* Texture = "bench_heavy";
constexpr int TextureFiles = 16;
constexpr std::size_t TextureFileSize = 14u << 20; // 224 MiB in all; deflate leaves about 200 MiB

// Mostly noise, one 64-byte run of text in eight: compressed textures barely
// shrink, so the archive stays about as large as its content.
std::string TextureContent(std::size_t size, std::uint64_t seed) {
    static const char Text[] = "fltsim texture livery panel model sound gauge ";
    std::string data(size, '\0');
    std::uint64_t x = seed * 0x9E3779B97F4A7C15u + 1;
    for (std::size_t i = 0; i < size; i += 64) {
        const std::size_t n = std::min<std::size_t>(64, size - i);
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        if ((x & 7) == 0) {
            for (std::size_t k = 0; k < n; ++k)
                data[i + k] = Text[(i + k) % (sizeof Text - 1)];
            continue;
        }
        for (std::size_t k = 0; k < n; k += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            for (std::size_t b = 0; b < 8 && k + b < n; ++b)
                data[i + k + b] = static_cast<char>(x >> (8 * b));
        }
    }
    return data;
}

struct TSetup {
    test::TTempDir Root;
    std::unique_ptr<test::TWorkingDirOverride> WorkingDir;
    test::TLoopbackServer Server;
    std::map<std::string, std::string> Files; // served, by request path
    std::string TextureURL;
    std::size_t ArchiveSize = 0;
    std::unique_ptr<test::TDialogAnswers> Boxes;
    std::unique_ptr<TfmWingharbourClientMain> Window;

    TSetup() {
        WorkingDir = std::make_unique<test::TWorkingDirOverride>(Root / "appdata");
        BuildSource();
        Server.Server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            const auto file = Files.find(req.path);
            if (file == Files.end()) {
                res.status = 404;
                return;
            }
            const std::string& body = file->second;
            res.set_content_provider(body.size(), "application/octet-stream",
                                     [&body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                         return sink.write(body.data() + offset,
                                                           std::min<std::size_t>(length, 1 << 20));
                                     });
        });
        Server.Start();
        TextureURL = Server.Root() + "/" + Package + "/" + Texture + ".zip";

        fs::create_directories(Root.Path() / "fs/aircraft");
        test::WriteFile(Root.Path() / "program/WingharbourClient.ini",
                        "[Welcome]\r\nrbLocalDir=0\r\nrbURL=1\r\nedURL=" + Server.Root() +
                            "/\r\nFSDir=" + (Root / "fs") + "\r\ncbZapFiles=1\r\ncbFakeManufacturer=0\r\n");
        Boxes = std::make_unique<test::TDialogAnswers>();
        TMainOptions options;
        options.ProgramPath = Root / "program/WingharbourClient";
        options.OpenURL = [](const std::string&) {};
        Window = std::make_unique<TfmWingharbourClientMain>(std::move(options));
        Window->show();
        Window->findChild<QPushButton*>("btnNext")->click();
    }

    // The collection in memory: a catalogue of one livery, a small base and
    // the large texture archive, each built once as a file and then read.
    void BuildSource() {
        const fs::path source = Root.Path() / "source";
        const std::string dir = Package;
        std::vector<test::TZipEntry> texture{{"texture." + std::string(Texture) + "/", ""}};
        for (int n = 0; n < TextureFiles; ++n)
            texture.push_back({"texture." + std::string(Texture) + "/panel" + std::to_string(n) + ".bmp",
                               TextureContent(TextureFileSize, static_cast<std::uint64_t>(n) + 1)});
        texture.push_back(
            {"texture." + std::string(Texture) + "/texture.cfg", "[fltsim]\r\nfallback.1=..\\texture\r\n"});
        fs::create_directories(source / dir);
        test::BuildZip((source / dir / (std::string(Texture) + ".zip")).string(), texture);
        texture.clear();
        test::BuildZip((source / dir / "base.zip").string(),
                       {{"aircraft.cfg", "[fltsim.0]\r\ntitle=Bench 737-800\r\nsim=b738\r\ntexture=\r\n\r\n"
                                         "[General]\r\natc_type=BOEING\r\n"},
                        {"model/b738.mdl", test::RandomBytes(64 * 1024, 7)}});
        const std::string archive = test::ReadFile(source / dir / (std::string(Texture) + ".zip"));
        ArchiveSize = archive.size();
        const std::string aircraftLst = test::LiverySection(0, {.Airline = "Bench Air",
                                                                .Type = "B737-800",
                                                                .Designer = "B. Encher",
                                                                .Model = "PSS",
                                                                .Texture = Texture,
                                                                .Size = static_cast<long>(ArchiveSize),
                                                                .Extra = "title=Bench 737-800 Heavy\r\nsim=b738\r\n"});
        const std::string packagesLst = test::PackagesListText({dir});
        test::BuildZip((source / "packages.zip").string(), {{"packages.lst", packagesLst}});
        Files["/packages.zip"] = test::ReadFile(source / "packages.zip");
        Files["/" + dir + "/aircraft.lst"] = aircraftLst;
        Files["/" + dir + "/base.zip"] = test::ReadFile(source / dir / "base.zip");
        Files["/" + dir + "/" + Texture + ".zip"] = archive;
    }

    bool OneRow() const { return test::ListRowCount(*Window) == 1; }

    // Every round installs from nothing: no aircraft folder, no cached
    // archives, the row new and ticked.
    bool PrepareInstall() {
        if (!OneRow())
            return false;
        fs::remove_all(Root.Path() / "fs/aircraft" / Package);
        const fs::path work = Root.Path() / "appdata/Wingharbour" / Package;
        fs::remove(work / "base.zip");
        fs::remove(work / (std::string(Texture) + ".zip"));
        Window->RefreshAircraftRow(0);
        test::SetListChecked(*Window, 0, true);
        return test::ListText(*Window, 0, 2) == "new";
    }

    bool Installed() const {
        const fs::path panel = Root.Path() / "fs/aircraft" / Package / ("texture." + std::string(Texture)) /
                               ("panel" + std::to_string(TextureFiles - 1) + ".bmp");
        std::error_code ec;
        return OneRow() && test::ListText(*Window, 0, 3) == "yes" && !test::ListChecked(*Window, 0) &&
               Boxes->Boxes.empty() && fs::file_size(panel, ec) == TextureFileSize;
    }
};

// Made at first use, gone before the application object.
std::unique_ptr<TSetup> TheSetup;
TSetup& Setup() {
    if (!TheSetup)
        TheSetup = std::make_unique<TSetup>();
    return *TheSetup;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct TSamples {
    std::vector<double> Wall;
    std::vector<double> Cpu; // this thread's; the command lines run in children
};
std::map<std::string, TSamples> Samples;

template <class Action>
bool Timed(benchmark::State& state, const std::string& name, Action action) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    const bool ok = action();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    if (!ok) {
        state.SkipWithError((name + " failed").c_str());
        return false;
    }
    Samples[name].Wall.push_back(wall);
    Samples[name].Cpu.push_back(cpu);
    return true;
}

void BM_InstallInWindow(benchmark::State& state) {
    TSetup& s = Setup();
    auto* install = s.Window->findChild<QPushButton*>("btnInstall");
    for (auto _ : state) {
        if (!s.PrepareInstall()) {
            state.SkipWithError("the livery does not show as new");
            return;
        }
        if (!Timed(state, "install", [&] {
                install->click();
                return s.Installed();
            }))
            return;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.ArchiveSize));
}

void BM_CurlDownload(benchmark::State& state) {
    TSetup& s = Setup();
    const fs::path file = s.Root.Path() / "curl" / "archive.zip";
    fs::create_directories(file.parent_path());
    // -q: no ~/.curlrc, so curl runs with its defaults.
    const std::string command = "curl -q -s -o '" + file.string() + "' '" + s.TextureURL + "'";
    for (auto _ : state) {
        fs::remove(file);
        if (!Timed(state, "curl -o", [&] {
                std::error_code ec;
                return std::system(command.c_str()) == 0 && fs::file_size(file, ec) == s.ArchiveSize;
            }))
            return;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.ArchiveSize));
}

void BM_UnzipExtract(benchmark::State& state) {
    TSetup& s = Setup();
    const fs::path archive = s.Root.Path() / "unzip" / "archive.zip";
    const fs::path target = s.Root.Path() / "unzip" / "out";
    fs::create_directories(archive.parent_path());
    test::WriteFile(archive, s.Files["/" + std::string(Package) + "/" + Texture + ".zip"]);
    const std::string command = "unzip -o -q '" + archive.string() + "' -d '" + target.string() + "'";
    for (auto _ : state) {
        fs::remove_all(target);
        if (!Timed(state, "unzip -o -q", [&] { return std::system(command.c_str()) == 0; }))
            return;
    }
}

BENCHMARK(BM_InstallInWindow)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlDownload)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnzipExtract)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void PrintSummary(std::size_t archiveSize) {
    for (const char* name : {"install", "curl -o", "unzip -o -q"})
        if (Samples[name].Wall.empty()) {
            std::printf("\nno summary: '%s' has no successful run\n", name);
            return;
        }
    std::printf("\ntexture archive: %.1f MB\n", static_cast<double>(archiveSize) / 1e6);
    std::printf("%-14s %10s %12s %14s\n", "", "best ms", "median ms", "best cpu ms");
    for (const char* name : {"install", "curl -o", "unzip -o -q"}) {
        const TSamples& s = Samples[name];
        std::printf("%-14s %10.0f %12.0f %14.0f\n", name, Best(s.Wall) * 1e3, Median(s.Wall) * 1e3, Best(s.Cpu) * 1e3);
    }
    const auto ratio = [](double (*pick)(std::vector<double>)) {
        return pick(Samples["install"].Wall) / (pick(Samples["curl -o"].Wall) + pick(Samples["unzip -o -q"].Wall));
    };
    std::printf("install / (curl + unzip): %.3f best, %.3f median\n",
                ratio([](std::vector<double> v) { return Best(v); }), ratio(Median));
}

} // namespace

int main(int argc, char** argv) {
    // Interleaved by default; a flag given on the command line comes later and wins.
    return wh::bench::RunWindowBenchmarks(argc, argv, {"--benchmark_enable_random_interleaving=true"}, [] {
        const std::size_t archiveSize = TheSetup ? TheSetup->ArchiveSize : 0;
        TheSetup.reset();
        PrintSummary(archiveSize);
    });
}
