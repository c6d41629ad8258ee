// The built wingharbour as a script runs it: a copy of its own with the
// client's settings file beside it, the sample collection served on
// 127.0.0.1, the working directory and the XDG folders in a temporary folder.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "SampleWriter.h"
#include "install/Deinstaller.h"
#include "install/MessageRules.h"
#include "platform/FileTimes.h"
#include "platform/SingleInstance.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NamedCases.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string Command(const std::string& program, const std::vector<std::string>& arguments) {
    std::string command = Quoted(program);
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    return command;
}

TRun RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& dir) {
    const std::string command =
        Command(program, arguments) + " </dev/null >" + Quoted(dir + "out") + " 2>" + Quoted(dir + "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir + "out"), ReadFile(dir + "err")};
}

// The Livery column of each listed line, checking that each has the list's eight columns.
std::vector<std::string> Liveries(const TRun& run) {
    std::vector<std::string> liveries;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
        liveries.push_back(line.substr(0, line.find('\t')));
    }
    return liveries;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class WingharbourProcessTest : public testing::Test {
protected:
    WingharbourProcessTest() {
        Summary = sample::WriteSample(Dir.Path() / "sample");
        fs::create_directories(Dir.Path() / "appdata/Wingharbour");
        fs::create_directories(Dir.Path() / "bin");
        fs::copy_file(WH_CLI_PATH, Program());
        Server.Server().set_mount_point("/", Dir / "sample/source");
        Server.Start();
        WriteFile(Settings(),
                  "[Welcome]\r\nrbURL=1\r\nedURL=" + Server.Root() + "/\r\nFSDir=" + (Dir / "sample/fs2002") + "\r\n");
    }

    std::string Program() const { return Dir / "bin/wingharbour"; }
    std::string Settings() const { return Dir / "bin/WingharbourClient.ini"; }
    std::string Source(const std::string& name) const { return Dir / ("sample/source/" + name); }
    TRun Run(const std::vector<std::string>& arguments) const { return RunProgram(Program(), arguments, Dir.Dir()); }

    void Replace(const std::string& file, const std::regex& pattern, const std::string& by) const {
        WriteFile(file, std::regex_replace(ReadFile(file), pattern, by));
    }

    TTempDir Dir;
    TScopedEnvironment Environment{{{"WINGHARBOUR_COMMON_APPDATA", Dir / "appdata"},
                                    {"XDG_CONFIG_HOME", Dir / "xdg/config"},
                                    {"XDG_STATE_HOME", Dir / "xdg/state"},
                                    {"XDG_DATA_HOME", Dir / "xdg/data"},
                                    {"HOME", Dir.Dir()},
                                    {"LC_ALL", "C.UTF-8"}}};
    TLoopbackServer Server;
    sample::TSampleSummary Summary;
};

TEST_F(WingharbourProcessTest, ListsWhatEachFilterShowsInTheListsOrder) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Arguments;
        int Rows;
        std::string First;
    };
    const int released = Summary.Liveries - Summary.Pending;
    const TCase cases[] = {
        {"every livery", {"list"}, Summary.Liveries, "Ambercrest Airlines"},
        {"new ones", {"list", "--new"}, released, "Ambercrest Airlines"},
        {"none installed yet", {"list", "--installed"}, 0, ""},
        {"none updated yet", {"list", "--updated"}, 0, ""},
        {"the filter drops accents", {"list", "--filter", "AERO"}, 1, "A\xC3\xA9ro Solvard"},
        {"filter and state together", {"list", "--new", "--filter", "Dash 8-400"}, 4, "Cindervale Airways"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = Run(c.Arguments);
        EXPECT_EQ(run.Status, 0) << run.Err;
        const std::vector<std::string> liveries = Liveries(run);
        ASSERT_EQ(static_cast<int>(liveries.size()), c.Rows) << run.Out;
        if (c.Rows > 0) {
            EXPECT_EQ(liveries.front(), c.First);
        }
        EXPECT_TRUE(std::is_sorted(liveries.begin(), liveries.end(),
                                   [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); }));
    }
    EXPECT_EQ(
        Run({"list", "--json", "--filter", "solvard"}).Out,
        "[\n  {\"livery\": \"A\xC3\xA9ro Solvard\", \"type\": \"E190\", \"status\": \"new\", \"installed\": \"no\", "
        "\"designer\": \"Rafael Ostrander\", \"model\": \"Swift\", \"size\": \"9KB\", \"included\": \"textures\", "
        "\"directory\": \"wh_e190\", \"texture\": \"e190_solvard\"}\n]\n");
    EXPECT_EQ(Run({"list", "--json", "--filter", "no such text"}).Out, "[]\n");
}

