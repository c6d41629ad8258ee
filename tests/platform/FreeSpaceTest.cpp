#include "platform/FreeSpace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "tests/support/TempDir.h"

namespace wh {
namespace {

// What the system tells of the folder, named in the program's form too; the
// room within what other writers on the machine may move meanwhile.
TEST(FreeSpaceTest, TellsTheRoomAndTheDeviceOfTheFolder) {
    test::TTempDir dir;
    struct stat folder {};
    struct statvfs room {};
    ASSERT_EQ(::stat(dir.Path().c_str(), &folder), 0);
    ASSERT_EQ(::statvfs(dir.Path().c_str(), &room), 0);
    const auto available = static_cast<double>(room.f_bavail) * static_cast<double>(room.f_frsize);
    for (const std::string& path : {dir.Path().string(), dir.Path().string() + "\\"}) {
        const auto space = FreeSpaceOf(path);
        ASSERT_TRUE(space) << path;
        EXPECT_EQ(space->Device, static_cast<std::uint64_t>(folder.st_dev)) << path;
        EXPECT_NEAR(static_cast<double>(space->AvailableBytes), available, 64.0 * (1 << 20)) << path;
    }
    EXPECT_FALSE(FreeSpaceOf(dir / "missing"));
}

} // namespace
} // namespace wh
