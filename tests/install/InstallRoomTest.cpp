#include "install/InstallRoom.h"

#include "profile/IniFiles.h"
#include "tests/install/InstallFixture.h"

namespace wh::test {
namespace {

constexpr std::int32_t M = 1024 * 1024;
using F = TFreeSpace;

TWHAircraft Livery(TWHAircraftState state, std::int32_t size, std::string directory = "a") {
    TWHAircraft aircraft;
    std::tie(aircraft.State, aircraft.ArchiveSize, aircraft.Directory) = std::tie(state, size, directory);
    return aircraft;
}

TEST(InstallRoomTest, NeedsByFileSystemAndTheWarning) {
    const std::string w = "/data/Wingharbour", s = "C:/FS2002/aircraft", ask = " Install anyway?";
    const auto say = [](std::string need, std::string in, std::string free) {
        return "The selected liveries need about " + need + " in " + in + ", where " + free + " are free.";
    };
    const struct TCase {
        std::vector<TWHAircraft> Rows; // all ticked
        std::map<std::string, TWHBasePlan> Bases;
        std::optional<TFreeSpace> WorkFree, SimFree; // nothing: the system cannot tell
        std::string Warning;
    } cases[] = {
        // clang-format off
        // Ticked new and updated rows count, unpacked at twice their archive.
        {{Livery(asNew, 2 * M), Livery(asUpdated, M), Livery(asNone, 9 * M)}, {}, F{M, 1}, F{5 * M, 2},
         say("3.0 MB", w, "1.0 MB") + " " + say("6.0 MB", s, "5.0 MB") + ask},
        // A fetched base fills the working folder, an extracted one the simulator.
        {{Livery(asNew, M), Livery(asNew, -1, "b")}, {{"a", {true, false, 9 * M}}, {"b", {false, true, -1}}}, F{8 * M, 1},
         F{M, 2}, say("10 MB", w, "8.0 MB") + " " + say("2.0 MB", s, "1.0 MB") +
         " 2 archives of unknown size are not counted." + ask},
        {{Livery(asNew, 400 * M)}, {{"a", {true, true, 300 * M}}}, F{900 * M, 7}, F{900 * M, 7},
         say("2.1 GB", w + " and " + s + ", which share a disk", "900 MB") + ask},
        {{Livery(asNew, 4 * M)}, {}, F{9 * M, 1}, F{8 * M, 2}, ""},
        {{Livery(asNew, 4 * M)}, {}, std::nullopt, F{7 * M, 1}, say("8.0 MB", s, "7.0 MB") + ask},
        // clang-format on
    };
    for (const TCase& c : cases) {
        TFakeRows rows;
        rows.Records = c.Rows;
        rows.Checked.assign(c.Rows.size(), true);
        EXPECT_EQ(CheckInstallRoom(rows, c.Bases, {w + "/", c.WorkFree}, {s, c.SimFree}, ".").Warning, c.Warning);
    }
}

class PlanBasesTest : public TInstallFixture {};

TEST_F(PlanBasesTest, OnePlanPerPackageOfATickedLiveryWithTheCataloguesBaseSize) {
    WritePackage({{"one"}, {"two"}});
    TIniFile(Work("a320/aircraft.lst")).WriteString("Wingharbour", "wh_basesize", "123456");
    MakeRows();
    EXPECT_EQ(PlanBases(Rows, Options), (std::map<std::string, TWHBasePlan>{{"a320", {true, true, 123456}}}));
}

} // namespace
} // namespace wh::test