TEST_F(WingharbourProcessTest, InstallsTwoUpdatesWhatTheCollectionChangedAndRemoves) {
    const std::string settings = ReadFile(Settings());
    const TRun install = Run({"install", "a320_coralbay", "Kestrel Express", "--log", Dir / "log.txt"});
    ASSERT_EQ(install.Status, 0) << install.Err;
    EXPECT_NE(install.Err.find("1 of 2 \xC2\xB7 Coral Bay Air\n"), std::string::npos) << install.Err;
    EXPECT_NE(install.Err.find("2 of 2 \xC2\xB7 Kestrel Express\n"), std::string::npos);
    EXPECT_EQ(install.Err.find_first_of("\r\x1b"), std::string::npos) << "control characters off a terminal";
    EXPECT_NE(ReadFile(Dir / "log.txt").find("Status: connecting to fetch file 'wh_a320\\a320_coralbay.zip'."),
              std::string::npos);
    EXPECT_EQ(Liveries(Run({"list", "--installed"})), (std::vector<std::string>{"Coral Bay Air", "Kestrel Express"}));
    EXPECT_NE(ReadFile(Dir / "sample/fs2002/aircraft/wh_a320/aircraft.cfg").find("texture=a320_coralbay"),
              std::string::npos);

    // Installed yesterday; the collection has changed the A320's liveries since.
    const std::string copy = Dir / "appdata/Wingharbour/wh_a320/a320_coralbay.zip";
    fs::last_write_time(copy, fs::last_write_time(copy) - std::chrono::hours(24));
    const std::string changed = std::to_string(PackedFromTime(std::time(nullptr) - 3600));
    Replace(Source("wh_a320/aircraft.lst"), std::regex("wh_archivetimestamp=\\d+"), "wh_archivetimestamp=" + changed);
    EXPECT_EQ(Liveries(Run({"list", "--updated"})), std::vector<std::string>{"Coral Bay Air"});
    const TRun update = Run({"update"});
    EXPECT_EQ(update.Status, 0) << update.Err;
    EXPECT_NE(update.Err.find("1 of 1 \xC2\xB7 Coral Bay Air\n"), std::string::npos) << update.Err;
    EXPECT_EQ(Liveries(Run({"list", "--updated"})), std::vector<std::string>{});

    const TRun remove = Run({"remove", "--yes", "coral bay air"});
    EXPECT_EQ(remove.Status, 0) << remove.Err;
    EXPECT_EQ(Liveries(Run({"list", "--installed"})), std::vector<std::string>{"Kestrel Express"});
    EXPECT_FALSE(fs::exists(Dir / "sample/fs2002/aircraft/wh_a320/texture.a320_coralbay"));
    EXPECT_EQ(ReadFile(Settings()), settings) << "the settings are the client's to write";
    EXPECT_FALSE(fs::exists(Dir / "bin/WingharbourClient.LOG"));
}

