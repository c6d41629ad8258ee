#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <optional>

#include "install/CfgSections.h"
#include "platform/Errors.h"
#include "profile/IniFiles.h"
#include "tests/profile/ProfileTestFiles.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

using wh::test::FolderEntries;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::WriteFile;

namespace {

const std::string CatalogueText = "[fltsim.4]\r\ntexture=abc\r\nui_type=X\r\n\r\n[fltsim.5]\r\ntexture=def\r\n";

// A cfg as other tools leave it: every kind of line end, spacing, comments, accents.
const std::string UserCfg = "[General]\r\natc_type = C\xE9ssna ; mine\n\n[fltsim.0]\rtexture=a\r\n"
                            "  // comment\t\n[FLTSIM.1] ; note\r\ntexture=b";

// Windows-style path below a folder, as the installer composes it.
std::string CfgPath(const TTempDir& dir, const std::string& folder) { return dir.Dir() + folder + "\\AIRCRAFT.CFG"; }

TEST(CfgSectionsFile, RenumberRewritesOnlyWhatItsRuleTouches) {
    TTempDir dir;
    std::filesystem::create_directory(dir / "plane");
    WriteFile(dir / "plane/Aircraft.cfg", UserCfg);
    ::chmod((dir / "plane/Aircraft.cfg").c_str(), 0640);
    wh::RenumberSections(CfgPath(dir, "plane"), "fltsim.");
    EXPECT_EQ(ReadFile(dir / "plane/Aircraft.cfg"), "[General]\r\natc_type = C\xE9ssna ; mine\r\n\r\n[fltsim.0]\r\n"
                                                    "texture=a\r\n  // comment\t\r\n[fltsim.1]\r\ntexture=b\r\n");
    EXPECT_EQ(FolderEntries(dir / "plane"), std::set<std::string>{"Aircraft.cfg"});
    EXPECT_EQ(wh::test::ModeBits(dir / "plane/Aircraft.cfg"), 0640u);
}

template <typename E>
std::string MessageOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const E& e) {
        return e.what();
    }
    return "nothing raised";
}

TEST(CfgSectionsFile, MissingFilesRaiseTheirErrorsAndCreateNothing) {
    TTempDir dir;
    std::filesystem::create_directory(dir / "plane");
    WriteFile(dir / "aircraft.lst", CatalogueText);
    const std::string cfg = dir.Dir() + "plane\\aircraft.cfg";
    const std::string nowhere = "Cannot open file \"" + dir.Dir() + "plane/aircraft.cfg\". No such file or directory";
    EXPECT_EQ(MessageOf<wh::EWingharbour>([&] { wh::RenumberSections(cfg, "fltsim."); }),
              "aircraft.cfg not found in '" + dir.Dir() + "plane/'.");
    EXPECT_EQ(MessageOf<wh::EFOpenError>([&] { wh::FindLiverySection(cfg, "texture", "abc"); }), nowhere);
    EXPECT_TRUE(FolderEntries(dir / "plane").empty());
}

// The installer's edits of a cfg file: read whole, changed, written whole.
void Append(const std::string& source, const std::string& cfg) {
    wh::TCfgLines lines = wh::LoadLines(cfg);
    wh::AppendSectionLines(wh::LoadLines(source), lines, "fltsim.4");
    wh::SaveLines(cfg, lines);
}

bool Replace(const std::string& source, const std::string& cfg) {
    wh::TCfgLines lines = wh::LoadLines(cfg);
    if (!wh::ReplaceLiverySectionLines(wh::LoadLines(source), lines, "fltsim.4", {"texture=abc"}))
        return false;
    wh::SaveLines(cfg, lines);
    return true;
}

TEST(CfgSectionsFile, ProfileStoreSeesEveryLineListWriteAtOnce) {
    TTempDir dir;
    const std::string cfg = dir / "aircraft.cfg", update = dir / "update.lst";
    WriteFile(dir / "aircraft.lst", CatalogueText);
    wh::TIniFile ini(cfg);
    ini.WriteString("fltsim.0", "texture", "a");
    // Every step right after the other, well within one tick of the file clock.
    for (int round = 0; round < 10; ++round) {
        WriteFile(update, "[fltsim.4]\r\ntexture=abc\r\nui_type=Y" + std::to_string(round) + "\r\n");
        Append(dir / "aircraft.lst", cfg);
        ASSERT_EQ(ini.ReadString("fltsim.4", "ui_type", "-"), "X") << round;
        wh::RenumberSections(cfg, "fltsim.");
        ini.WriteString("fltsim.1", "ui_manufacturer", "WH");
        ASSERT_TRUE(Replace(update, cfg));
        ASSERT_EQ(ini.ReadString("fltsim.1", "ui_type", "-"), "Y" + std::to_string(round)) << round;
        ASSERT_EQ(ini.ReadString("fltsim.1", "ui_manufacturer", "-"), "-") << round;
        ini.EraseSection("fltsim.1");
        ASSERT_EQ(wh::FindLiverySection(cfg, "texture", "abc"), "") << round;
    }
}

struct TFailureCase {
    const char* Name;
    std::function<void(const std::filesystem::path& folder)> Restrict;
    bool LimitFileSize;
};

TEST(CfgSectionsFile, RefusedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::vector<TFailureCase> cases = {
        {"full disk", [](auto&) {}, true},
        {"read-only file", [](auto& f) { ::chmod((f / "aircraft.cfg").c_str(), 0444); }, false},
        {"read-only folder", [](auto& f) { ::chmod(f.c_str(), 0555); }, false},
    };
    wh::test::AsUnprivileged([&] {
        for (const auto& c : cases) {
            TTempDir dir;
            const auto folder = dir.Path() / "plane";
            std::filesystem::create_directory(folder);
            WriteFile(dir / "aircraft.lst", CatalogueText);
            WriteFile(folder / "aircraft.cfg", UserCfg);
            c.Restrict(folder);
            const std::string cfg = (folder / "aircraft.cfg").string();
            try {
                std::optional<wh::test::TFileSizeLimit> limit;
                if (c.LimitFileSize)
                    limit.emplace(16);
                wh::RenumberSections(cfg, "fltsim.");
                ADD_FAILURE() << c.Name << ": no error";
            } catch (const wh::EWriteError& e) {
                EXPECT_EQ(std::string(e.what()), "Unable to write to " + cfg) << c.Name;
            }
            EXPECT_EQ(ReadFile(folder / "aircraft.cfg"), UserCfg) << c.Name;
            EXPECT_EQ(FolderEntries(folder), std::set<std::string>{"aircraft.cfg"}) << c.Name;
            ::chmod(folder.c_str(), 0755);
        }
    });
}

} // namespace
