// Installing ticked liveries on real files: a local collection and one served
// over HTTP on the loopback, a simulator folder and a working directory.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>

#include "files/InstallRecord.h"
#include "install/CfgSections.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"
#include "tests/install/InstallFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NamedCases.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;
using test::PrintTo;

// 2021-06-15 12:00:00, the cached base archive's time where a case gives one.
constexpr TPackedDateTime BaseAge = (((2021 - 1980) * 512 + 6 * 32 + 15) << 16) | (12 * 2048);

int ArchiveExtractions(const TRecordingActivity& activity, const std::string& archive) {
    return static_cast<int>(std::count_if(activity.Statuses.begin(), activity.Statuses.end(), [&](const auto& s) {
        return s.starts_with("Archive:") && s.ends_with(archive);
    }));
}

std::string ErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

class InstallerTest : public TInstallFixture {
protected:
    InstallerTest() {
        Server.Server().set_mount_point("/files", (Root.Path() / "source").string());
        Server.Start();
    }
    TFakeSource Url() const { return TFakeSource::Url(Server.Root() + "/files"); }
    std::int32_t SourceSize(const std::string& name) const {
        return static_cast<std::int32_t>(fs::file_size(Root.Path() / "source" / name));
    }
    bool BaseExtracted() const { return FileExists(Sim("a320\\model\\a320.mdl")); }

    TLoopbackServer Server;
};

