#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "catalogue/AircraftState.h"
#include "install/Deinstaller.h"
#include "platform/Errors.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::WriteFile;

namespace {

// The list as the window shows it: records in display order, check boxes,
// and a refresh that judges the record against the disk.
class TListRows : public wh::TWHAircraftRows {
public:
    std::vector<wh::TWHAircraft> Records;
    std::vector<bool> Ticks;
    std::vector<int> Refreshed;
    wh::TWHDeinstallPlaces Places;

    int RowCount() const override { return static_cast<int>(Records.size()); }
    wh::TWHAircraft& RowAircraft(int index) const override {
        return const_cast<wh::TWHAircraft&>(Records.at(static_cast<std::size_t>(index)));
    }
    bool RowChecked(int index) const override { return Ticks.at(static_cast<std::size_t>(index)); }
    void SetRowChecked(int index, bool checked) override { Ticks.at(static_cast<std::size_t>(index)) = checked; }
    void RefreshRow(int index) override {
        Refreshed.push_back(index);
        wh::UpdateAircraftState(RowAircraft(index), Places.FSDir, Places.WorkingDir);
    }
};

const std::string GeneralLines = "[General]\r\natc_type=Sample ; user's own\r\n\r\n";
std::string Section(int n, const std::string& texture) {
    return "[fltsim." + std::to_string(n) + "]\r\ntitle=" + texture + "\r\ntexture=" + texture + "\r\n\r\n";
}

// An aircraft folder as a base archive and three texture archives leave it,
// written by other tools: "Aircraft", "Aircraft.cfg" and "Texture.ABC" in
// letter cases the catalogue does not use.
struct TSimulator {
    TTempDir Dir;
    fs::path Plane = Dir.Path() / "FS/Aircraft/Plane";
    fs::path Cache = Dir.Path() / "W/Plane";
    std::string Cfg = GeneralLines + Section(0, "abc") + Section(1, "def") + Section(2, "ghi");

    TSimulator() {
        WriteFile(Plane / "model/plane.mdl", "model");
        WriteFile(Plane / "panel/panel.cfg", "panel");
        WriteFile(Plane / "Aircraft.cfg", Cfg);
        WriteFile(Cache / "base.zip", "base");
        for (const char* folder : {"Texture.ABC", "texture.def", "texture.ghi"}) {
            WriteFile(Plane / folder / "skin.bmp", "bmp");
            WriteFile(Plane / folder / "sub/night.bmp", "bmp");
        }
        for (const char* texture : {"abc", "def", "ghi"})
            WriteFile(Cache / (std::string(texture) + ".zip"), "zip");
    }

    TListRows Rows(const std::vector<std::pair<std::string, bool>>& textures) const {
        TListRows rows;
        rows.Places = {Dir.Dir() + "FS\\", Dir.Dir() + "W/"};
        for (const auto& [texture, ticked] : textures) {
            wh::TWHAircraft aircraft;
            aircraft.Directory = "Plane";
            aircraft.Texture = texture;
            aircraft.CatalogueStatus = "ok";
            wh::UpdateAircraftState(aircraft, rows.Places.FSDir, rows.Places.WorkingDir);
            rows.Records.push_back(aircraft);
            rows.Ticks.push_back(ticked);
        }
        return rows;
    }

