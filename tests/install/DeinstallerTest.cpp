#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <set>

#include "catalogue/AircraftState.h"
#include "install/Deinstaller.h"
#include "platform/Codepage.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/FakeRows.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using wh::test::ReadFile;
using wh::test::WriteFile;

namespace {

// The list, with the places a refresh judges the records against.
struct TListRows : wh::test::TFakeRows {
    wh::TWHDeinstallPlaces Places;
};

std::string Section(int n, const std::string& texture) {
    return "[fltsim." + std::to_string(n) + "]\r\ntexture=" + texture + "\r\n\r\n";
}
const std::string General = "[General]\r\natc_type=Sample ; mine\r\n\r\n";

// An aircraft with three liveries as installs leave it, in the letter cases
// other tools write: "Aircraft", "Aircraft.cfg", "Texture.ABC".
struct TSimulator {
    wh::test::TTempDir Dir;
    fs::path Plane = Dir.Path() / "FS/Aircraft/Plane";
    fs::path Cache = Dir.Path() / "W/Plane";
    fs::path Outside = Dir.Path() / "elsewhere";
    std::string Cfg = General + Section(0, "abc") + Section(1, "def") + Section(2, "ghi");

    TSimulator() {
        WriteFile(Plane / "model/plane.mdl", "model");
        WriteFile(Plane / "Aircraft.cfg", Cfg);
        WriteFile(Cache / "base.zip", "base");
        WriteFile(Outside / "folder/inner.bmp", "theirs");
        for (std::string texture : {"abc", "def", "ghi"}) {
            WriteFile(Plane / (texture == "abc" ? "Texture.ABC" : "texture." + texture) / "sub/skin.bmp", "bmp");
            WriteFile(Cache / (texture + ".zip"), "zip");
        }
    }
    TListRows Rows(const std::vector<std::pair<std::string, bool>>& textures) const {
        TListRows rows;
        rows.Places = {Dir.Dir() + "FS\\", Dir.Dir() + "W/"};
        rows.FSDir = rows.Places.FSDir;
        rows.WorkDir = rows.Places.WorkingDir;
        for (const auto& [texture, ticked] : textures) {
            wh::TWHAircraft aircraft;
            aircraft.Directory = "Plane";
            aircraft.Texture = texture;
            aircraft.Section = "fltsim." + std::to_string(rows.Records.size());
            aircraft.CatalogueStatus = "ok";
            wh::UpdateAircraftState(aircraft, rows.Places.FSDir, rows.Places.WorkingDir);
            rows.Records.push_back(aircraft);
            rows.Checked.push_back(ticked);
        }
        return rows;
    }
    // As the deinstaller composes it and names it in messages.
    std::string CfgPath() const { return Dir.Dir() + "FS/aircraft/Plane/aircraft.cfg"; }
    std::set<std::string> Left(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
};

std::string RunWalk(TListRows& rows, wh::test::TRecordingActivity& activity, int stopAfter = -1) {
    int asked = 0;
    try {
        wh::DeinstallTickedAircraft(rows, activity, rows.Places,
                                    [&] { return stopAfter >= 0 && asked++ >= stopAfter; });
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

struct TScenario {
    const char* Name;
    std::function<void(TSimulator&)> Before; // what the user did since the list was filled
    std::vector<std::pair<std::string, bool>> Rows;
    bool SectionMissing; // the walk ends with the message at "def"
    std::string CfgAfter;
    std::vector<bool> TicksAfter;
    std::vector<int> Refreshed;
    std::set<std::string> Left; // the aircraft folder's entries afterwards
    int StopAfter = -1;         // Close pressed after that many liveries
};

TEST(Deinstaller, RemovesTickedInstalledLiveriesAndKeepsTheAircraft) {
    const std::vector<TScenario> cases = {
        {"two of three ticked rows installed; Texture.ABC found in its own case",
         [](TSimulator&) {},
         {{"abc", true}, {"new", true}, {"ghi", true}},
         false,
         General + Section(0, "def"),
         {false, true, false},
         {0, 2},
         {"texture.def"}},
        {"middle section removed, last renumbered",
         [](TSimulator&) {},
         {{"abc", false}, {"def", true}, {"ghi", false}},
         false,
         General + Section(0, "abc") + Section(1, "ghi"),
         {false, false, false},
         {1},
         {"Texture.ABC", "texture.ghi"}},
        {"texture folder already deleted by the user",
         [](TSimulator& s) { fs::remove_all(s.Plane / "texture.def"); },
         {{"def", true}},
         false,
         General + Section(0, "abc") + Section(1, "ghi"),
         {false},
         {0},
         {"Texture.ABC", "texture.ghi"}},
        {"links in a texture folder, and a texture folder that is a link, go without their targets",
         [](TSimulator& s) {
             fs::create_directory_symlink(s.Outside / "folder", s.Plane / "texture.def/sub/linked");
             fs::create_symlink(s.Outside / "missing", s.Plane / "texture.def/dangling");
             fs::remove_all(s.Plane / "texture.ghi");
             fs::create_directory_symlink(s.Outside / "folder", s.Plane / "texture.ghi");
         },
         {{"def", true}, {"ghi", true}},
         false,
         General + Section(0, "abc"),
         {false, false},
         {0, 1},
         {"Texture.ABC"}},
        {"section missing: files gone, walk ends at that row",
         [](TSimulator& s) {
             WriteFile(s.Plane / "Aircraft.cfg", s.Cfg = General + Section(0, "abc") + Section(1, "ghi"));
         },
         {{"abc", true}, {"def", true}, {"ghi", true}},
         true,
         General + Section(0, "ghi"),
         {false, true, true},
         {0},
         {"texture.ghi"}},
        {"section written with blanks by its catalogue",
         [](TSimulator& s) {
             WriteFile(s.Cache / "aircraft.lst", "[fltsim.0]\r\ntexture = def\r\n");
             WriteFile(s.Plane / "Aircraft.cfg",
                       General + Section(0, "abc") + "[fltsim.1]\r\ntexture = def\r\n\r\n" + Section(2, "ghi"));
         },
         {{"def", true}},
         false,
         General + Section(0, "abc") + Section(1, "ghi"),
         {false},
         {0},
         {"Texture.ABC", "texture.ghi"}},
        {"close pressed during the walk: the livery in hand ends, no other starts",
         [](TSimulator&) {},
         {{"abc", true}, {"def", true}},
         false,
         General + Section(0, "def") + Section(1, "ghi"),
         {false, true},
         {0},
         {"texture.def", "texture.ghi"},
         1},
    };
    for (const auto& c : cases) {
        TSimulator sim;
        TListRows rows = sim.Rows(c.Rows);
        c.Before(sim);
        wh::test::TRecordingActivity activity;
        const std::string error =
            c.SectionMissing ? "fltsim.* section for livery 'def' not found in '" + sim.CfgPath() + "'." : "";

        EXPECT_EQ(RunWalk(rows, activity, c.StopAfter), error) << c.Name;
        EXPECT_EQ(ReadFile(sim.Plane / "Aircraft.cfg"), c.CfgAfter) << c.Name;
        EXPECT_EQ(rows.Checked, c.TicksAfter) << c.Name;
        EXPECT_EQ(rows.Refreshed, c.Refreshed) << c.Name;
        for (int i : c.Refreshed)
            EXPECT_EQ(rows.Records[i].State, wh::asNew) << c.Name;
        // The aircraft, its base archive and what links pointed at stay.
        std::set<std::string> left = c.Left, copies = {"base.zip"};
        if (fs::exists(sim.Cache / "aircraft.lst"))
            copies.insert("aircraft.lst");
        left.insert({"Aircraft.cfg", "model"});
        for (const auto& texture : left) // each texture folder left keeps its archive copy
            if (texture.find('.') == 7)
                copies.insert(wh::AnsiLowerCase(texture.substr(8)) + ".zip");
        EXPECT_EQ(sim.Left(sim.Plane), left) << c.Name;
        EXPECT_EQ(sim.Left(sim.Cache), copies) << c.Name;
        EXPECT_EQ(ReadFile(sim.Outside / "folder/inner.bmp"), "theirs") << c.Name;
        // The closing steps run only after the last row; nothing is logged.
        const bool walkedToTheEnd = error.empty() && c.StopAfter < 0;
        EXPECT_EQ(activity.Hides + activity.StatusClears, walkedToTheEnd ? 2 : 0) << c.Name;
        EXPECT_TRUE(activity.Log.empty()) << c.Name;
        // Progress: a row for each livery handled or failed, and the end on every path.
        ASSERT_EQ(activity.Progress.Events.size(), 2 + c.Refreshed.size() + !error.empty()) << c.Name;
        EXPECT_EQ(activity.Progress.Events.back(), "end") << c.Name;
    }
}

TEST(Deinstaller, ReadOnlyCfgStopsAtItsRowAndStaysAsItWas) {
    TSimulator sim;
    ::chmod((sim.Plane / "Aircraft.cfg").c_str(), 0444);
    wh::test::HandToUnprivileged(sim.Dir.Path());
    wh::test::AsUnprivileged([&] {
        TListRows rows = sim.Rows({{"abc", true}, {"def", true}});
        wh::test::TRecordingActivity activity;
        EXPECT_EQ(RunWalk(rows, activity), "Unable to write to " + sim.CfgPath());
        EXPECT_EQ(rows.Checked, (std::vector<bool>{true, true}));
        EXPECT_TRUE(rows.Refreshed.empty());
    });
    EXPECT_EQ(ReadFile(sim.Plane / "Aircraft.cfg"), sim.Cfg);
    // The files went before the section was refused, as for a missing section.
    EXPECT_EQ(sim.Left(sim.Plane), (std::set<std::string>{"Aircraft.cfg", "model", "texture.def", "texture.ghi"}));
}

} // namespace
