#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/IniFiles.h"
#include "profile/MemIniFiles.h"
#include "tests/profile/ProfileTestFiles.h"
#include "tests/support/TempDir.h"

using wh::TIniFile;
using wh::TMemIniFile;
using wh::test::TTempDir;
using wh::test::WriteFile;

namespace {

const std::string kCatalogue = wh::test::JoinLines(
    {"[Wingharbour]", "wh_basetimestamp=0x10", "[fltsim.0]", "  Texture = 'Blue Sky'  ", "wh_archivesize=12abc",
     "wh_status=OK", ";comment=1", "flag=yes", "[FLTSIM.0]", "texture=second", "[fltsim.1]", "=empty name first", "k=v",
     "[fltsim.2]", "novalue", "[fltsim.3]"},
    "\r\n");

struct TReadCase {
    std::string Section, Key;
};

// Every read answers as TIniFile answers on the same file.
TEST(MemIniFile, ReadsAsTheProfileFileReads) {
    TTempDir dir;
    const std::string path = dir / "aircraft.lst";
    WriteFile(path, kCatalogue);
    const TIniFile file(path);
    const TMemIniFile snapshot(path);
    const std::vector<TReadCase> cases = {
        {"fltsim.0", "texture"},
        {"FLTSIM.0", " TEXTURE "},
        {"fltsim.0", "wh_archivesize"},
        {"fltsim.0", "wh_status"},
        {"fltsim.0", ";comment"},
        {"fltsim.0", "flag"},
        {"Wingharbour", "wh_basetimestamp"},
        {"fltsim.1", ""},
        {"fltsim.1", "k"},
        {"fltsim.2", "novalue"},
        {"fltsim.3", "k"},
        {"nothing", "k"},
    };
    for (const auto& c : cases) {
        const std::string where = c.Section + "/" + c.Key;
        EXPECT_EQ(snapshot.ReadString(c.Section, c.Key, "dflt "), file.ReadString(c.Section, c.Key, "dflt ")) << where;
        EXPECT_EQ(snapshot.ReadInteger(c.Section, c.Key, -7), file.ReadInteger(c.Section, c.Key, -7)) << where;
        EXPECT_EQ(snapshot.ReadBool(c.Section, c.Key, true), file.ReadBool(c.Section, c.Key, true)) << where;
        EXPECT_EQ(snapshot.ReadSection(c.Section), file.ReadSection(c.Section)) << where;
        EXPECT_EQ(snapshot.SectionExists(c.Section), file.SectionExists(c.Section)) << where;
    }
    // The comparison above is only worth something if the file says things.
    EXPECT_EQ(snapshot.ReadString("fltsim.0", "texture", ""), "Blue Sky");
    EXPECT_EQ(snapshot.ReadInteger("Wingharbour", "wh_basetimestamp", -1), 16);
    EXPECT_FALSE(snapshot.SectionExists("fltsim.1"));
    EXPECT_TRUE(snapshot.SectionExists("fltsim.0"));
}

TEST(MemIniFile, KeepsTheContentItWasMadeWith) {
    TTempDir dir;
    const std::string path = dir / "packages.lst";
    WriteFile(path, "[package.0]\r\ndirectory=a320\r\n");
    const TMemIniFile snapshot(path);
    TIniFile(path).WriteString("package.0", "directory", "b737");
    WriteFile(path, "[package.0]\r\ndirectory=a380\r\n[package.1]\r\ndirectory=md11\r\n");
    EXPECT_EQ(snapshot.ReadString("package.0", "directory", ""), "a320");
    EXPECT_FALSE(snapshot.SectionExists("package.1"));
    EXPECT_EQ(TMemIniFile(path).ReadString("package.1", "directory", ""), "md11");
}

TEST(MemIniFile, AMissingFileReadsAsEmpty) {
    TTempDir dir;
    const TMemIniFile snapshot(dir / "missing.lst");
    WriteFile(dir / "missing.lst", "[s]\r\nk=v\r\n");
    EXPECT_EQ(snapshot.ReadString("s", "k", "dflt"), "dflt");
    EXPECT_TRUE(snapshot.ReadSection("s").empty());
}

} // namespace
