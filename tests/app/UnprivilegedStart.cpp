// The built program as an installed one: started by a user who may not write
// beside it, with no home folder of its own, it keeps its settings, log and
// working directory in the XDG folders and loads a collection from there.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "SampleWriter.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

std::string RunCaptured(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return "popen failed";
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        out += buffer;
    ::pclose(pipe);
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

TEST(UnprivilegedStartProcessTest, FilesLandInTheXdgFoldersAndTheSampleLoads) {
    const TSearchableAncestors client(WH_CLIENT_PATH), script(WH_PRESS_NEXT);
    AsUnprivileged([] {
        TTempDir dir;
        const fs::path bin = dir.Path() / "bin";
        fs::create_directories(bin);
        fs::copy_file(WH_CLIENT_PATH, bin / "WingharbourClient");
        fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
        // The machine-wide folder exists but is not ours to write.
        fs::create_directories(dir.Path() / "var" / "lib");
        fs::permissions(dir.Path() / "var" / "lib", fs::perms::owner_read | fs::perms::owner_exec);

        sample::WriteSample(dir.Path() / "sample");
        const std::string config = dir / "xdg/config/Wingharbour/";
        WriteFile(config + "WingharbourClient.ini",
                  "[Welcome]\r\nrbLocalDir=1\r\nrbURL=0\r\nedPackageFile=" + (dir / "sample/source/packages.lst") +
                      "\r\nFSDir=" + (dir / "sample/fs2002") + "\r\ncbZapFiles=0\r\n");

        TScopedEnvironment environment({{"HOME", "/nonexistent"},
                                        {"XDG_CONFIG_HOME", dir / "xdg/config"},
                                        {"XDG_STATE_HOME", dir / "xdg/state"},
                                        {"XDG_DATA_HOME", dir / "xdg/data"},
                                        {"XDG_RUNTIME_DIR", std::nullopt},
                                        {"WINGHARBOUR_COMMON_APPDATA", dir / "var/lib"}});
        const std::string workingDir = dir / "xdg/data/Wingharbour/";
        const std::string result = RunCaptured(Quoted(WH_WITH_DISPLAY) + " " + Quoted(WH_PRESS_NEXT) + " " +
                                               Quoted((bin / "WingharbourClient").string()) + " " +
                                               Quoted(workingDir + "packages.lst") + " 2>&1");
        EXPECT_EQ(result, "exit 0");

        struct TLanding {
            const char* Name;
            std::string Path;
            std::string Holds; // a line the file must hold
        };
        const TLanding landings[] = {
            {"settings", config + "WingharbourClient.ini", "cbFakeManufacturer=0"},
            {"log", dir / "xdg/state/Wingharbour/WingharbourClient.LOG", "Status: copied 'packages.zip'"},
            {"catalogue", workingDir + "packages.lst", "directory="},
        };
        for (const TLanding& landing : landings) {
            SCOPED_TRACE(landing.Name);
            ASSERT_TRUE(fs::is_regular_file(landing.Path)) << landing.Path;
            EXPECT_NE(ReadFile(landing.Path).find(landing.Holds), std::string::npos) << ReadFile(landing.Path);
        }
        const std::string log = ReadFile(dir / "xdg/state/Wingharbour/WingharbourClient.LOG");
        EXPECT_EQ(log.rfind("Flag         : ", 0), 0u) << "the version lines come first";
        EXPECT_EQ(std::distance(fs::directory_iterator(bin), fs::directory_iterator()), 1);
        EXPECT_TRUE(fs::is_empty(dir.Path() / "var" / "lib"));
        fs::permissions(bin, fs::perms::owner_all);
        fs::permissions(dir.Path() / "var" / "lib", fs::perms::owner_all);
    });
}

} // namespace
} // namespace wh::test
