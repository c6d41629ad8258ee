#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace {

using wh::test::TTempDir;
namespace fs = std::filesystem;

// "Ä" as Windows-1252 and as the UTF-8 name a Linux file system stores.
const std::string kAnsiUpperAUml = "\xC4";
const std::string kAnsiLowerAUml = "\xE4";
const std::string kUtf8UpperAUml = "\xC3\x84";

class OsPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        wh::test::WriteFile(Dir.Path() / "Aircraft" / "Texture.ABC" / "Texture.BMP", "bmp");
        wh::test::WriteFile(Dir.Path() / "Aircraft" / "Aircraft.cfg", "cfg");
        fs::create_directories(Dir.Path() / (kUtf8UpperAUml + "-Ordner"));
    }
    // The resolved path relative to the temporary folder.
    std::string Resolve(const std::string& relative) const {
        const std::string resolved = wh::OsPath(Dir.Dir() + relative).string();
        EXPECT_EQ(resolved.rfind(Dir.Dir(), 0), 0u) << resolved;
        return resolved.substr(Dir.Dir().size());
    }
    TTempDir Dir;
};

TEST_F(OsPathTest, ResolvesEachComponentWithoutRegardToCase) {
    struct Case {
        std::string Asked;
        std::string Expected;
    };
    const Case cases[] = {
        {"Aircraft/Texture.ABC/Texture.BMP", "Aircraft/Texture.ABC/Texture.BMP"},
        {"aircraft\\texture.abc\\texture.bmp", "Aircraft/Texture.ABC/Texture.BMP"},
        {"AIRCRAFT\\aircraft.CFG", "Aircraft/Aircraft.cfg"},
        {"aircraft\\\\Texture.abc//TEXTURE.bmp", "Aircraft/Texture.ABC/Texture.BMP"},
        {"aircraft\\", "Aircraft/"},
        {"aircraft\\texture.abc\\Missing\\Deeper.txt", "Aircraft/Texture.ABC/Missing/Deeper.txt"},
        {"nothing\\aircraft\\texture.abc", "nothing/aircraft/texture.abc"},
        {"aircraft\\New.cfg", "Aircraft/New.cfg"},
        {kAnsiUpperAUml + "-Ordner", kUtf8UpperAUml + "-Ordner"},
        {kAnsiLowerAUml + "-ORDNER\\Sub", kUtf8UpperAUml + "-Ordner/Sub"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Resolve(c.Asked), c.Expected) << c.Asked;
}

TEST_F(OsPathTest, PrefersTheExactNameAndOtherwiseTheLowestOfSeveralMatches) {
    fs::create_directories(Dir.Path() / "aircraft");
    EXPECT_EQ(Resolve("aircraft"), "aircraft");
    EXPECT_EQ(Resolve("Aircraft"), "Aircraft");
    EXPECT_EQ(Resolve("AIRCRAFT"), "Aircraft");
}

TEST_F(OsPathTest, ResolvesRelativePathsAgainstTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(Dir.Path());
    const std::string resolved = wh::OsPath("aircraft\\TEXTURE.abc").string();
    const std::string missing = wh::OsPath("nowhere\\File").string();
    fs::current_path(previous);
    EXPECT_EQ(resolved, "Aircraft/Texture.ABC");
    EXPECT_EQ(missing, "nowhere/File");
}

TEST(NativePathTest, MapsAndFoldsSeparatorsAndKeepsTheText) {
    struct Case {
        std::string Path, Expected;
    };
    const Case cases[] = {
        {"", ""},
        {"a320\\aircraft.lst", "a320/aircraft.lst"},
        {"/var//lib\\\\Wingharbour\\", "/var/lib/Wingharbour/"},
        {"\\\\/x", "/x"},
        {"Caf\xE9\\" + kAnsiUpperAUml, "Caf\xE9/" + kAnsiUpperAUml},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::NativePath(c.Path), c.Expected) << c.Path;
}

TEST(FileNamePartsTest, SplitAtTheLastDelimiter) {
    struct Case {
        std::string Path, Folder, Name, WithIni;
    };
    const Case cases[] = {
        {"C:\\FS2002\\fs2002.exe", "C:\\FS2002\\", "fs2002.exe", "C:\\FS2002\\fs2002.ini"},
        {"/usr/bin/client", "/usr/bin/", "client", "/usr/bin/client.ini"},
        {"a320\\texture.abc", "a320\\", "texture.abc", "a320\\texture.ini"},
        {"dir.v2/name", "dir.v2/", "name", "dir.v2/name.ini"},
        {"C:file.txt", "C:", "file.txt", "C:file.ini"},
        {"plain", "", "plain", "plain.ini"},
        {"folder\\", "folder\\", "", "folder\\.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wh::ExtractFilePath(c.Path), c.Folder) << c.Path;
        EXPECT_EQ(wh::ExtractFileName(c.Path), c.Name) << c.Path;
        EXPECT_EQ(wh::ChangeFileExt(c.Path, ".ini"), c.WithIni) << c.Path;
    }
}

TEST(ExistenceTest, TellsFilesFromFolders) {
    TTempDir dir;
    wh::test::WriteFile(dir.Path() / "Base" / "base.zip", "");
    struct Case {
        std::string Relative;
        bool IsFile, IsDir;
    };
    const Case cases[] = {
        {"Base\\base.zip", true, false}, {"BASE\\BASE.ZIP", true, false},   {"base", false, true},
        {"base\\", false, true},         {"base\\other.zip", false, false}, {"missing\\base.zip", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wh::FileExists(dir.Dir() + c.Relative), c.IsFile) << c.Relative;
        EXPECT_EQ(wh::DirectoryExists(dir.Dir() + c.Relative), c.IsDir) << c.Relative;
    }
}

TEST(ExecutablePathTest, NamesThisRunningProgram) {
    const std::string path = wh::ExecutablePath();
    EXPECT_EQ(wh::ExtractFileName(path), "PlatformTests");
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(wh::FileExists(path));
}

TEST(CommonAppDataFolderTest, OverrideReplacesTheMachineFolderUntilCleared) {
    const std::string machine = wh::CommonAppDataFolder();
    ASSERT_FALSE(machine.empty());
    EXPECT_EQ(machine.front(), '/');
    {
        TTempDir dir;
        wh::test::TWorkingDirOverride override(dir.Path().string());
        EXPECT_EQ(wh::CommonAppDataFolder(), dir.Path().string());
    }
    EXPECT_EQ(wh::CommonAppDataFolder(), machine);
}

} // namespace
