#include "app/PickerRules.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::TTempDir;
using test::WriteFile;

TEST(PickerRulesTest, PackagePickerStartsInTheCurrentFilesFolder) {
    TTempDir dir;
    WriteFile(dir / "my source/packages.lst", "");
    const std::pair<std::string, std::string> cases[] = {
        {"\"" + (dir / "my source/packages.lst") + "\"", dir / "my source/packages.lst"},
        {"\"" + (dir / "my source/notyet.lst") + "\"", dir / "my source/notyet.lst"}, // the file need not exist
        {dir / "gone/packages.lst", "packages.lst"},                                  // folder missing: name only
        {"", ""},
    };
    for (const auto& [text, start] : cases)
        EXPECT_EQ(PackagePickerStart(text), start) << text;
}

TEST(PickerRulesTest, PickedPathIsQuotedOnlyWhenItHasABlank) {
    EXPECT_EQ(PackagePickerResult("/data/packages.lst"), "/data/packages.lst");
    EXPECT_EQ(PackagePickerResult("/my data/packages.lst"), "\"/my data/packages.lst\"");
}

TEST(PickerRulesTest, FolderPickerStartsAtTheEditsDirectoryOrTheRoot) {
    TTempDir dir;
    std::filesystem::create_directories(dir / "FS2002");
    WriteFile(dir / "file.txt", "");
    const std::pair<std::string, std::string> cases[] = {
        {dir / "FS2002", dir / "FS2002"}, {dir / "missing", "/"}, {dir / "file.txt", "/"}, {"", "/"}, {"   ", "/"},
    };
    for (const auto& [text, start] : cases)
        EXPECT_EQ(FolderPickerStart(text), start) << text;
}

} // namespace
} // namespace wh
