#include "platform/FileStatus.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileDescriptor.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using TKind = TFileStatus::TKind;

// Each way of asking sees the kind of entry it is meant to: a link is
// followed by path and handle, described as itself by the other two.
TEST(FileStatusTest, EachQueryTellsTheKindItIsMeantTo) {
    test::TTempDir dir;
    test::WriteFile(dir / "file", "12345");
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_symlink("file", dir / "link");
    std::filesystem::create_hard_link(dir / "file", dir / "second");
    const TFileDescriptor folder = OpenFile(dir.Path(), OpenRead | OpenFolder);

    struct TRow {
        const char* Name;
        TKind ByPath, ByLink, ByEntry;
    } const rows[] = {
        {"file", TKind::Regular, TKind::Regular, TKind::Regular},
        {"folder", TKind::Folder, TKind::Folder, TKind::Folder},
        {"link", TKind::Regular, TKind::Link, TKind::Link},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TFileStatus byPath, byLink, byEntry;
        ASSERT_TRUE(PathStatus(dir / row.Name, byPath));
        ASSERT_TRUE(LinkStatus(dir / row.Name, byLink));
        ASSERT_TRUE(EntryStatus(folder.Get(), row.Name, byEntry));
        EXPECT_EQ(byPath.Kind, row.ByPath);
        EXPECT_EQ(byLink.Kind, row.ByLink);
        EXPECT_EQ(byEntry.Kind, row.ByEntry);
    }

    TFileStatus file, second, handle, missing;
    ASSERT_TRUE(PathStatus(dir / "file", file));
    ASSERT_TRUE(PathStatus(dir / "second", second));
    const TFileDescriptor fd = OpenFile(dir / "link", OpenRead);
    ASSERT_TRUE(HandleStatus(fd.Get(), handle));
    EXPECT_TRUE(file.SameEntry(second) && file.SameEntry(handle));
    EXPECT_EQ(file.Links, 2u);
    EXPECT_EQ(handle.Size, 5);
    EXPECT_FALSE(PathStatus(dir / "missing", missing));
    EXPECT_FALSE(EntryStatus(folder.Get(), "missing", missing));
}

} // namespace
} // namespace wh
