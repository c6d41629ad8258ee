#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <string>

#include "catalogue/AircraftState.h"
#include "files/InstallRecord.h"
#include "platform/FileTimes.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::PrintTo;

using test::TTempDir;
using test::WriteFile;

// 2021-06-15 12:00:00 local time, and the same moment packed by hand.
std::time_t ArchiveTime() {
    std::tm parts{};
    parts.tm_year = 2021 - 1900;
    parts.tm_mon = 5;
    parts.tm_mday = 15;
    parts.tm_hour = 12;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}
constexpr std::int32_t ArchiveAge = (((2021 - 1980) * 512 + 6 * 32 + 15) << 16) | (12 * 2048);

enum class TArchive { Missing, File, Folder, Pending };

struct TStateCase {
    const char* Name;
    bool TextureFolder;
    TArchive Archive;
    std::string Status;
    std::int32_t Timestamp;
    bool Installed;
    TWHAircraftState State;
};

class TStateFixture : public ::testing::Test {
protected:
    TTempDir Root;
    std::string FSDir() const { return Root / "FS"; }
    std::string WorkDir() const { return Root.Dir() + "work/"; }

    TWHAircraft Record(const std::string& status, std::int32_t timestamp) const {
        TWHAircraft a;
        a.Directory = "a320";
        a.Texture = "ABC";
        a.CatalogueStatus = status;
        a.ArchiveTimestamp = timestamp;
        return a;
    }
    void MakeTextureFolder(const std::string& aircraftDir, const std::string& packageDir, const std::string& folder) {
        std::filesystem::create_directories(Root.Path() / "FS" / aircraftDir / packageDir / folder);
    }
    void MakeArchiveCopy(const std::string& packageDir, const std::string& name) {
        const auto path = Root.Path() / "work" / packageDir / name;
        WriteFile(path, "zip");
        ASSERT_TRUE(SetFileLastWrite(path.string(), ArchiveTime()));
    }
};

class AircraftState : public TStateFixture, public ::testing::WithParamInterface<TStateCase> {};

TEST_P(AircraftState, FollowsTheDecisionTables) {
    const auto& c = GetParam();
    if (c.TextureFolder)
        MakeTextureFolder("aircraft", "a320", "texture.ABC");
    if (c.Archive == TArchive::File)
        MakeArchiveCopy("a320", "ABC.zip");
    if (c.Archive == TArchive::Folder)
        std::filesystem::create_directories(Root.Path() / "work/a320/ABC.zip");
    if (c.Archive == TArchive::Pending) {
        MakeArchiveCopy("a320", "ABC.zip");
        MarkInstallPending((Root.Path() / "work/a320/ABC.zip").string());
    }

    TWHAircraft a = Record(c.Status, c.Timestamp);
    a.Installed = !c.Installed;
    a.State = asUpdated;
    UpdateAircraftState(a, FSDir(), WorkDir());
    EXPECT_EQ(a.Installed, c.Installed);
    EXPECT_EQ(a.State, c.State);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AircraftState,
    ::testing::Values(TStateCase{"NothingThere", false, TArchive::Missing, "ok", ArchiveAge, false, asNew},
                      TStateCase{"FolderWithoutArchive", true, TArchive::Missing, "ok", ArchiveAge, false, asNew},
                      TStateCase{"ArchiveWithoutFolder", false, TArchive::File, "ok", ArchiveAge + 1, false, asNew},
                      TStateCase{"ArchiveIsAFolder", true, TArchive::Folder, "ok", ArchiveAge, false, asNew},
                      TStateCase{"Current", true, TArchive::File, "ok", ArchiveAge, true, asNone},
                      TStateCase{"OneStepNewer", true, TArchive::File, "ok", ArchiveAge + 1, true, asUpdated},
                      TStateCase{"CatalogueOlder", true, TArchive::File, "ok", ArchiveAge - 1, true, asNone},
                      TStateCase{"NoTimestamp", true, TArchive::File, "ok", -1, true, asNone},
                      TStateCase{"SignedComparison", true, TArchive::File, "ok", INT_MIN, true, asNone},
                      TStateCase{"StatusInCapitals", true, TArchive::File, "OK", ArchiveAge + 1, true, asUpdated},
                      TStateCase{"PendingInstalled", true, TArchive::File, "pending", ArchiveAge + 1, true, asNone},
                      TStateCase{"PendingAbsent", false, TArchive::Missing, "pending", ArchiveAge, false, asNone},
                      TStateCase{"NoStatusAbsent", false, TArchive::Missing, "", ArchiveAge, false, asNone},
                      TStateCase{"OkWithBlank", false, TArchive::Missing, "ok ", ArchiveAge, false, asNone},
                      TStateCase{"UnfinishedInstallNoTimestamp", true, TArchive::Pending, "ok", -1, true, asUpdated},
                      TStateCase{"UnfinishedInstallOldestTimestamp", true, TArchive::Pending, "ok", PendingInstallAge,
                                 true, asUpdated},
                      TStateCase{"UnfinishedInstallNotReleased", true, TArchive::Pending, "pending", -1, true, asNone},
                      TStateCase{"UnfinishedInstallNoFolder", false, TArchive::Pending, "ok", -1, false, asNew}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TCaseSpelling {
    const char* Name;
    const char* AircraftDir;
    const char* PackageDir;
    const char* Folder;
    const char* Archive;
};

class AircraftStateSpelling : public TStateFixture, public ::testing::WithParamInterface<TCaseSpelling> {};

TEST_P(AircraftStateSpelling, FindsFilesWithoutRegardToLetterCase) {
    const auto& c = GetParam();
    MakeTextureFolder(c.AircraftDir, c.PackageDir, c.Folder);
    MakeArchiveCopy(c.PackageDir, c.Archive);
    TWHAircraft a = Record("ok", ArchiveAge + 1);
    UpdateAircraftState(a, FSDir(), WorkDir());
    EXPECT_TRUE(a.Installed);
    EXPECT_EQ(a.State, asUpdated);
}

INSTANTIATE_TEST_SUITE_P(Table, AircraftStateSpelling,
                         ::testing::Values(TCaseSpelling{"Wine", "Aircraft", "a320", "Texture.ABC", "ABC.zip"},
                                           TCaseSpelling{"Upper", "AIRCRAFT", "A320", "TEXTURE.ABC", "ABC.ZIP"},
                                           TCaseSpelling{"Lower", "aircraft", "a320", "texture.abc", "abc.zip"}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace wh
