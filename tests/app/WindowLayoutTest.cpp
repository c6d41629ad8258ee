#include "app/WindowLayout.h"

#include <gtest/gtest.h>

#include <map>

#include "profile/IniFiles.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

// A stored entry is used whole or not at all; the Welcome keys stay as they are.
TEST(WindowLayoutTest, AWrittenLayoutReadsBackOnlyWhenWholeAndOnAScreen) {
    const TLayoutLimits limits{560, 430, 3, {{0, 0, 1920, 1040}, {1920, 0, 1280, 1000}}};
    const TWindowLayout stored{100, 50, 800, 600, true, {200, 90, 60}, {2, 0, 1}};
    const struct TCase {
        const char* Name;
        std::map<std::string, std::string> Changed;
        std::optional<TWindowLayout> Layout;
    } cases[] = {
        {"as written, blanks in a list", {{"ColumnWidths", "200, 90,60"}}, stored},
        {"on screen two", {{"Left", "2000"}}, TWindowLayout{2000, 50, 800, 600, true, {200, 90, 60}, {2, 0, 1}}},
        {"a key empty or missing", {{"ColumnOrder", ""}}, std::nullopt},
        {"not a number", {{"Width", "80O"}}, std::nullopt},
        {"below the minimum", {{"Height", "429"}}, std::nullopt},
        {"absurdly large", {{"Width", "40000"}}, std::nullopt},
        {"a column too few", {{"ColumnWidths", "200,90"}}, std::nullopt},
        {"a column twice in the order", {{"ColumnOrder", "0,0,1"}}, std::nullopt},
        {"right of every screen", {{"Left", "3200"}}, std::nullopt},
        {"only a corner on a screen", {{"Left", "-750"}, {"Top", "1030"}}, std::nullopt},
    };
    for (const TCase& c : cases) {
        test::TTempDir dir;
        TIniFile settings(dir / "s.ini");
        settings.WriteString("Welcome", "edURL", "http://a.example/");
        EXPECT_EQ(ReadWindowLayout(settings, limits), std::nullopt) << "no entry";
        WriteWindowLayout(settings, stored);
        for (const auto& [key, value] : c.Changed)
            settings.WriteString(WindowLayoutSection, key, value);
        EXPECT_EQ(ReadWindowLayout(settings, limits), c.Layout) << c.Name;
        EXPECT_EQ(settings.ReadSection("Welcome"), std::vector<std::string>{"edURL"});
    }
}

} // namespace
} // namespace wh
