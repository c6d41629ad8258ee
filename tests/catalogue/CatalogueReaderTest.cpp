#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "catalogue/AircraftList.h"
#include "catalogue/CatalogueNames.h"
#include "catalogue/CatalogueReader.h"
#include "files/WorkingDir.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NamedCases.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace wh {
namespace {

using test::PrintTo;

using test::BuildZip;
using test::TFakeSource;
using test::TRecordingActivity;
using test::TTempDir;
using test::TWorkingDirOverride;
using test::WriteFile;

// The window's list without widgets: keeps the records, watches the bracket.
class TRecordingList : public TWHAircraftList {
public:
    std::vector<std::unique_ptr<TWHAircraft>> Rows;
    int Begins = 0;
    int Ends = 0;
    int Clears = 0;
    int AddsOutsideBracket = 0;

    void BeginUpdate() override { ++Begins; }
    void EndUpdate() override { ++Ends; }
    void Clear() override {
        ++Clears;
        Rows.clear();
    }
    void Add(std::unique_ptr<TWHAircraft> aircraft) override {
        if (Begins == Ends)
            ++AddsOutsideBracket;
        Rows.push_back(std::move(aircraft));
    }

    std::vector<std::string> Column(std::string TWHAircraft::*field) const {
        std::vector<std::string> values;
        for (const auto& row : Rows)
            values.push_back((*row).*field);
        return values;
    }
};

std::string Livery(int n, const std::string& airline, const std::string& texture) {
    return "[fltsim." + std::to_string(n) + "]\r\ntitle=Boeing " + airline + "\r\nwh_airline=" + airline +
           "\r\ntexture=" + texture + "\r\nwh_status=ok\r\n";
}

std::string Package(int n, const std::string& directory) {
    return "[package." + std::to_string(n) + "]\r\ndirectory=" + directory + "\r\n";
}

std::string Message(const std::exception& e) { return e.what(); }

class CatalogueReader : public ::testing::Test {
protected:
    TTempDir Root;
    TWorkingDirOverride Override{Root / "appdata"};
    TFakeSource Source = TFakeSource::Local(Root / "source/packages.lst");
    TRecordingActivity Activity;
    TRecordingList List;

    std::filesystem::path SourceDir() const { return Root.Path() / "source"; }
    std::filesystem::path WorkDir() const { return OsPath(WorkingDir()); }

