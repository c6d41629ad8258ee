#include "platform/FreeSpace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "tests/support/TempDir.h"

namespace wh {
namespace {

// The unprivileged writer's room and the device, also for the program's form
// of the name (within what other writers move meanwhile); nothing for a missing folder.
TEST(FreeSpaceTest, TellsTheRoomAndTheDeviceOfTheFolder) {
    test::TTempDir dir;
    struct stat folder {};
    struct statvfs room {};
    ASSERT_EQ(::stat(dir.Path().c_str(), &folder), 0);
    ASSERT_EQ(::statvfs(dir.Path().c_str(), &room), 0);
    const auto space = FreeSpaceOf(dir.Path().string() + "\\");
    ASSERT_TRUE(space);
    EXPECT_EQ(space->Device, static_cast<std::uint64_t>(folder.st_dev));
    EXPECT_NEAR(static_cast<double>(space->AvailableBytes), double(room.f_bavail) * double(room.f_frsize), 64e6);
    EXPECT_FALSE(FreeSpaceOf(dir / "missing"));
}

} // namespace
} // namespace wh