// Two liveries of one package, no cached base: the first installs the base,
// the second finds it current and only brings the zapped base.zip back whole.
TEST_F(InstallerTest, TwoLiveriesOfOnePackageInstallTheBaseOnce) {
    const struct {
        const char* Name;
        bool OverHttp;
        std::string BaseFetchStatus;
    } cases[] = {{"local", false, "copying 'a320\\base.zip'"},
                 {"http", true, "connecting to fetch file 'a320\\base.zip'."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(Root.Path() / "FS2002/aircraft/a320");
        fs::remove_all(OsPath(Work("a320")));
        Activity = TRecordingActivity();
        WritePackage({{"A"}, {"B"}});
        MakeRows();
        Rows.Records[1].ArchiveSize = 777;
        EXPECT_TRUE(c.OverHttp ? Install(Url()) : Install());

        EXPECT_EQ(StatusesEqualTo(c.BaseFetchStatus), 2);
        EXPECT_EQ(ArchiveExtractions(Activity, "base.zip"), 1);
        EXPECT_TRUE(BaseExtracted());
        EXPECT_EQ(FileSizeOf(Work("a320\\base.zip")), SourceSize("a320/base.zip"));
        EXPECT_EQ(FileSizeOf(Work("a320\\A.zip")), 0);
        EXPECT_EQ(FileSizeOf(Work("a320\\B.zip")), 0);
        for (const char* line : {"[fltsim.0]", "[fltsim.1]", "[fltsim.2]", "texture=A", "texture=B", "texture="})
            EXPECT_EQ(CfgLinesEqualTo(line), 1) << line;
        EXPECT_EQ(FindLiverySection(Cfg(), "texture", "B"), "fltsim.2");
        EXPECT_EQ(Rows.Unticked, (std::vector<int>{0, 1}));
        EXPECT_EQ(Rows.Refreshed, (std::vector<int>{0, 1}));
        for (const auto& a : Rows.Records) {
            EXPECT_TRUE(a.Installed);
            EXPECT_EQ(a.State, asNone);
        }
        EXPECT_EQ(Activity.Hides, 1);
        EXPECT_TRUE(Activity.StatusLineEmpty);
        // Only the livery archive is announced, with the catalogue's size; a
        // local copy is no download.
        const auto got = [&](const char* name) {
            const std::string n = std::to_string(SourceSize(name));
            return c.OverHttp ? "download|ended " + n + "/" + n + "|" : std::string();
        };
        std::string events;
        for (const std::string& event : Activity.Progress.Events)
            events += event + "|";
        EXPECT_EQ(events, "begin 2|row 1|" + got("a320/base.zip") + "livery -1|" + got("a320/A.zip") + "row 2|" +
                              got("a320/base.zip") + "livery 777|" + got("a320/B.zip") + "end|");
    }
}

enum class TCachedBase { None, Whole, Zapped, Unfinished };

struct TBaseCase {
    const char* Name;
    TCachedBase Cached;
    TPackedDateTime Timestamp; // -1: the catalogue gives none
    bool AircraftFolder;
    bool Extracted;
    bool Fetched;
};

class InstallerBase : public InstallerTest, public ::testing::WithParamInterface<TBaseCase> {};

TEST_P(InstallerBase, IsFetchedAndExtractedOnlyWhenItIsMissingOrOutdated) {
    const auto& c = GetParam();
    Options.ZapFiles = false;
    WritePackage({{"A"}}, c.Timestamp);
    const std::string base = Work("a320\\base.zip");
    if (c.Cached != TCachedBase::None) {
        fs::copy_file(Root.Path() / "source/a320/base.zip", OsPath(base));
        if (c.Cached == TCachedBase::Zapped)
            fs::resize_file(OsPath(base), 0);
        ASSERT_TRUE(SetFileLastWrite(base, c.Cached == TCachedBase::Unfinished ? PendingInstallTime()
                                                                               : TimeFromPacked(BaseAge)));
    }
    if (c.AircraftFolder)
        WriteFile(OsPath(Cfg()), "[fltsim.0]\r\ntexture=\r\n");
    MakeRows();
    const std::time_t start = std::time(nullptr);
    ASSERT_TRUE(Install());

    EXPECT_EQ(BaseExtracted(), c.Extracted);
    EXPECT_EQ(StatusesEqualTo("copying 'a320\\base.zip'"), c.Fetched ? 1 : 0);
    EXPECT_EQ(FileSizeOf(base), SourceSize("a320/base.zip"));
    if (c.Extracted) {
        EXPECT_GE(FileAge(base), PackedFromTime(start - 2)); // current now
    }
    EXPECT_FALSE(IsPendingInstallAge(FileAge(base)));
    EXPECT_EQ(CfgLinesEqualTo("texture=A"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallerBase,
    ::testing::Values(TBaseCase{"NoCachedBase", TCachedBase::None, CatalogueAge, true, true, true},
                      TBaseCase{"TimestampOneAbove", TCachedBase::Whole, BaseAge + 1, true, true, true},
                      TBaseCase{"TimestampEqual", TCachedBase::Whole, BaseAge, true, false, false},
                      TBaseCase{"NoTimestamp", TCachedBase::Whole, -1, true, false, false},
                      TBaseCase{"NoAircraftFolder", TCachedBase::Whole, BaseAge, false, true, false},
                      TBaseCase{"ZappedCurrent", TCachedBase::Zapped, BaseAge, true, false, true},
                      TBaseCase{"UnfinishedNoTimestamp", TCachedBase::Unfinished, -1, true, true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(InstallerTest, ZappingEmptiesTheInstalledArchivesAndTheRecordStaysCurrent) {
    for (const bool zap : {true, false}) {
        SCOPED_TRACE(zap ? "zap" : "keep");
        fs::remove_all(Root.Path() / "FS2002/aircraft/a320");
        fs::remove_all(OsPath(Work("a320")));
        Options.ZapFiles = zap;
        WritePackage({{"A"}});
        MakeRows();
        const std::time_t start = std::time(nullptr);
        ASSERT_TRUE(Install());
        EXPECT_EQ(FileSizeOf(Work("a320\\A.zip")), zap ? 0 : SourceSize("a320/A.zip"));
        EXPECT_EQ(FileSizeOf(Work("a320\\base.zip")), zap ? 0 : SourceSize("a320/base.zip"));
        for (const char* archive : {"a320\\A.zip", "a320\\base.zip"})
            EXPECT_GE(FileAge(Work(archive)), PackedFromTime(start - 2)) << archive;
        EXPECT_TRUE(Rows.Records[0].Installed);
        EXPECT_EQ(Rows.Records[0].State, asNone);
    }
}

TEST_F(InstallerTest, TickedRowsWithNothingToFetchAreSkippedAndStayTicked) {
    WritePackage({{"A"}, {"B"}, {"C", "", "pending"}});
    MakeRows();
    Rows.Checked = {true, false, false};
    ASSERT_TRUE(Install());
    MakeRows();
    ASSERT_EQ(Rows.Records[0].State, asNone);
    ASSERT_EQ(Rows.Records[2].State, asNone);

    ASSERT_TRUE(Install());
    EXPECT_EQ(Rows.Unticked, std::vector<int>{1});
    EXPECT_EQ(Rows.Refreshed, std::vector<int>{1});
    EXPECT_EQ(Rows.Checked, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(CfgLinesEqualTo("texture=A"), 1);
    EXPECT_EQ(CfgLinesEqualTo("texture=C"), 0);
}

// Also when the catalogue writes the texture line with blanks, which the
// specified line rule does not find; the manufacturer mark follows the section.
TEST_F(InstallerTest, UpdatingAnInstalledLiveryRewritesItsOneSectionInPlace) {
    for (const std::string textureLine : {"texture=A", "texture = A"}) {
        SCOPED_TRACE(textureLine);
        fs::remove_all(Root.Path() / "FS2002/aircraft/a320");
        Options.FakeManufacturer = true;
        WritePackage({{"A", textureLine}, {"B"}});
        MakeRows();
        ASSERT_TRUE(Install());
        const auto placeOf = [&] {
            const TCfgLines lines = LoadLines(Cfg());
            return std::ranges::find(lines, textureLine) - lines.begin();
        };
        const auto before = placeOf();
        // A newer catalogue entry for A, and its installed copy older than it.
        for (const fs::path& list : {Root.Path() / "source/a320/aircraft.lst", OsPath(Work("a320\\aircraft.lst"))}) {
            std::string text = ReadFile(list);
            text.replace(text.find(textureLine + "\r\n"), textureLine.size() + 2, textureLine + "\r\natc_id=NEW\r\n");
            WriteFile(list, text);
        }
        ASSERT_TRUE(SetFileLastWrite(Work("a320\\A.zip"), TimeFromPacked(CatalogueAge) - 3600));
        MakeRows();
        ASSERT_EQ(Rows.Records[0].State, asUpdated);
        Rows.Checked = {true, false};

        ASSERT_TRUE(Install());
        EXPECT_EQ(placeOf(), before);
        EXPECT_EQ(CfgLinesEqualTo(textureLine), 1);
        EXPECT_EQ(CfgLinesEqualTo("atc_id=NEW"), 1);
        EXPECT_EQ(CfgLinesEqualTo("ui_manufacturer=Wingharbour"), 2);
        EXPECT_EQ(CfgLinesEqualTo("[fltsim.3]"), 0);
        EXPECT_EQ(Rows.Records[0].State, asNone);
    }
}

// The middle one of three rows fails: the first stays installed, the failing
// one ticked and as it was shown, the third untouched.
TEST_F(InstallerTest, FailureInTheMiddleOfThreeRowsEndsTheWalkThere) {
    const std::string sourceB = (Root.Path() / "source").string() + "/a320\\B.zip";
    const struct {
        const char* Name;
        bool OverHttp;
        std::function<void()> Break;
        std::string Error; // empty: the window closes after the first row
    } cases[] = {
        {"copy fails", false, [&] { fs::remove(OsPath(sourceB)); }, "Could not open \"" + NativePath(sourceB) + "\"."},
        {"download fails", true, [&] { fs::remove(OsPath(sourceB)); },
         "Error downloading URL '" + Server.Root() + "/files/a320/B.zip'."},
        {"extraction fails", false, [&] { WriteFile(OsPath(sourceB), "not a zip archive"); },
         "Error extracting archive 'a320\\B.zip'."},
        {"close requested", false, [] {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(Root.Path() / "FS2002/aircraft/a320");
        fs::remove_all(OsPath(Work("a320")));
        Activity = TRecordingActivity();
        WritePackage({{"A"}, {"B"}, {"C"}});
        c.Break();
        MakeRows();
        const TFakeSource source = c.OverHttp ? Url() : Local;
        const bool closing = c.Error.empty();
        bool completed = true;
        const std::string error = ErrorOf([&] {
            completed =
                InstallTickedRows(Rows, Options, Activity, source, [&] { return closing && !Rows.Unticked.empty(); });
        });
        if (c.Error.empty())
            EXPECT_FALSE(completed);
        else
            EXPECT_EQ(error, c.Error);
        EXPECT_EQ(Rows.Checked, (std::vector<bool>{false, true, true}));
        EXPECT_EQ(Rows.Refreshed, std::vector<int>{0});
        EXPECT_EQ(Rows.Records[1].State, asNew);
        EXPECT_EQ(CfgLinesEqualTo("texture=A"), 1);
        EXPECT_EQ(CfgLinesEqualTo("texture=B"), 0);
        EXPECT_FALSE(fs::exists(OsPath(Work("a320\\C.zip"))));
        EXPECT_EQ(Activity.Hides, 0);
        // A failed extraction stops before zapping: the copy stays whole, pending.
        if (FileExists(Work("a320\\B.zip"))) {
            EXPECT_EQ(FileSizeOf(Work("a320\\B.zip")), static_cast<std::int32_t>(fs::file_size(OsPath(sourceB))));
            EXPECT_TRUE(IsPendingInstallAge(FileAge(Work("a320\\B.zip"))));
        }
    }
}

} // namespace
} // namespace wh::test
