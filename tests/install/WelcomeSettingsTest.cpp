#include "install/WelcomeSettings.h"

#include <gtest/gtest.h>

#include "profile/IniFiles.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;

const std::string DefaultURL = "http://host.example/Wingharbour/files";

TEST(WelcomeSettingsTest, NoFileGivesTheDefaults) {
    TTempDir dir;
    const TIniFile settings(dir / "none.ini");
    const TWelcomeSettings page = LoadWelcomeSettings(settings, DefaultURL);
    EXPECT_FALSE(page.LocalDir);
    EXPECT_EQ(page.PackageFile, "");
    EXPECT_TRUE(page.URL);
    EXPECT_EQ(page.URLText, DefaultURL);
    EXPECT_EQ(page.FSDir, "");
    EXPECT_TRUE(page.ZapFiles);
    EXPECT_FALSE(page.FakeManufacturer);
}

TEST(WelcomeSettingsTest, StoredValuesAndTheRadioGroup) {
    struct TCase {
        const char* Name;
        std::string Section;
        bool LocalDir, URL;
        std::string URLText;
    };
    const TCase cases[] = {
        {"three blanks give the default", "edURL=   \r\n", false, true, DefaultURL},
        {"empty gives the default", "edURL=\r\n", false, true, DefaultURL},
        {"blanks around a URL are kept", "edURL=\"  http://a.example/x  \"\r\n", false, true, "  http://a.example/x  "},
        {"both radios true: URL wins", "rbLocalDir=1\r\nrbURL=1\r\n", false, true, DefaultURL},
        {"both radios false: neither", "rbLocalDir=0\r\nrbURL=0\r\n", false, false, DefaultURL},
        {"local chosen", "rbLocalDir=1\r\nrbURL=0\r\n", true, false, DefaultURL},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        WriteFile(dir / "s.ini", "[Welcome]\r\n" + c.Section);
        const TWelcomeSettings page = LoadWelcomeSettings(TIniFile(dir / "s.ini"), DefaultURL);
        EXPECT_EQ(page.LocalDir, c.LocalDir) << c.Name;
        EXPECT_EQ(page.URL, c.URL) << c.Name;
        EXPECT_EQ(page.URLText, c.URLText) << c.Name;
    }
}

TEST(WelcomeSettingsTest, SavesEveryKeyInOrderAndReadsItBack) {
    TTempDir dir;
    WriteFile(dir / "packages.lst", "");
    TWelcomeSettings page;
    page.LocalDir = true;
    page.PackageFile = dir / "packages.lst";
    page.URL = false;
    page.URLText = " http://b.example/ ";
    page.FSDir = "/games/FS2002";
    page.ZapFiles = false;
    page.FakeManufacturer = true;
    TIniFile settings(dir / "s.ini");
    SaveWelcomeSettings(settings, page);

    const std::string text = ReadFile(dir / "s.ini");
    std::size_t last = 0;
    for (const char* key : {"rbLocalDir=1", "edPackageFile=", "rbURL=0", "edURL=", "FSDir=/games/FS2002",
                            "cbZapFiles=0", "cbFakeManufacturer=1"}) {
        const std::size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GT(at, last) << key << " out of order";
        last = at;
    }
    const TWelcomeSettings back = LoadWelcomeSettings(settings, DefaultURL);
    EXPECT_TRUE(back.LocalDir);
    EXPECT_EQ(back.PackageFile, page.PackageFile);
    EXPECT_FALSE(back.URL);
    EXPECT_EQ(back.FSDir, page.FSDir);
    EXPECT_FALSE(back.ZapFiles);
    EXPECT_TRUE(back.FakeManufacturer);
}

TEST(WelcomeSettingsTest, PackageFileIsStoredAsTheEditsFileName) {
    TTempDir dir;
    WriteFile(dir / "with blank/packages.lst", "");
    const std::string quoted = "\"" + (dir / "with blank/packages.lst") + "\"";
    const std::pair<std::string, std::string> cases[] = {
        {quoted, dir / "with blank/packages.lst"},                          // quotes removed
        {dir / "with blank/packages.lst", dir / "with blank/packages.lst"}, // an existing file as typed
        {"/missing/packages.lst extra words", "/missing/packages.lst"},     // first token only
        {"", ""},
    };
    for (const auto& [text, stored] : cases) {
        TWelcomeSettings page;
        page.PackageFile = text;
        TIniFile settings(dir / "s.ini");
        SaveWelcomeSettings(settings, page);
        EXPECT_EQ(settings.ReadString(WelcomeSection, "edPackageFile", "?"), stored) << text;
    }
}

} // namespace
} // namespace wh