    // The user picks the packages.lst beside packages.zip.
    void PublishPackages(const std::string& packagesLst) {
        WriteFile(SourceDir() / "packages.lst", packagesLst);
        BuildZip((SourceDir() / "packages.zip").string(), {{"packages.lst", packagesLst}});
    }
    void PublishAircraftList(const std::string& directory, const std::string& text) {
        WriteFile(SourceDir() / directory / "aircraft.lst", text);
    }
    // Every package of the tests: one livery named after its directory.
    void PublishSimplePackages(const std::vector<std::string>& directories) {
        for (const auto& d : directories)
            PublishAircraftList(d, Livery(0, "Air " + d, "T" + ExtractFileName(d)));
    }
    void Load(bool ignoreStatus = false) { ReadCatalogue(Activity, Source, List, ignoreStatus); }
    // Position of the first status line that mentions text; -1 when none does.
    int StatusIndex(const std::string& text) const {
        for (std::size_t i = 0; i < Activity.Statuses.size(); ++i)
            if (Activity.Statuses[i].find(text) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    }
};

struct TScanCase {
    const char* Name;
    std::string PackagesLst;
    std::vector<std::string> Directories; // of the rows, in order
    std::string Error;                    // empty: the load succeeds
};

class CatalogueScan : public CatalogueReader, public ::testing::WithParamInterface<TScanCase> {};

TEST_P(CatalogueScan, ReadsPackagesUpToTheFirstMissingSection) {
    const auto& c = GetParam();
    PublishPackages(c.PackagesLst);
    PublishSimplePackages({"a", "b", "c", "d"});
    if (c.Error.empty()) {
        Load();
    } else {
        try {
            Load();
            FAIL() << "the load succeeded";
        } catch (const EWingharbour& e) {
            EXPECT_EQ(Message(e), c.Error);
        }
    }
    EXPECT_EQ(List.Column(&TWHAircraft::Directory), c.Directories);
    EXPECT_EQ(List.Begins, 1);
    EXPECT_EQ(List.Ends, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, CatalogueScan,
    ::testing::Values(
        TScanCase{"Gap", Package(0, "a") + Package(1, "b") + Package(3, "d"), {"a", "b"}, ""},
        TScanCase{"KeylessSectionEndsScan", "[package.0]\r\n" + Package(1, "b"), {}, ""},
        TScanCase{"LeadingZeroIsAnotherSection", Package(0, "a").replace(9, 1, "00"), {}, ""},
        TScanCase{"SectionNamesIgnoreCase", "[PACKAGE.0]\r\nDIRECTORY=a\r\n", {"a"}, ""},
        TScanCase{"DirectoryTrimmed", "[package.0]\r\ndirectory=\t c \t\r\n", {"c"}, ""},
        TScanCase{"OtherKeyOnly", "[package.0]\r\nname=a\r\n", {}, "directory entry missing in packages.lst section 0"},
        TScanCase{"BlankDirectory",
                  Package(0, "a") + "[package.1]\r\ndirectory=   \r\n",
                  {"a"},
                  "directory entry missing in packages.lst section 1"},
        TScanCase{"NoPackages", "[other]\r\ndirectory=a\r\n", {}, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueReader, PackagesSharingSectionNamesKeepTheirOwnDirectoryAndSection) {
    PublishPackages(Package(0, "a320") + Package(1, "b737"));
    PublishAircraftList("a320", Livery(0, "Alpha", "A0") + Livery(1, "Bravo", "A1"));
    PublishAircraftList("b737", Livery(0, "Charlie", "B0") + Livery(1, "Delta", "B1"));
    Load();
    using V = std::vector<std::string>;
    EXPECT_EQ(List.Column(&TWHAircraft::Airline), (V{"Alpha", "Bravo", "Charlie", "Delta"}));
    EXPECT_EQ(List.Column(&TWHAircraft::Directory), (V{"a320", "a320", "b737", "b737"}));
    EXPECT_EQ(List.Column(&TWHAircraft::Section), (V{"fltsim.0", "fltsim.1", "fltsim.0", "fltsim.1"}));
    EXPECT_EQ(List.Column(&TWHAircraft::Texture), (V{"A0", "A1", "B0", "B1"}));
    EXPECT_EQ(List.AddsOutsideBracket, 0);
}

TEST_F(CatalogueReader, LeavesTheCatalogueFilesButNotTheArchiveInTheWorkingDirectory) {
    PublishPackages(Package(0, "a") + Package(1, "sub\\b"));
    PublishSimplePackages({"a", "sub/b"});
    Load();
    EXPECT_TRUE(std::filesystem::is_regular_file(WorkDir() / "packages.lst"));
    EXPECT_TRUE(std::filesystem::is_regular_file(WorkDir() / "a/aircraft.lst"));
    EXPECT_TRUE(std::filesystem::is_regular_file(WorkDir() / "sub/b/aircraft.lst"));
    EXPECT_FALSE(std::filesystem::exists(WorkDir() / "packages.zip"));
    // packages.zip first, then each aircraft.lst in section order.
    const int zip = StatusIndex("packages.zip");
    const int first = StatusIndex("a\\aircraft.lst");
    const int second = StatusIndex("sub\\b\\aircraft.lst");
    EXPECT_LE(0, zip);
    EXPECT_LT(zip, first);
    EXPECT_LT(first, second);
}

TEST_F(CatalogueReader, ASecondLoadReplacesAllRows) {
    PublishPackages(Package(0, "a") + Package(1, "b"));
    PublishSimplePackages({"a", "b"});
    Load();
    PublishPackages(Package(0, "c"));
    PublishSimplePackages({"c"});
    Load();
    EXPECT_EQ(List.Column(&TWHAircraft::Directory), std::vector<std::string>{"c"});
    EXPECT_EQ(List.Clears, 2);
    EXPECT_EQ(List.Begins, 2);
    EXPECT_EQ(List.Ends, 2);
}

TEST_F(CatalogueReader, ADamagedArchiveFailsBeforeTheListIsTouched) {
    // A packages.lst from an earlier load must not be read again.
    WriteFile(WorkDir() / "packages.lst", Package(0, "a"));
    PublishSimplePackages({"a"});
    WriteFile(SourceDir() / "packages.lst", Package(0, "a"));
    WriteFile(SourceDir() / "packages.zip", "PK\x03\x04 this is no zip archive");
    List.Rows.push_back(std::make_unique<TWHAircraft>());

    EXPECT_THROW(Load(), EWingharbour);
    EXPECT_EQ(List.Rows.size(), 1u);
    EXPECT_EQ(List.Clears, 0);
    EXPECT_EQ(List.Begins, 0);
    EXPECT_EQ(StatusIndex("aircraft.lst"), -1);
}

TEST_F(CatalogueReader, AnArchiveWithoutPackagesLstFailsNamingIt) {
    // Whether or not an earlier load left its packages.lst, it is not read.
    for (const bool earlierLoad : {false, true}) {
        if (earlierLoad)
            WriteFile(WorkDir() / "packages.lst", Package(0, "a"));
        PublishSimplePackages({"a"});
        WriteFile(SourceDir() / "packages.lst", "");
        BuildZip((SourceDir() / "packages.zip").string(), {{"readme.txt", "nothing here"}});
        try {
            Load();
            ADD_FAILURE() << "loaded; earlier load: " << earlierLoad;
        } catch (const wh::EFOpenError& e) {
            EXPECT_EQ(Message(e),
                      "Cannot open file \"" + (WorkDir() / "packages.lst").string() + "\". No such file or directory");
        }
        EXPECT_EQ(List.Clears, 0);
        EXPECT_EQ(StatusIndex("aircraft.lst"), -1);
        EXPECT_FALSE(std::filesystem::exists(WorkDir() / "packages.zip"));
    }
}

struct TPackageFailure {
    const char* Name;
    std::string Package2;      // packages.lst section package.2
    std::string AircraftList2; // published as c/aircraft.lst; empty: none
    std::size_t Rows;          // rows left after the failure
    std::string Error;         // empty: any error will do
};

class CatalogueFailure : public CatalogueReader, public ::testing::WithParamInterface<TPackageFailure> {};

TEST_P(CatalogueFailure, KeepsTheRowsReadSoFarAndClosesTheBracket) {
    const auto& c = GetParam();
    PublishPackages(Package(0, "a") + Package(1, "b") + c.Package2);
    PublishSimplePackages({"a", "b"});
    if (!c.AircraftList2.empty())
        PublishAircraftList("c", c.AircraftList2);
    try {
        Load();
        FAIL() << "the load succeeded";
    } catch (const std::exception& e) {
        if (!c.Error.empty()) {
            EXPECT_EQ(Message(e), c.Error);
        }
    }
    ASSERT_EQ(List.Rows.size(), c.Rows);
    EXPECT_EQ(List.Rows[0]->Directory, "a");
    EXPECT_EQ(List.Rows[1]->Directory, "b");
    EXPECT_EQ(List.Begins, 1);
    EXPECT_EQ(List.Ends, 1);
}

INSTANTIATE_TEST_SUITE_P(Package2, CatalogueFailure,
                         ::testing::Values(TPackageFailure{"MissingDirectory", "[package.2]\r\nx=1\r\n", "", 2,
                                                           "directory entry missing in packages.lst section 2"},
                                           TPackageFailure{"RefusedDirectory", Package(2, "..\\c"), "", 2,
                                                           "invalid directory entry in packages.lst section 2"},
                                           TPackageFailure{"AircraftListNotInSource", Package(2, "c"), "", 2, ""},
                                           TPackageFailure{"RefusedTexture", Package(2, "c"),
                                                           Livery(0, "Fine", "OK") + Livery(1, "Bad", "..\\x"), 3,
                                                           "invalid texture name in c\\aircraft.lst section fltsim.1"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueReader, OverAURLListsArriveInAnyOrderAndAreReadInPackageOrder) {
    PublishPackages(Package(0, "a") + Package(1, "b") + Package(2, "c") + "[package.3]\r\nx=1\r\n" + Package(4, "e"));
    PublishSimplePackages({"a", "b", "c", "e"});
    test::TLoopbackServer server;
    std::mutex mutex;
    std::condition_variable answered;
    std::set<std::string> done;
    server.Server().Get("/(.*)", [&](const httplib::Request& req, httplib::Response& res) {
        const std::string path = req.matches[1];
        // The first package's list comes last: a waits for b, b for c.
        const std::string after = path == "a/aircraft.lst"   ? "b/aircraft.lst"
                                  : path == "b/aircraft.lst" ? "c/aircraft.lst"
                                                             : "";
        std::unique_lock lock(mutex);
        answered.wait_for(lock, std::chrono::seconds(10), [&] { return after.empty() || done.count(after) > 0; });
        res.set_content(test::ReadFile(SourceDir() / path), "application/octet-stream");
        done.insert(path);
        answered.notify_all();
    });
    server.Start();
    Source = TFakeSource::Url(server.Root());
    try {
        Load();
        FAIL() << "the load succeeded";
    } catch (const EWingharbour& e) {
        EXPECT_EQ(Message(e), "directory entry missing in packages.lst section 3");
    }
    using V = std::vector<std::string>;
    EXPECT_EQ(List.Column(&TWHAircraft::Directory), (V{"a", "b", "c"}));
    V connecting;
    for (const auto& status : Activity.Statuses)
        if (status.rfind("connecting", 0) == 0)
            connecting.push_back(status);
    EXPECT_EQ(connecting,
              (V{"connecting to fetch file 'packages.zip'.", "connecting to fetch file 'a\\aircraft.lst'.",
                 "connecting to fetch file 'b\\aircraft.lst'.", "connecting to fetch file 'c\\aircraft.lst'."}));
    for (const auto& seen : server.Seen())
        EXPECT_NE(seen.Target, "/e/aircraft.lst");
}

// The rule itself; the reader's use of it follows, and the rows read before a
// refused section are kept (CatalogueFailure).
TEST(CatalogueNames, PackageDirectoriesStayBelowTheirRoot) {
    const std::pair<std::string, bool> cases[] = {
        {"/etc", false},
        {"\\etc", false},
        {"C:\\fs", false},
        {"c:fs", false},
        {"..", false},
        {"..\\escape", false},
        {"a\\..\\..\\escape", false},
        {"a/../../escape", false},
        {"a/..", false},
        {"a\x01z", false},
        {"a\\.. \\escape", false},
        {"...", false},
        {"a\\.\\b", false},
        {"boeing.\\b737", false},
        {"boeing \\b737", false},
        {"boeing/b737.", false},
        {"b.737 x\\.hidden", true},
        {"boeing\\b737", true},
        {"a..b", true},
        {"Boeing 737", true},
        {"Fokker F\xfc", true},
    };
    for (const auto& [directory, safe] : cases)
        EXPECT_EQ(IsSafePackageDirectory(directory), safe) << directory;
}

TEST_F(CatalogueReader, AnAcceptedDirectoryIsReadUnderItsOwnName) {
    PublishPackages(Package(0, "Fokker F\xfc\\b737"));
    PublishAircraftList(AnsiToUtf8("Fokker F\xfc/b737"), Livery(0, "Air", "T"));
    Load();
    ASSERT_EQ(List.Rows.size(), 1u);
    EXPECT_EQ(List.Rows[0]->Directory, "Fokker F\xfc\\b737");
}

TEST_F(CatalogueReader, ARefusedDirectoryFailsBeforeItsAircraftListIsFetched) {
    PublishPackages(Package(0, "a\\..\\..\\escape"));
    try {
        Load();
        FAIL() << "the load succeeded";
    } catch (const EWingharbour& e) {
        EXPECT_EQ(Message(e), "invalid directory entry in packages.lst section 0");
    }
    EXPECT_EQ(StatusIndex("aircraft.lst"), -1);
    EXPECT_TRUE(List.Rows.empty());
}

// One aircraft.lst entry as ReadAircraftList takes it.
struct TEntryCase {
    const char* Name;
    std::string Keys; // the lines of section fltsim.0
    bool IgnoreStatus;
    TWHAircraft Expected;
};

TWHAircraft Defaults() {
    TWHAircraft a;
    a.Airline = a.Designer = a.UIType = a.FileName = a.Model = "<unspecified>";
    a.Directory = "a320";
    a.Section = "fltsim.0";
    return a;
}

template <typename F>
TWHAircraft With(F change) {
    TWHAircraft a = Defaults();
    change(a);
    return a;
}

class AircraftEntries : public CatalogueReader, public ::testing::WithParamInterface<TEntryCase> {};

TEST_P(AircraftEntries, ReadEveryKeyWithItsDefault) {
    const auto& c = GetParam();
    WriteFile(WorkDir() / "a320/aircraft.lst", "[fltsim.0]\r\n" + c.Keys);
    ReadAircraftList(WorkingDir(), "a320", List, c.IgnoreStatus);
    ASSERT_EQ(List.Rows.size(), 1u);
    const TWHAircraft& a = *List.Rows[0];
    const TWHAircraft& e = c.Expected;
    EXPECT_EQ(a.Airline, e.Airline);
    EXPECT_EQ(a.Designer, e.Designer);
    EXPECT_EQ(a.UIType, e.UIType);
    EXPECT_EQ(a.FileName, e.FileName);
    EXPECT_EQ(a.Model, e.Model);
    EXPECT_EQ(a.CatalogueStatus, e.CatalogueStatus);
    EXPECT_EQ(a.Inclusion, e.Inclusion);
    EXPECT_EQ(a.ArchiveSize, e.ArchiveSize);
    EXPECT_EQ(a.ArchiveTimestamp, e.ArchiveTimestamp);
    EXPECT_EQ(a.Directory, e.Directory);
    EXPECT_EQ(a.Texture, e.Texture);
    EXPECT_EQ(a.Section, e.Section);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AircraftEntries,
    ::testing::Values(
        TEntryCase{"MissingKeys", "title=x\r\n", false, Defaults()},
        TEntryCase{"EmptyValues",
                   "wh_airline=\r\nwh_designer=\r\nui_type=\r\nwh_filename=\r\nwh_model=\r\nwh_status=\r\n"
                   "wh_archivesize=\r\nwh_archivetimestamp=\r\ntexture=\r\nwh_inclusion=\r\n",
                   false, With([](TWHAircraft& a) { a.Airline = a.Designer = a.UIType = a.FileName = a.Model = ""; })},
        TEntryCase{"AllKeys",
                   "WH_Airline = Lufthansa \r\nwh_designer=J. Doe\r\nui_type=Boeing 737-800\r\n"
                   "wh_filename=lh737.zip\r\nwh_model=PSS\r\nwh_status=ok\r\nwh_archivesize=123456\r\n"
                   "wh_archivetimestamp=1234567890\r\ntexture=LH\r\nwh_inclusion=panel, sound\r\n",
                   false, With([](TWHAircraft& a) {
                       a.Airline = "Lufthansa";
                       a.Designer = "J. Doe";
                       a.UIType = "Boeing 737-800";
                       a.FileName = "lh737.zip";
                       a.Model = "PSS";
                       a.CatalogueStatus = "ok";
                       a.ArchiveSize = 123456;
                       a.ArchiveTimestamp = 1234567890;
                       a.Texture = "LH";
                       a.Inclusion = "panel, sound";
                   })},
        TEntryCase{"FileNameFirstWord", "wh_filename=lh737.zip  and more\r\n", false,
                   With([](TWHAircraft& a) { a.FileName = "lh737.zip"; })},
        TEntryCase{"StatusKeptAsRead", "wh_status=OK\r\n", false,
                   With([](TWHAircraft& a) { a.CatalogueStatus = "OK"; })},
        TEntryCase{"IgnoreStatusMissing", "title=x\r\n", true, With([](TWHAircraft& a) { a.CatalogueStatus = "ok"; })},
        TEntryCase{"IgnoreStatusOtherWord", "wh_status=beta\r\n", true,
                   With([](TWHAircraft& a) { a.CatalogueStatus = "ok"; })},
        TEntryCase{"IgnoreStatusOk", "wh_status=Ok\r\n", true, With([](TWHAircraft& a) { a.CatalogueStatus = "ok"; })},
        TEntryCase{"IgnoreStatusPending", "wh_status=PenDing\r\n", true,
                   With([](TWHAircraft& a) { a.CatalogueStatus = "PenDing"; })},
        TEntryCase{"PendingWithoutIgnore", "wh_status=pending\r\n", false,
                   With([](TWHAircraft& a) { a.CatalogueStatus = "pending"; })},
        TEntryCase{"HexadecimalSize", "wh_archivesize=0x400\r\n", false,
                   With([](TWHAircraft& a) { a.ArchiveSize = 1024; })},
        TEntryCase{"DigitsThenLetters", "wh_archivesize=12ab\r\nwh_archivetimestamp=7x\r\n", false, Defaults()},
        TEntryCase{"NegativeTimestamp", "wh_archivetimestamp=-5\r\n", false,
                   With([](TWHAircraft& a) { a.ArchiveTimestamp = -5; })},
        TEntryCase{"EmptyTextureAllowed", "texture=\r\n", false, Defaults()},
        TEntryCase{"AnsiTexture", "texture=Caf\xe9 1\r\n", false,
                   With([](TWHAircraft& a) { a.Texture = "Caf\xe9 1"; })}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueReader, EntriesEndAtTheFirstMissingSection) {
    WriteFile(WorkDir() / "a320/aircraft.lst", "[wingharbour]\r\nwh_basetimestamp=5\r\n" + Livery(0, "A", "a") +
                                                   Livery(1, "B", "b") + "[fltsim.2]\r\n" + Livery(3, "D", "d"));
    ReadAircraftList(WorkingDir(), "a320", List, false);
    EXPECT_EQ(List.Column(&TWHAircraft::Section), (std::vector<std::string>{"fltsim.0", "fltsim.1"}));
}

TEST_F(CatalogueReader, AMissingAircraftListYieldsNoRows) {
    ReadAircraftList(WorkingDir(), "nowhere", List, false);
    EXPECT_TRUE(List.Rows.empty());
}

TEST(CatalogueNames, ATextureNameIsOneFolderName) {
    const std::pair<std::string, bool> cases[] = {
        {"..\\..\\x", false}, {"a/b", false},  {"c:x", false},  {"a\x01z", false}, {"a\x1b", false}, {"..", false},
        {".", false},         {"....", false}, {"klm.", false}, {"", true},        {"a.b c", true},
    };
    for (const auto& [texture, safe] : cases)
        EXPECT_EQ(IsSafeTextureName(texture), safe) << texture;
}

} // namespace
} // namespace wh
