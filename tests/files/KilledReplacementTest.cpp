// A process killed with SIGKILL at a random moment of a fetch, a profile write
// or an extraction leaves each target with its old or its new content, whole,
// and at most its own temporary file beside it; the next run that completes
// leaves none. A download killed midway is continued by the next one, which
// still ends with the new content byte for byte.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "archive/Extract.h"
#include "fetch/Fetch.h"
#include "files/ReplacementFile.h"
#include "profile/ProfileStore.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NamedCases.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 6;

enum class TKind { LocalFetch, HttpFetch, HttpResume, ProfileWrite, Extraction };

struct TKillCase {
    const char* Name;
    TKind Kind;
    int Files;        // targets of one run
    std::size_t Size; // bytes of each
};

unsigned Seed() {
    if (const char* given = std::getenv("WH_KILL_SEED"))
        return static_cast<unsigned>(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

// One operation's targets, their old and new content, and the run itself.
class TScene {
public:
    explicit TScene(const TKillCase& c) : FCase(c), FAppData((FTemp.Path() / "appdata").string()) {
        const fs::path working = FTemp.Path() / "appdata" / "Wingharbour";
        fs::create_directories(working);
        const fs::path source = FTemp.Path() / "source";
        FPackageList = (source / "packages.lst").string();
        WriteFile(FPackageList, "[packages]\n");
        for (int i = 0; i < c.Files; ++i) {
            FOld.push_back(RandomBytes(c.Size, 100 + i));
            FNew.push_back(RandomBytes(c.Size, 200 + i));
        }
        switch (c.Kind) {
        case TKind::LocalFetch:
        case TKind::HttpFetch:
        case TKind::HttpResume:
            FFolder = working;
            FNames = {"livery.zip"};
            WriteFile(source / "livery.zip", FNew[0]);
            if (c.Kind == TKind::HttpFetch) {
                FServer.emplace();
                FServer->Server().Get("/files/livery.zip", [this](const httplib::Request&, httplib::Response& res) {
                    res.set_content(FNew[0], "application/octet-stream");
                });
                FServer->Start();
            } else if (c.Kind == TKind::HttpResume) {
                FServed.Body = FNew[0];
                FServed.ETag = "\"new\"";
                FServer.emplace();
                ServeFile(FServer->Server(), "/files/livery.zip", FServed);
                FServer->Start();
            }
            break;
        case TKind::ProfileWrite:
            FFolder = FTemp.Path() / "sim";
            FNames = {"aircraft.cfg"};
            break;
        case TKind::Extraction: {
            FFolder = FTemp.Path() / "sim" / "texture";
            std::vector<TZipEntry> entries;
            for (int i = 0; i < c.Files; ++i) {
                FNames.push_back("t" + std::to_string(i) + ".bmp");
                entries.push_back({FNames.back(), FNew[static_cast<std::size_t>(i)]});
            }
            BuildZip((working / "base.zip").string(), entries);
            break;
        }
        }
        fs::create_directories(FFolder);
    }

    // Called before a fork, so that no server thread is inside the allocator.
    void Quiesce() {
        if (FServer)
            FServer->WaitUntilIdle();
    }

    // Runs in the child.
    void Run() {
        TRecordingActivity activity;
        switch (FCase.Kind) {
        case TKind::LocalFetch:
            FetchFile("livery.zip", activity, TFakeSource::Local(FPackageList));
            break;
        case TKind::HttpFetch:
        case TKind::HttpResume:
            FetchFile("livery.zip", activity, TFakeSource::Url(FServer->Root() + "/files"));
            break;
        case TKind::ProfileWrite:
            SaveProfile((FFolder / FNames[0]).string(), FNew[0]);
            break;
        case TKind::Extraction:
            ExtractArchive("base.zip", FFolder.string(), activity);
            break;
        }
    }

    void PutOldContent() {
        for (std::size_t i = 0; i < FNames.size(); ++i)
            WriteFile(FFolder / FNames[i], FOld[i]);
    }

    // Every target old or new (only new once a run completed), and nothing
    // else in the folder but, after a kill, a target's own temporary file.
    void Check(bool completed, const std::string& when) {
        std::set<std::string> allowed(FNames.begin(), FNames.end());
        for (std::size_t i = 0; i < FNames.size(); ++i) {
            const std::string content = ReadFile(FFolder / FNames[i]);
            if (completed)
                EXPECT_TRUE(content == FNew[i]) << when << ": " << FNames[i] << " is not the new content";
            else
                EXPECT_TRUE(content == FOld[i] || content == FNew[i]) << when << ": " << FNames[i] << " is torn";
            if (!completed)
                allowed.insert(TReplacementFile::TemporaryName(FNames[i]));
        }
        for (const auto& entry : fs::directory_iterator(FFolder))
            EXPECT_TRUE(allowed.count(entry.path().filename().string())) << when << ": " << entry.path().filename();
    }

private:
    const TKillCase& FCase;
    TTempDir FTemp;
    TWorkingDirOverride FAppData;
    std::string FPackageList;
    fs::path FFolder;
    std::vector<std::string> FNames, FOld, FNew;
    TServedFile FServed; // declared before the server, which refers to it
    std::optional<TLoopbackServer> FServer;
};

// Starts the run in a child; kills it after delay unless it ended before.
// Returns whether the kill cut it short.
bool RunInChild(TScene& scene, std::optional<Clock::duration> delay) {
    scene.Quiesce();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            scene.Run();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    if (delay) {
        std::this_thread::sleep_for(*delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!delay) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the uninterrupted run failed";
    }
    return WIFSIGNALED(status);
}

class KilledReplacementTest : public ::testing::TestWithParam<TKillCase> {};

TEST_P(KilledReplacementTest, TargetIsOldOrNewAndTheNextRunLeavesNoTemporaryFile) {
    const TKillCase& c = GetParam();
    const unsigned seed = Seed();
    std::cout << c.Name << ": kill seed " << seed << " (WH_KILL_SEED repeats it)\n";
    std::mt19937 random(seed);
    TScene scene(c);

    scene.PutOldContent();
    const auto start = Clock::now();
    RunInChild(scene, std::nullopt);
    const auto duration = Clock::now() - start;
    scene.Check(true, "first run");

    int cut = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        scene.PutOldContent();
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<long>(
            0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count())(random));
        cut += RunInChild(scene, delay) ? 1 : 0;
        scene.Check(false, "kill " + std::to_string(kill) + " after " + std::to_string(delay.count()) + " us");
    }
    RunInChild(scene, std::nullopt);
    scene.Check(true, "run after the kills");
    EXPECT_GT(cut, 0) << "no kill landed inside a run";
}

INSTANTIATE_TEST_SUITE_P(Operations, KilledReplacementTest,
                         ::testing::Values(TKillCase{"LocalFetch", TKind::LocalFetch, 1, 4 << 20},
                                           TKillCase{"HttpFetch", TKind::HttpFetch, 1, 4 << 20},
                                           TKillCase{"HttpResume", TKind::HttpResume, 1, 4 << 20},
                                           TKillCase{"ProfileWrite", TKind::ProfileWrite, 1, 2 << 20},
                                           TKillCase{"Extraction", TKind::Extraction, 12, 256 << 10}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace wh::test