TEST_F(WingharbourProcessTest, RefusesWhatItCannotFollowWithTheExitStatusThatSaysWhy) {
    // A second livery of that name, in another package.
    Replace(Source("wh_b737/aircraft.lst"), std::regex("wh_airline=Redcliff Air"), "wh_airline=Coral Bay Air");
    struct TCase {
        const char* Name;
        std::vector<std::string> Arguments;
        int Status;
        std::string Told;
        bool WindowOpen = false; // the window holds its lock
    };
    const TCase cases[] = {
        {"an unknown command", {"fetch"}, 2, "unknown command 'fetch'\nUsage: wingharbour"},
        {"an ambiguous name lists the candidates",
         {"install", "Coral Bay Air"},
         2,
         "  wh_a320/a320_coralbay  Coral Bay Air (A320-200)\n  wh_b737/b737_redcliff  Coral Bay Air (737-800)\n"},
        {"an unknown name", {"install", "nosuch"}, 2, "no livery is named 'nosuch'"},
        {"remove without a terminal to ask on", {"remove", "a320_coralbay"}, 2, "give --yes"},
        {"no simulator folder", {"--fs", Dir / "nowhere", "list"}, 2, "holds no aircraft folder; give --fs DIR"},
        {"nothing to do is done", {"update"}, 0, "no installed livery is updated"},
        {"a source that does not answer",
         {"--url", "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()), "list"},
         1,
         "wingharbour: Error downloading URL"},
        {"the window is open", {"list"}, 1, std::string("wingharbour: ") + AnotherInstanceMessage + "\n", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSingleInstanceGuard window;
        ASSERT_TRUE(!c.WindowOpen || window.Acquire(Dir / "appdata/Wingharbour/WingharbourClient.lock"));
        const TRun run = Run(c.Arguments);
        EXPECT_EQ(run.Status, c.Status) << run.Err;
        EXPECT_NE(run.Err.find(c.Told), std::string::npos) << run.Err;
    }
    EXPECT_EQ(Liveries(Run({"list", "--installed"})), std::vector<std::string>{});
}

// script(1) gives the program a terminal of its own, 20 columns wide, and
// types the answer into it.
TEST_F(WingharbourProcessTest, OnATerminalTheLiveryLineUpdatesInPlaceAndRemoveAsks) {
    const auto onTerminal = [&](const std::vector<std::string>& arguments, const std::string& answer) {
        const std::string command = "printf '" + answer + "' | script -qec " +
                                    Quoted("stty cols 20; " + Command(Program(), arguments)) + " /dev/null >" +
                                    Quoted(Dir / "tty");
        const int status = std::system(command.c_str());
        return TRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", ReadFile(Dir / "tty")};
    };
    const TRun install = onTerminal({"install", "a320_pelican"}, "");
    EXPECT_EQ(install.Status, 0) << install.Err;
    EXPECT_NE(install.Err.find("\r\x1b[K1 of 1 \xC2\xB7 Pelican Is"), std::string::npos) << install.Err;
    EXPECT_EQ(install.Err.find("Pelican Isl"), std::string::npos) << "the line must not wrap";

    const std::string question = DeinstallQuestion(1) + " [y/N] ";
    const TRun no = onTerminal({"remove", "a320_pelican"}, "n\\n");
    EXPECT_EQ(no.Status, 1);
    EXPECT_NE(no.Err.find(question), std::string::npos) << no.Err;
    EXPECT_EQ(Liveries(Run({"list", "--installed"})), std::vector<std::string>{"Pelican Isles Airways"});
    EXPECT_EQ(onTerminal({"remove", "a320_pelican"}, "yes\\n").Status, 0);
    EXPECT_EQ(Liveries(Run({"list", "--installed"})), std::vector<std::string>{});
}

// Installed where its user may not write, it reads the client's settings
// from the config folder and writes neither them nor a log.
TEST(WingharbourInstalledProcessTest, ReadsTheSettingsFromTheConfigFolder) {
    const TSearchableAncestors program(WH_CLI_PATH);
    AsUnprivileged([] {
        TTempDir dir;
        sample::WriteSample(dir.Path() / "sample");
        const fs::path bin = dir.Path() / "bin";
        fs::create_directories(bin);
        fs::copy_file(WH_CLI_PATH, bin / "wingharbour");
        fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
        const std::string settings = dir / "xdg/config/Wingharbour/WingharbourClient.ini";
        WriteFile(settings, "[Welcome]\r\nrbLocalDir=1\r\nrbURL=0\r\nedPackageFile=" +
                                (dir / "sample/source/packages.lst") + "\r\nFSDir=" + (dir / "sample/fs2002") + "\r\n");
        const std::string before = ReadFile(settings);
        TScopedEnvironment environment({{"HOME", "/nonexistent"},
                                        {"XDG_CONFIG_HOME", dir / "xdg/config"},
                                        {"XDG_STATE_HOME", dir / "xdg/state"},
                                        {"XDG_DATA_HOME", dir / "xdg/data"},
                                        {"WINGHARBOUR_COMMON_APPDATA", dir / "appdata"}});
        const TRun run = RunProgram((bin / "wingharbour").string(), {"list", "--filter", "kestrel"}, dir.Dir());
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out.substr(0, run.Out.find('\t')), "Kestrel Express");
        EXPECT_EQ(ReadFile(settings), before);
        EXPECT_FALSE(fs::exists(dir / "xdg/state/Wingharbour/WingharbourClient.LOG"));
        fs::permissions(bin, fs::perms::owner_all);
    });
}

} // namespace
} // namespace wh::test
