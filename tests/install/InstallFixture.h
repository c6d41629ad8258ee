#pragma once

// A simulator folder, a working directory and a local collection in one
// temporary folder, for the installer's tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/AircraftState.h"
#include "files/WorkingDir.h"
#include "install/CfgLines.h"
#include "install/Installer.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"
#include "tests/support/FakeRows.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {

struct TTestLiverySpec {
    TTestLiverySpec(std::string texture, std::string textureLine = "", std::string status = "ok")
        : Texture(std::move(texture)), TextureLine(std::move(textureLine)), Status(std::move(status)) {}
    std::string Texture;
    std::string TextureLine; // empty: "texture=" + Texture
    std::string Status;
};

// 2020-01-01 00:00:00: what the catalogue says of the archives.
inline constexpr TPackedDateTime CatalogueAge = ((2020 - 1980) * 512 + 1 * 32 + 1) << 16;

class TInstallFixture : public ::testing::Test {
protected:
    TInstallFixture() {
        WriteFile(Root / "source/packages.lst", "[package.0]\r\ndirectory=a320\r\n");
        Options.WorkingDir = WorkingDir();
        Options.FSDir = AppendSeparator(Root / "FS2002", '\\');
        std::filesystem::create_directories(Root / "FS2002/aircraft");
    }

    std::string Work(const std::string& name) const { return WorkingDir() + name; }
    std::string Sim(const std::string& name) const { return Options.FSDir + "aircraft\\" + name; }
    std::string Cfg() const { return Sim("a320\\aircraft.cfg"); }

    // The package a320 at the source, and its aircraft.lst in the working
    // directory as a catalogue load leaves it. baseTimestamp -1 writes none.
    void WritePackage(const std::vector<TTestLiverySpec>& liveries, TPackedDateTime baseTimestamp = CatalogueAge) {
        std::filesystem::create_directories(Root.Path() / "source/a320");
        std::string list;
        if (baseTimestamp != -1)
            list += "[Wingharbour]\r\nwh_basetimestamp=" + std::to_string(baseTimestamp) + "\r\n\r\n";
        for (std::size_t i = 0; i < liveries.size(); ++i) {
            const auto& l = liveries[i];
            list += "[fltsim." + std::to_string(i) + "]\r\ntitle=A320 " + l.Texture + "\r\n" +
                    (l.TextureLine.empty() ? "texture=" + l.Texture : l.TextureLine) +
                    "\r\nui_type=A320\r\nwh_status=" + l.Status +
                    "\r\nwh_archivetimestamp=" + std::to_string(CatalogueAge) + "\r\n\r\n";
            BuildZip(
                Root / ("source/a320/" + l.Texture + ".zip"),
                {{"texture." + l.Texture + "/", ""}, {"texture." + l.Texture + "/a320_t.bmp", "bmp " + l.Texture}});
        }
        WriteFile(Root / "source/a320/aircraft.lst", list);
        WriteFile(std::filesystem::path(Work("a320/aircraft.lst")), list);
        BuildZip(Root / "source/a320/base.zip",
                 {{"aircraft.cfg", "[General]\r\natc_type=AIRBUS\r\n\r\n[fltsim.0]\r\ntitle=House\r\ntexture=\r\n"},
                  {"model/a320.mdl", RandomBytes(4096, 7)}});
        Liveries = liveries;
    }

    // One row per livery of the package, ticked, its state from the disk.
    void MakeRows() {
        Rows = TFakeRows();
        Rows.FSDir = Options.FSDir;
        Rows.WorkDir = WorkingDir();
        for (std::size_t i = 0; i < Liveries.size(); ++i) {
            TWHAircraft a;
            a.Directory = "a320";
            a.Texture = Liveries[i].Texture;
            a.Section = "fltsim." + std::to_string(i);
            a.CatalogueStatus = Liveries[i].Status;
            a.ArchiveTimestamp = CatalogueAge;
            UpdateAircraftState(a, Rows.FSDir, Rows.WorkDir);
            Rows.Records.push_back(a);
            Rows.Checked.push_back(true);
        }
    }

    bool Install(const TWHSourceSettings& source) { return InstallTickedRows(Rows, Options, Activity, source); }
    bool Install() { return Install(Local); }

    // How many lines of the cfg are exactly this.
    int CfgLinesEqualTo(const std::string& line) const {
        int n = 0;
        for (const auto& l : LoadLines(Cfg()))
            n += l == line;
        return n;
    }
    int StatusesEqualTo(const std::string& text) const {
        int n = 0;
        for (const auto& s : Activity.Statuses)
            n += s == text;
        return n;
    }

    TTempDir Root;
    TWorkingDirOverride Override{Root / "appdata"};
    TWHInstallOptions Options;
    TRecordingActivity Activity;
    TFakeSource Local = TFakeSource::Local(Root / "source/packages.lst");
    std::vector<TTestLiverySpec> Liveries;
    TFakeRows Rows;
};

} // namespace wh::test
