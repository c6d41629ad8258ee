#include "platform/FreeSpace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileStatus.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

TEST(FreeSpaceTest, AFolderTellsItsRoomAndDeviceAMissingOneNothing) {
    test::TTempDir dir;
    std::filesystem::create_directory(dir / "sub");
    const auto room = FreeSpaceOf(dir / "sub");
    ASSERT_TRUE(room);
    TFileStatus status;
    ASSERT_TRUE(PathStatus(dir.Path(), status));
    EXPECT_EQ(room->Device, status.Device);
    const std::filesystem::space_info space = std::filesystem::space(dir.Path());
    // Other writers may change it between the two questions, by little.
    const std::uint64_t drift = room->AvailableBytes > space.available ? room->AvailableBytes - space.available
                                                                       : space.available - room->AvailableBytes;
    EXPECT_LT(drift, 64u << 20);
    EXPECT_FALSE(FreeSpaceOf(dir / "missing"));
}

} // namespace
} // namespace wh