    // The cfg's path as the deinstaller composes it and names it in messages.
    std::string CfgPath() const { return Dir.Dir() + "FS/aircraft/Plane/aircraft.cfg"; }
};

std::string RunWalk(TListRows& rows, wh::test::TRecordingActivity& activity, int stopAfter) {
    int asked = 0;
    const auto stop = [&] { return stopAfter >= 0 && asked++ >= stopAfter; };
    try {
        wh::DeinstallTickedAircraft(rows, activity, rows.Places, stop);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

struct TScenario {
    const char* Name;
    std::function<void(TSimulator&)> Before;   // what the user did since the list was filled
    std::vector<std::pair<std::string, bool>> Rows;
    std::string Error;                          // "" for none; "%cfg" stands for the cfg's path
    std::string CfgAfter;
    std::vector<bool> TicksAfter;
    std::vector<int> Refreshed;
    std::set<std::string> TexturesLeft;         // entries of the aircraft folder named texture.*
    std::set<std::string> CopiesLeft;           // archives in the working folder
    int StopAfter = -1;                         // Close pressed after that many liveries
};

std::set<std::string> Entries(const fs::path& folder, const std::string& prefix) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            names.insert(entry.path().filename().string());
    return names;
}

TEST(Deinstaller, RemovesTickedInstalledLiveriesAndKeepsTheAircraft) {
    const std::string notFound = "fltsim.* section for livery 'def' not found in '%cfg'.";
    const std::vector<TScenario> cases = {
        {"two of three ticked rows installed", [](TSimulator&) {},
         {{"abc", true}, {"new", true}, {"ghi", true}}, "",
         GeneralLines + Section(0, "def"), {false, true, false}, {0, 2},
         {"texture.def"}, {"base.zip", "def.zip"}},
        {"middle section removed, last renumbered", [](TSimulator&) {},
         {{"abc", false}, {"def", true}, {"ghi", false}}, "",
         GeneralLines + Section(0, "abc") + Section(1, "ghi"), {false, false, false}, {1},
         {"Texture.ABC", "texture.ghi"}, {"base.zip", "abc.zip", "ghi.zip"}},
        {"texture folder already deleted by the user", [](TSimulator& s) { fs::remove_all(s.Plane / "texture.def"); },
         {{"def", true}}, "",
         GeneralLines + Section(0, "abc") + Section(1, "ghi"), {false}, {0},
         {"Texture.ABC", "texture.ghi"}, {"base.zip", "abc.zip", "ghi.zip"}},
        {"livery named in another letter case", [](TSimulator&) {},
         {{"ABC", true}}, "",
         GeneralLines + Section(0, "def") + Section(1, "ghi"), {false}, {0},
         {"texture.def", "texture.ghi"}, {"base.zip", "def.zip", "ghi.zip"}},
        {"section missing: files gone, walk ends at that row",
         [](TSimulator& s) {
             s.Cfg = GeneralLines + Section(0, "abc") + Section(1, "ghi");
             WriteFile(s.Plane / "Aircraft.cfg", s.Cfg);
         },
         {{"abc", true}, {"def", true}, {"ghi", true}}, notFound,
         GeneralLines + Section(0, "ghi"), {false, true, true}, {0},
         {"texture.ghi"}, {"base.zip", "ghi.zip"}},
        {"section key written with blanks is not the livery's line",
         [](TSimulator& s) {
             s.Cfg = GeneralLines + Section(0, "abc") + "[fltsim.1]\r\ntexture = def\r\n";
             WriteFile(s.Plane / "Aircraft.cfg", s.Cfg);
         },
         {{"def", true}}, notFound,
         GeneralLines + Section(0, "abc") + "[fltsim.1]\r\ntexture = def\r\n", {true}, {},
         {"Texture.ABC", "texture.ghi"}, {"base.zip", "abc.zip", "ghi.zip"}},
        {"close pressed during the walk: the livery in hand ends, no other starts", [](TSimulator&) {},
         {{"abc", true}, {"def", true}}, "",
         GeneralLines + Section(0, "def") + Section(1, "ghi"), {false, true}, {0},
         {"texture.def", "texture.ghi"}, {"base.zip", "def.zip", "ghi.zip"}, 1},
    };
    for (const auto& c : cases) {
        TSimulator sim;
        TListRows rows = sim.Rows(c.Rows);
        c.Before(sim);
        wh::test::TRecordingActivity activity;
        std::string error = c.Error;
        if (const auto at = error.find("%cfg"); at != std::string::npos)
            error.replace(at, 4, sim.CfgPath());

        EXPECT_EQ(RunWalk(rows, activity, c.StopAfter), error) << c.Name;
        EXPECT_EQ(ReadFile(sim.Plane / "Aircraft.cfg"), c.CfgAfter) << c.Name;
        EXPECT_EQ(rows.Ticks, c.TicksAfter) << c.Name;
        EXPECT_EQ(rows.Refreshed, c.Refreshed) << c.Name;
        for (int i : c.Refreshed) {
            EXPECT_FALSE(rows.Records[i].Installed) << c.Name;
            EXPECT_EQ(rows.Records[i].State, wh::asNew) << c.Name;
        }
        std::set<std::string> textures = Entries(sim.Plane, "texture.");
        textures.merge(Entries(sim.Plane, "Texture."));
        EXPECT_EQ(textures, c.TexturesLeft) << c.Name;
        EXPECT_EQ(Entries(sim.Cache, ""), c.CopiesLeft) << c.Name;
        // The aircraft itself stays whatever happened to its liveries.
        EXPECT_EQ(ReadFile(sim.Plane / "model/plane.mdl"), "model") << c.Name;
        EXPECT_EQ(ReadFile(sim.Plane / "panel/panel.cfg"), "panel") << c.Name;
        EXPECT_EQ(ReadFile(sim.Cache / "base.zip"), "base") << c.Name;
        // The closing steps run only after the last row.
        EXPECT_EQ(activity.Hides, error.empty() ? 1 : 0) << c.Name;
        EXPECT_EQ(activity.Clears, error.empty() ? 1 : 0) << c.Name;
        EXPECT_TRUE(activity.Log.empty()) << c.Name;
    }
}

TEST(Deinstaller, LinksInTheTextureFolderGoWithoutWhatTheyPointAt) {
    TSimulator sim;
    const fs::path outside = sim.Dir.Path() / "elsewhere";
    WriteFile(outside / "file.bmp", "theirs");
    WriteFile(outside / "folder/inner.bmp", "theirs");
    fs::create_symlink(outside / "file.bmp", sim.Plane / "texture.def/link.bmp");
    fs::create_directory_symlink(outside / "folder", sim.Plane / "texture.def/sub/linked");
    fs::create_symlink(outside / "missing", sim.Plane / "texture.def/dangling");
    // A whole texture folder that is a link: the link goes, the folder it names stays.
    fs::remove_all(sim.Plane / "texture.ghi");
    fs::create_directory_symlink(outside / "folder", sim.Plane / "texture.ghi");
    TListRows rows = sim.Rows({{"def", true}, {"ghi", true}});
    wh::test::TRecordingActivity activity;

    EXPECT_EQ(RunWalk(rows, activity, -1), "");
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.Plane / "texture.def")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.Plane / "texture.ghi")));
    EXPECT_EQ(ReadFile(outside / "file.bmp"), "theirs");
    EXPECT_EQ(ReadFile(outside / "folder/inner.bmp"), "theirs");
    EXPECT_EQ(ReadFile(sim.Plane / "Aircraft.cfg"), GeneralLines + Section(0, "abc"));
}

