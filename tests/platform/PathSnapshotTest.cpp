#include "platform/PathSnapshot.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Paths.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TFileStatus;
namespace fs = std::filesystem;
using TKind = TFileStatus::TKind;

struct TCase {
    std::string Asked;             // below the temporary folder
    std::optional<TKind> Expected; // what OsStatus tells as well
};

TEST(PathSnapshotTest, AnswersAsOsStatusDidWhenEachFolderWasFirstListed) {
    wh::test::TTempDir dir;
    const fs::path aircraft = dir.Path() / "Aircraft" / "b000";
    fs::create_directories(aircraft / "texture.One");
    fs::create_directories(aircraft / "texture.two");
    wh::test::WriteFile(aircraft / "TEXTURE.TWO", "");
    wh::test::WriteFile(dir.Path() / "work" / "b000" / "\xC3\x84.zip", "zip");
    fs::create_directory_symlink(aircraft / "texture.One", aircraft / "texture.linked");
    fs::create_symlink(aircraft / "gone", aircraft / "texture.dangling");
    const TCase cases[] = {
        {"Aircraft/b000/texture.One", TKind::Folder},
        {"aircraft\\B000\\TEXTURE.ONE", TKind::Folder},  // folder and name in another case
        {"Aircraft\\b000\\texture.two", TKind::Folder},  // the name as written first
        {"Aircraft\\b000\\Texture.Two", TKind::Regular}, // else the lowest match
        {"Aircraft\\b000\\texture.linked", TKind::Folder},
        {"Aircraft\\b000\\texture.dangling", std::nullopt},
        {"Aircraft\\b000\\texture.missing", std::nullopt},
        {"Aircraft\\b001\\texture.One", std::nullopt},    // no such folder
        {"Aircraft\\b000\\TEXTURE.TWO\\x", std::nullopt}, // a file as folder
        {"work\\b000\\\xE4.ZIP", TKind::Regular},         // Windows-1252 name
        {"Aircraft\\b000\\", TKind::Folder},              // no name: as OsStatus
    };
    wh::TPathSnapshot snapshot;
    for (const TCase& c : cases) {
        const std::string path = dir.Dir() + c.Asked;
        TFileStatus byDisk, bySnapshot;
        const bool onDisk = wh::OsStatus(path, byDisk);
        ASSERT_EQ(onDisk ? std::optional(byDisk.Kind) : std::nullopt, c.Expected) << c.Asked;
        EXPECT_EQ(snapshot.Kind(path), c.Expected) << c.Asked;
        ASSERT_EQ(snapshot.Status(path, bySnapshot), onDisk) << c.Asked;
        if (onDisk)
            EXPECT_TRUE(bySnapshot.SameEntry(byDisk)) << c.Asked;
    }
    // Once per folder as spelt: Aircraft/b000/, aircraft/B000/, Aircraft/b001/,
    // Aircraft/b000/TEXTURE.TWO/, work/b000/.
    EXPECT_EQ(snapshot.Listings(), 5u);

    // A change after the listing shows only without the snapshot.
    fs::create_directories(aircraft / "texture.new");
    const std::string created = dir.Dir() + "Aircraft\\b000\\texture.new";
    EXPECT_EQ(snapshot.Kind(created), std::nullopt);
    EXPECT_EQ(wh::TPathSnapshot().Kind(created), TKind::Folder);
}

} // namespace
