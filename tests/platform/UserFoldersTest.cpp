#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/AsUnprivileged.h"
#include "tests/support/NamedCases.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TUserFolder;
using wh::test::PrintTo;
using wh::test::TScopedEnvironment;
using wh::test::TTempDir;
namespace fs = std::filesystem;

struct TUserFolderCase {
    const char* Name;
    TUserFolder Folder;
    const char* Variable;
    std::optional<std::string> Value;
    std::optional<std::string> Home;
    std::string Expected;
};

class UserFolderTest : public ::testing::TestWithParam<TUserFolderCase> {};

TEST_P(UserFolderTest, VariableElseBelowHome) {
    const TUserFolderCase& c = GetParam();
    TScopedEnvironment environment({{"XDG_CONFIG_HOME", std::nullopt},
                                    {"XDG_STATE_HOME", std::nullopt},
                                    {"XDG_DATA_HOME", std::nullopt},
                                    {c.Variable, c.Value},
                                    {"HOME", c.Home}});
    EXPECT_EQ(wh::UserFolder(c.Folder), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserFolderTest,
    ::testing::Values(
        TUserFolderCase{"ConfigFromVariable", TUserFolder::Config, "XDG_CONFIG_HOME", "/x/conf", "/home/u", "/x/conf/"},
        TUserFolderCase{"StateFromVariable", TUserFolder::State, "XDG_STATE_HOME", "/x/state/", "/home/u", "/x/state/"},
        TUserFolderCase{"DataFromVariable", TUserFolder::Data, "XDG_DATA_HOME", "/x/data", "/home/u", "/x/data/"},
        TUserFolderCase{"ConfigBelowHome", TUserFolder::Config, "XDG_CONFIG_HOME", std::nullopt, "/home/u",
                        "/home/u/.config/"},
        TUserFolderCase{"StateBelowHome", TUserFolder::State, "XDG_STATE_HOME", "", "/home/u/",
                        "/home/u/.local/state/"},
        TUserFolderCase{"RelativeVariableIgnored", TUserFolder::Data, "XDG_DATA_HOME", "data", "/home/u",
                        "/home/u/.local/share/"},
        TUserFolderCase{"NoAbsoluteHome", TUserFolder::Data, "XDG_DATA_HOME", std::nullopt, "home", ""},
        TUserFolderCase{"NothingSet", TUserFolder::Config, "XDG_CONFIG_HOME", std::nullopt, std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TProgramFilesCase {
    const char* Name;
    bool ProgramFolderWritable;
};

class ProgramFilesTest : public ::testing::TestWithParam<TProgramFilesCase> {};

// Run as the unprivileged user so that a read-only folder holds back as it
// holds back any user.
TEST_P(ProgramFilesTest, BesideAWritableProgramElseInTheUserFolders) {
    const TProgramFilesCase& c = GetParam();
    wh::test::AsUnprivileged([&] {
        TTempDir dir;
        fs::create_directories(dir.Path() / "bin");
        wh::test::WriteFile(dir.Path() / "bin" / "WingharbourClient", "");
        if (!c.ProgramFolderWritable)
            fs::permissions(dir.Path() / "bin", fs::perms::owner_read | fs::perms::owner_exec);
        TScopedEnvironment environment(
            {{"XDG_CONFIG_HOME", dir / "conf"}, {"XDG_STATE_HOME", dir / "state"}, {"HOME", "/nonexistent"}});
        const wh::TProgramFiles files = wh::ProgramFiles(dir / "bin/WingharbourClient");
        EXPECT_EQ(files.BesideProgram, c.ProgramFolderWritable);
        const std::string settingsDir = c.ProgramFolderWritable ? dir / "bin/" : dir / "conf/Wingharbour/";
        const std::string logDir = c.ProgramFolderWritable ? dir / "bin/" : dir / "state/Wingharbour/";
        EXPECT_EQ(files.Settings, settingsDir + "WingharbourClient.ini");
        EXPECT_EQ(files.Log, logDir + "WingharbourClient.LOG");
        EXPECT_TRUE(fs::is_directory(settingsDir));
        EXPECT_TRUE(fs::is_directory(logDir));
        EXPECT_EQ(fs::exists(dir.Path() / "conf"), !c.ProgramFolderWritable);
        fs::permissions(dir.Path() / "bin", fs::perms::owner_all);
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramFilesTest,
                         ::testing::Values(TProgramFilesCase{"WritableProgramFolder", true},
                                           TProgramFilesCase{"ReadOnlyProgramFolder", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
