#include "install/InstallRoom.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "profile/IniFiles.h"
#include "tests/install/InstallFixture.h"
#include "tests/support/NamedCases.h"

namespace wh::test {
namespace {

using test::PrintTo;

constexpr std::uint64_t KiB = 1024, MiB = 1024 * KiB;
constexpr std::int32_t M = 1024 * 1024;

struct TRow {
    std::string Directory;
    TWHAircraftState State;
    bool Checked;
    std::int32_t Size;
};

TFakeRows RowsOf(const std::vector<TRow>& rows) {
    TFakeRows fake;
    for (const TRow& row : rows) {
        TWHAircraft aircraft;
        aircraft.Directory = row.Directory;
        aircraft.State = row.State;
        aircraft.ArchiveSize = row.Size;
        fake.Records.push_back(aircraft);
        fake.Checked.push_back(row.Checked);
    }
    return fake;
}

TEST(InstallRoomTest, NeedsByPlaceAndTheWarning) {
    const std::string work = "/data/Wingharbour/", sim = "C:\\FS2002\\aircraft";
    const struct TCase {
        const char* Name;
        std::vector<TRow> Rows;
        std::map<std::string, TWHBasePlan> Bases;
        std::optional<TFreeSpace> WorkFree, SimFree;
        std::vector<TWHRoomNeed> Places;
        int Unknown;
        std::string Warning;
    } cases[] = {
        {"room enough on two disks",
         {{"a", asNew, true, 3 * M}},
         {},
         TFreeSpace{3 * MiB, 1},
         TFreeSpace{6 * MiB, 2},
         {{{"/data/Wingharbour"}, 3 * MiB, 3 * MiB}, {{"C:/FS2002/aircraft"}, 6 * MiB, 6 * MiB}},
         0,
         ""},
        {"only ticked new and updated rows count; the simulator is short",
         {{"a", asNew, true, 2 * M},
          {"a", asUpdated, true, M},
          {"a", asNone, true, 50 * M},
          {"a", asNew, false, 50 * M}},
         {},
         TFreeSpace{100 * MiB, 1},
         TFreeSpace{5 * MiB, 2},
         {{{"/data/Wingharbour"}, 3 * MiB, 100 * MiB}, {{"C:/FS2002/aircraft"}, 6 * MiB, 5 * MiB}},
         0,
         "The selected liveries need about 6.0 MB in C:/FS2002/aircraft, where 5.0 MB are free. Install anyway?"},
        {"a fetched base fills the working folder, an extracted one the simulator",
         {{"a", asNew, true, M}, {"b", asNew, true, M}},
         {{"a", {true, false, 10 * M}}, {"b", {false, true, 20 * M}}},
         TFreeSpace{8 * MiB, 1},
         TFreeSpace{100 * MiB, 2},
         {{{"/data/Wingharbour"}, 12 * MiB, 8 * MiB}, {{"C:/FS2002/aircraft"}, 44 * MiB, 100 * MiB}},
         0,
         "The selected liveries need about 12 MB in /data/Wingharbour, where 8.0 MB are free. Install anyway?"},
        {"one disk counts both needs once against its room",
         {{"a", asNew, true, 400 * M}},
         {{"a", {true, true, 300 * M}}},
         TFreeSpace{900 * MiB, 7},
         TFreeSpace{900 * MiB, 7},
         {{{"/data/Wingharbour", "C:/FS2002/aircraft"}, 2100 * MiB, 900 * MiB}},
         0,
         "The selected liveries need about 2.1 GB in /data/Wingharbour and C:/FS2002/aircraft, which share a disk, "
         "where 900 MB are free. Install anyway?"},
        {"archives of unknown size are left out and named",
         {{"a", asNew, true, -1}, {"a", asNew, true, -1}, {"a", asNew, true, 4 * M}},
         {{"a", {true, true, -1}}},
         TFreeSpace{MiB, 1},
         TFreeSpace{100 * MiB, 2},
         {{{"/data/Wingharbour"}, 4 * MiB, MiB}, {{"C:/FS2002/aircraft"}, 8 * MiB, 100 * MiB}},
         3,
         "The selected liveries need about 4.0 MB in /data/Wingharbour, where 1.0 MB are free. 3 archives of unknown "
         "size are not counted. Install anyway?"},
        {"a place the system cannot tell of is not judged",
         {{"a", asNew, true, 4 * M}},
         {},
         std::nullopt,
         TFreeSpace{KiB, 2},
         {{{"C:/FS2002/aircraft"}, 8 * MiB, KiB}},
         0,
         "The selected liveries need about 8.0 MB in C:/FS2002/aircraft, where 1 KB are free. Install anyway?"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TWHInstallRoom room =
            CheckInstallRoom(RowsOf(c.Rows), c.Bases, {work, c.WorkFree}, {sim, c.SimFree}, ".");
        EXPECT_EQ(room.Places, c.Places);
        EXPECT_EQ(room.UnknownSizes, c.Unknown);
        EXPECT_EQ(room.Warning, c.Warning);
    }
}

class PlanBasesTest : public TInstallFixture {};

// Once per package of a livery to install, as its first livery will find
// the disk, with the catalogue's base size when it gives one.
TEST_F(PlanBasesTest, OnePlanPerPackageToInstall) {
    const struct TCase {
        const char* Name;
        bool BaseCurrent;
        const char* BaseSize; // nullptr: no key
        bool Ticked;
        std::map<std::string, TWHBasePlan> Plans;
    } cases[] = {
        {"no cached base", false, "123456", true, {{"a320", {true, true, 123456}}}},
        {"a current base, no size given", true, nullptr, true, {{"a320", {false, false, -1}}}},
        {"nothing ticked", false, "5", false, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove_all(Root / "appdata");
        std::filesystem::remove_all(Root / "FS2002/aircraft/a320");
        WritePackage({{"one"}, {"two"}}, c.BaseCurrent ? CatalogueAge : -1);
        if (c.BaseCurrent) {
            WriteFile(std::filesystem::path(Work("a320/base.zip")), "zip");
            std::filesystem::create_directories(Root / "FS2002/aircraft/a320");
        }
        if (c.BaseSize)
            TIniFile(Work("a320/aircraft.lst")).WriteString("Wingharbour", "wh_basesize", c.BaseSize);
        MakeRows();
        Rows.Checked.assign(Rows.Checked.size(), c.Ticked);
        EXPECT_EQ(PlanBases(Rows, Options), c.Plans);
    }
}

} // namespace
} // namespace wh::test
