#include "platform/FreeSpace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace wh {
namespace {

// The room and the device of the folder, as the system tells them, for
// every spelling that names a folder; nothing for one that is not there.
TEST(FreeSpaceTest, TellsTheRoomAndTheDeviceOfTheFolder) {
    test::TTempDir dir;
    std::filesystem::create_directory(dir / "Sub");
    struct stat folder {};
    struct statvfs room {};
    ASSERT_EQ(::stat(dir.Path().c_str(), &folder), 0);
    ASSERT_EQ(::statvfs(dir.Path().c_str(), &room), 0);
    const std::uint64_t available = static_cast<std::uint64_t>(room.f_bavail) * room.f_frsize;

    struct TRow {
        const char* Name;
        std::string Path;
        bool Known;
    } const rows[] = {
        {"the folder", dir.Path().string(), true},
        {"a folder below it, in the program's form", dir / "Sub\\", true},
        {"a folder in another letter case", dir / "sub", true},
        {"a missing folder", dir / "missing", false},
    };
    for (const TRow& row : rows) {
        const auto space = FreeSpaceOf(row.Path);
        ASSERT_EQ(space.has_value(), row.Known) << row.Name;
        if (!space)
            continue;
        EXPECT_EQ(space->Device, static_cast<std::uint64_t>(folder.st_dev)) << row.Name;
        // Other writers on the machine move it meanwhile, by little.
        const std::uint64_t slack = 64ull << 20;
        EXPECT_LE(space->AvailableBytes, available + slack) << row.Name;
        EXPECT_GE(space->AvailableBytes + slack, available) << row.Name;
    }
}

} // namespace
} // namespace wh
