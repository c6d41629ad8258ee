#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <vector>

#include "files/CommandLineSplit.h"
#include "files/FileCopy.h"
#include "files/FolderDeletion.h"
#include "files/WorkingDir.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/NamedCases.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

using wh::test::PrintTo;
using wh::test::RandomBytes;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::TWorkingDirOverride;
using wh::test::WriteFile;
namespace fs = std::filesystem;

// The kind and message of the file error the call raises, "" when it raises none.
template <typename TCall>
std::string FileError(TCall call) {
    try {
        call();
    } catch (const wh::EFOpenError& e) {
        return std::string("open: ") + e.what();
    } catch (const wh::EReadError& e) {
        return std::string("read: ") + e.what();
    } catch (const wh::EWriteError& e) {
        return std::string("write: ") + e.what();
    }
    return {};
}

TEST(AppendSeparatorTest, TrimsAndAppendsOnce) {
    struct Case {
        std::string Text;
        char Separator;
        std::string Expected;
    };
    const Case cases[] = {
        {"  abc/def  ", '/', "abc/def/"},
        {"abc/def/", '/', "abc/def/"},
        {"    ", '/', ""},
        {"", '\\', ""},
        {"C:\\FS2002", '\\', "C:\\FS2002\\"},
        {"\tC:\\FS2002\\\r\n", '\\', "C:\\FS2002\\"},
        {"http://host/path\\", '/', "http://host/path\\/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::AppendSeparator(c.Text, c.Separator), c.Expected) << '"' << c.Text << '"';
}

TEST(FileCopyTest, CopiesEverySizeAroundTheBlockExactly) {
    TTempDir dir;
    const std::size_t sizes[] = {0, 1, 8191, 8192, 8193, 3 * 8192, 1024 * 1024 + 3};
    for (std::size_t size : sizes) {
        const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
        const std::string source = dir / ("source-" + std::to_string(size));
        const std::string destination = dir / ("copy-" + std::to_string(size));
        WriteFile(source, bytes);
        wh::FileCopy(source, destination);
        EXPECT_EQ(ReadFile(destination), bytes) << size;
    }
}

TEST(FileCopyTest, TruncatesALongerDestination) {
    TTempDir dir;
    WriteFile(dir / "short", "new");
    WriteFile(dir / "Long.zip", RandomBytes(20000, 7));
    wh::FileCopy(dir / "short", dir.Dir() + "long.ZIP");
    EXPECT_EQ(ReadFile(dir / "Long.zip"), "new");
}

TEST(FileCopyTest, GivesTheCopyTheTimeOfTheCopy) {
    TTempDir dir;
    WriteFile(dir / "source", "x");
    fs::last_write_time(dir / "source", fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    const auto before = fs::file_time_type::clock::now() - std::chrono::seconds(5);
    wh::FileCopy(dir / "source", dir / "copy");
    EXPECT_GT(fs::last_write_time(dir / "copy"), before);
}

TEST(FileCopyTest, ReportsEachFailureWithItsMessageAndPath) {
    TTempDir dir;
    WriteFile(dir / "source", RandomBytes(100, 1));
    WriteFile(dir / "plain-file", "");
    fs::create_directories(dir.Path() / "folder");
    const std::string base = dir.Path().string();

    struct Case {
        std::string Source, Destination, Error;
    };
    const Case cases[] = {
        // Missing source, named with the separators folded.
        {base + "\\\\missing.zip", base + "\\never.zip", "open: Could not open \"" + base + "/missing.zip\"."},
        // A destination whose folder is a regular file cannot be created, root or not.
        {base + "/source", base + "/plain-file/copy", "open: Could not open \"" + base + "/plain-file/copy\"."},
        // A folder opens but cannot be read.
        {base + "/folder", base + "/copy-of-folder", "read: Error reading from \"" + base + "/folder\""},
        // A device that is always full takes no data.
        {base + "/source", "/dev/full", "write: Error writing \"/dev/full\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileError([&] { wh::FileCopy(c.Source, c.Destination); }), c.Error) << c.Source;
    EXPECT_FALSE(fs::exists(dir / "never.zip"));
}

TEST(FileSizeOfTest, SizeOrMinusOne) {
    TTempDir dir;
    WriteFile(dir / "zapped.zip", "");
    WriteFile(dir / "Whole.zip", RandomBytes(8193, 3));
    fs::create_directories(dir.Path() / "folder");
    struct Case {
        std::string Relative;
        std::int32_t Size;
    };
    const Case cases[] = {
        {"zapped.zip", 0}, {"whole.ZIP", 8193}, {"missing.zip", -1}, {"missing\\whole.zip", -1}, {"folder", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::FileSizeOf(dir.Dir() + c.Relative), c.Size) << c.Relative;
}

TEST(DeleteDirectoryContentsTest, EmptiesNestedFoldersAndLinksAndLeavesTheFolder) {
    TTempDir dir;
    const fs::path root = dir.Path() / "texture.abc";
    WriteFile(root / "a.bmp", "a");
    WriteFile(root / "sub" / "b.bmp", "b");
    WriteFile(root / "sub" / "deeper" / "c.bmp", "c");
    fs::create_directories(root / "empty");
    WriteFile(dir.Path() / "outside" / "precious.txt", "keep me");
    fs::create_directory_symlink(dir.Path() / "outside", root / "link");
    wh::DeleteDirectoryContents(root.string());
    EXPECT_TRUE(fs::is_directory(root));
    EXPECT_TRUE(fs::is_empty(root));
    // The link goes, not what it points at.
    EXPECT_EQ(ReadFile(dir.Path() / "outside" / "precious.txt"), "keep me");
}

TEST(DeleteDirectoryContentsTest, ReadOnlyFileStaysWithTheFoldersAboveIt) {
    TTempDir dir;
    const fs::path root = dir.Path() / "texture.abc";
    WriteFile(root / "gone.bmp", "g");
    WriteFile(root / "keep" / "inner" / "locked.bmp", "l");
    WriteFile(root / "keep" / "inner" / "gone.bmp", "g");
    WriteFile(root / "other" / "gone.bmp", "g");
    fs::permissions(root / "keep" / "inner" / "locked.bmp", fs::perms::owner_read);
    wh::DeleteDirectoryContents(root.string());
    EXPECT_TRUE(fs::exists(root / "keep" / "inner" / "locked.bmp"));
    EXPECT_FALSE(fs::exists(root / "keep" / "inner" / "gone.bmp"));
    EXPECT_FALSE(fs::exists(root / "gone.bmp"));
    EXPECT_FALSE(fs::exists(root / "other"));
}

TEST(DeleteDirectoryContentsTest, MissingFolderChangesNothing) {
    TTempDir dir;
    EXPECT_NO_THROW(wh::DeleteDirectoryContents(dir / "missing"));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(CreateDirectoryPathTest, CreatesEveryMissingFolder) {
    TTempDir dir;
    const std::string base = dir.Path().string();
    wh::CreateDirectoryPath(base + "\\a320\\texture.abc\\");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "a320" / "texture.abc"));
    wh::CreateDirectoryPath(base + "/A320/Texture.ABC/panel");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "a320" / "texture.abc" / "panel"));
    EXPECT_FALSE(fs::exists(dir.Path() / "A320"));
}

TEST(CreateDirectoryPathTest, IgnoresFailuresButRefusesAnEmptyPath) {
    TTempDir dir;
    WriteFile(dir / "plain-file", "");
    EXPECT_NO_THROW(wh::CreateDirectoryPath(dir / "plain-file/below"));
    EXPECT_FALSE(fs::exists(dir / "plain-file/below"));
    EXPECT_THROW(wh::CreateDirectoryPath(""), wh::EInOutError);
}

TEST(WorkingDirTest, IsTheFolderBelowTheCommonFolderAndIsRecreated) {
    TTempDir dir;
    TWorkingDirOverride override(dir / "common/appdata");
    const std::string expected = dir.Dir() + "common/appdata/Wingharbour/";
    const mode_t previous = ::umask(0);
    EXPECT_EQ(wh::WorkingDir(), expected);
    ::umask(previous);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(fs::status(expected).permissions() & fs::perms::others_all, fs::perms::none);

    WriteFile(expected + "packages.lst", "x");
    fs::remove_all(dir.Path() / "common");
    EXPECT_EQ(wh::WorkingDir(), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_TRUE(fs::is_empty(expected));
}

struct TWorkingDirFallbackCase {
    const char* Name;
    bool CommonFolderIsAFile; // else a read-only folder
    bool CommonWorkingDirExists;
};

class WorkingDirFallbackTest : public ::testing::TestWithParam<TWorkingDirFallbackCase> {};

// The user's data folder, never the folder beside the program.
TEST_P(WorkingDirFallbackTest, UsesTheUsersDataFolderWhenTheCommonOneIsNotWritable) {
    const TWorkingDirFallbackCase& c = GetParam();
    const std::string besideProgram = wh::ExtractFilePath(wh::ExecutablePath()) + "Wingharbour";
    const bool besideExisted = fs::exists(besideProgram);
    wh::test::AsUnprivileged([&] {
        TTempDir dir;
        std::string common = dir / "locked";
        if (c.CommonFolderIsAFile) {
            WriteFile(common, "");
            common += "/appdata";
        } else {
            fs::create_directories(dir.Path() / "locked");
            if (c.CommonWorkingDirExists)
                fs::create_directories(dir.Path() / "locked" / "Wingharbour");
            fs::permissions(dir.Path() / "locked" / (c.CommonWorkingDirExists ? "Wingharbour" : ""),
                            fs::perms::owner_read | fs::perms::owner_exec);
        }
        TWorkingDirOverride override(common);
        wh::test::TScopedEnvironment environment({{"XDG_DATA_HOME", dir / "data"}, {"HOME", "/nonexistent"}});
        const std::string expected = dir / "data/Wingharbour/";
        EXPECT_EQ(wh::WorkingDir(), expected);
        EXPECT_TRUE(fs::is_directory(expected));
        if (!c.CommonFolderIsAFile) {
            EXPECT_EQ(fs::exists(dir.Path() / "locked" / "Wingharbour"), c.CommonWorkingDirExists);
        }
        if (!c.CommonFolderIsAFile)
            fs::permissions(dir.Path() / "locked" / (c.CommonWorkingDirExists ? "Wingharbour" : ""),
                            fs::perms::owner_all, fs::perm_options::add);
    });
    EXPECT_EQ(fs::exists(besideProgram), besideExisted);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkingDirFallbackTest,
                         ::testing::Values(TWorkingDirFallbackCase{"CommonFolderCannotBeMade", true, false},
                                           TWorkingDirFallbackCase{"CommonFolderReadOnly", false, false},
                                           TWorkingDirFallbackCase{"WorkingDirReadOnly", false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CommandLineTest, SplitsAsWindowsDoes) {
    struct Case {
        std::string Text;
        std::vector<std::string> Tokens;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"/ignorestatus", {"/ignorestatus"}},
        {"  a   b\tc ", {"a", "b", "c"}},
        {"\"C:\\Program Files\\FS\\packages.lst\" /x", {"C:\\Program Files\\FS\\packages.lst", "/x"}},
        {"pre\"fix mid\"post next", {"prefix midpost", "next"}},
        {"\"\" b", {"", "b"}},
        {"\"unclosed quote here", {"unclosed quote here"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::SplitCommandLine(c.Text), c.Tokens) << c.Text;
}

TEST(CommandLineTest, EditFileNameKeepsAnExistingNameWithBlanks) {
    TTempDir dir;
    WriteFile(dir / "my packages.lst", "");
    const std::string withBlank = dir / "my packages.lst";
    struct Case {
        std::string Text, Expected;
    };
    const Case cases[] = {
        {withBlank, withBlank},
        {"\"" + withBlank + "\"", withBlank},
        {"\"" + dir.Dir() + "other file.lst\" extra", dir.Dir() + "other file.lst"},
        {dir.Dir() + "missing name.lst", dir.Dir() + "missing"},
        {"   ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::EditFileName(c.Text), c.Expected) << c.Text;
}

} // namespace
