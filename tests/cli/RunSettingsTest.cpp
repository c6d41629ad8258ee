#include "cli/RunSettings.h"

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "cli/CommandLineOptions.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::TTempDir;

TEST(RunSettingsTest, OptionsOverrideTheStoredSettingsAndInvalidOnesNameTheirMend) {
    TTempDir dir;
    test::WriteFile(dir / "source/packages.lst", "");
    std::filesystem::create_directories(dir / "fs/aircraft");
    TWelcomeSettings stored; // the URL source, as a first start has it
    stored.URLText = "http://host.example/Wingharbour/files";
    stored.FSDir = dir / "fs";
    struct TCase {
        const char* Name;
        std::function<void(TCliOptions&)> Options;
        std::function<void(TWelcomeSettings&)> Expected;
        std::string Problem;
    };
    const TCase cases[] = {
        {"stored as they are", [](TCliOptions&) {}, [](TWelcomeSettings&) {}, ""},
        {"--local chooses the local source", [&](TCliOptions& o) { o.PackageFile = dir / "source/packages.lst"; },
         [&](TWelcomeSettings& s) {
             s.LocalDir = true;
             s.URL = false;
             s.PackageFile = dir / "source/packages.lst";
         },
         ""},
        {"--url chooses the URL source", [](TCliOptions& o) { o.URL = "https://b.example/"; },
         [](TWelcomeSettings& s) { s.URLText = "https://b.example/"; }, ""},
        {"the two options", [](TCliOptions& o) { o.ZapFiles = false, o.FakeManufacturer = true; },
         [](TWelcomeSettings& s) { s.ZapFiles = false, s.FakeManufacturer = true; }, ""},
        {"a URL no fetch takes", [](TCliOptions& o) { o.URL = "ftp://x/"; },
         [](TWelcomeSettings& s) { s.URLText = "ftp://x/"; },
         "'ftp://x/' is no http, https or file URL; give --url URL or --local PACKAGES_LST"},
        {"a missing package file", [&](TCliOptions& o) { o.PackageFile = dir / "none.lst"; },
         [&](TWelcomeSettings& s) {
             s.LocalDir = true;
             s.URL = false;
             s.PackageFile = dir / "none.lst";
         },
         "the package file '" + (dir / "none.lst") + "' does not exist; give --local PACKAGES_LST or --url URL"},
        {"a folder without aircraft", [&](TCliOptions& o) { o.FSDir = dir / "source"; },
         [&](TWelcomeSettings& s) { s.FSDir = dir / "source"; },
         "'" + (dir / "source") + "' is no simulator folder: it holds no aircraft folder; give --fs DIR"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCliOptions options;
        c.Options(options);
        TWelcomeSettings expected = stored;
        c.Expected(expected);
        const TWelcomeSettings settings = RunSettings(stored, options);
        EXPECT_EQ(settings.LocalDir, expected.LocalDir);
        EXPECT_EQ(settings.PackageFile, expected.PackageFile);
        EXPECT_EQ(settings.URL, expected.URL);
        EXPECT_EQ(settings.URLText, expected.URLText);
        EXPECT_EQ(settings.FSDir, expected.FSDir);
        EXPECT_EQ(settings.ZapFiles, expected.ZapFiles);
        EXPECT_EQ(settings.FakeManufacturer, expected.FakeManufacturer);
        EXPECT_EQ(RunSettingsProblem(settings), c.Problem);
    }
    stored.FSDir = "  ";
    EXPECT_EQ(RunSettingsProblem(stored), "the settings name no simulator folder; give --fs DIR");
}

} // namespace
} // namespace wh