// Runs body in a child that, when the tests run as root, first becomes the
// ordinary user 65534, so that file modes bind it. The exit status is the
// child's verdict: 0 when body returned true.
int AsOrdinaryUser(const fs::path& folder, const std::function<bool()>& body) {
    constexpr uid_t Nobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (::lchown(entry.path().c_str(), Nobody, Nobody) != 0)
                return 3;
        if (::chown(folder.c_str(), Nobody, Nobody) != 0)
            return 3;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(4);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(Deinstaller, ReadOnlyCfgStopsAtItsRowAndStaysAsItWas) {
    TSimulator sim;
    ::chmod((sim.Plane / "Aircraft.cfg").c_str(), 0444);
    const std::string expected = "Unable to write to " + sim.CfgPath();
    const int verdict = AsOrdinaryUser(sim.Dir.Path(), [&] {
        TListRows rows = sim.Rows({{"abc", true}, {"def", true}});
        wh::test::TRecordingActivity activity;
        const std::string error = RunWalk(rows, activity, -1);
        if (error != expected)
            std::fprintf(stderr, "raised: %s\n", error.c_str());
        return error == expected && rows.Ticks == std::vector<bool>{true, true} && rows.Refreshed.empty() &&
               activity.Hides == 0;
    });
    EXPECT_EQ(verdict, 0);
    EXPECT_EQ(ReadFile(sim.Plane / "Aircraft.cfg"), sim.Cfg);
    EXPECT_EQ(Entries(sim.Plane, ""),
              (std::set<std::string>{"Aircraft.cfg", "model", "panel", "texture.def", "texture.ghi"}));
    // The files went before the section was refused, as for a missing section.
    EXPECT_FALSE(fs::exists(sim.Plane / "Texture.ABC"));
    EXPECT_TRUE(fs::exists(sim.Plane / "texture.def"));
}

} // namespace
