#include "install/WelcomeValidation.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::TTempDir;
using test::WriteFile;

class WelcomeValidationTest : public testing::Test {
protected:
    WelcomeValidationTest() {
        WriteFile(Dir / "source/packages.lst", "[package.0]\r\n");
        WriteFile(Dir / "other name.txt", "");
        std::filesystem::create_directories(Dir / "fs/aircraft");
        std::filesystem::create_directories(Dir / "wine/Aircraft");
        std::filesystem::create_directories(Dir / "bare/scenery");
    }
    TWelcomeSettings Local(const std::string& packageFile) const {
        TWelcomeSettings page;
        page.LocalDir = true;
        page.URL = false;
        page.PackageFile = packageFile;
        page.FSDir = Dir / "fs";
        return page;
    }
    TWelcomeSettings Url(const std::string& url) const {
        TWelcomeSettings page;
        page.URLText = url;
        page.FSDir = Dir / "fs";
        return page;
    }
    TTempDir Dir;
};

TEST_F(WelcomeValidationTest, SourceTests) {
    struct TCase {
        const char* Name;
        TWelcomeSettings Page;
        bool Valid;
    };
    TWelcomeSettings neither = Url("http://a.example/");
    neither.URL = false;
    TWelcomeSettings urlNotSelected = Local("");
    urlNotSelected.URLText = "http://a.example/";
    const TCase cases[] = {
        {"neither source selected", neither, false},
        {"local file exists", Local(Dir / "source/packages.lst"), true},
        {"any existing file", Local("\"" + (Dir / "other name.txt") + "\""), true},
        {"local path is a folder", Local(Dir / "source"), false},
        {"local file missing", Local(Dir / "source/missing.lst"), false},
        {"local text blank", Local("   "), false},
        {"URL in lower case", Url("http://a.example/files/"), true},
        {"URL scheme in capitals", Url("HTTP://A.EXAMPLE/"), true},
        {"https", Url("https://a.example/"), true},
        {"HTTPS in capitals", Url("HTTPS://a.example/"), true},
        {"file scheme passes here", Url("file://c:/collection/"), true},
        {"leading blank fails", Url(" http://a.example/"), false},
        {"ftp fails", Url("ftp://a.example/"), false},
        {"scheme alone too short", Url("http:/"), false},
        {"blank URL", Url("   "), false},
        {"URL typed but local selected", urlNotSelected, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WelcomePageValid(c.Page), c.Valid) << c.Name;
}

TEST_F(WelcomeValidationTest, SimulatorDirectoryTests) {
    const std::pair<std::string, bool> cases[] = {
        {Dir / "fs", true},
        {Dir / "fs/", true},
        {Dir / "wine", true},  // "Aircraft" found whatever its letter case
        {Dir / "bare", false}, // exists, but no aircraft folder
        {Dir / "missing", false},
        {Dir / "other name.txt", false},
        {"", false},
        {"  ", false},
    };
    for (const auto& [fsDir, valid] : cases) {
        EXPECT_EQ(FSDirValid(fsDir), valid) << fsDir;
        TWelcomeSettings page = Url("http://a.example/");
        page.FSDir = fsDir;
        EXPECT_EQ(WelcomePageValid(page), valid) << fsDir;
    }
}

TEST_F(WelcomeValidationTest, LocalSourceFailingFallsBackToTheURLTest) {
    TWelcomeSettings page = Local(Dir / "source/missing.lst");
    page.URL = true; // not reachable through the radio group, but the test order holds
    page.URLText = "http://a.example/";
    EXPECT_FALSE(LocalSourceValid(page));
    EXPECT_TRUE(WelcomePageValid(page));
}

} // namespace
} // namespace wh
