#include "app/WindowLayout.h"

#include <gtest/gtest.h>

#include <map>

#include "profile/IniFiles.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::PrintTo;

const TLayoutLimits Limits{560, 430, 3, {{0, 0, 1920, 1040}, {1920, 0, 1280, 1000}}};

// A stored entry is used whole or not at all.
TEST(WindowLayoutTest, AStoredLayoutIsUsedOnlyWhenWholeAndOnAScreen) {
    const std::map<std::string, std::string> whole = {{"Left", "100"},         {"Top", "50"},
                                                      {"Width", "800"},        {"Height", "600"},
                                                      {"Maximized", "1"},      {"ColumnWidths", "200, 90,60"},
                                                      {"ColumnOrder", "2,0,1"}};
    const TWindowLayout stored{100, 50, 800, 600, true, {200, 90, 60}, {2, 0, 1}};
    const struct TCase {
        const char* Name;
        std::map<std::string, std::string> Changed; // an empty value removes the key
        std::optional<TWindowLayout> Layout;
    } cases[] = {
        {"whole", {}, stored},
        {"on the second screen", {{"Left", "2000"}}, TWindowLayout{2000, 50, 800, 600, true, {200, 90, 60}, {2, 0, 1}}},
        {"a key missing", {{"ColumnOrder", ""}}, std::nullopt},
        {"not a number", {{"Width", "80O"}}, std::nullopt},
        {"a width not a number", {{"ColumnWidths", "200,,60"}}, std::nullopt},
        {"below the minimum width", {{"Width", "559"}}, std::nullopt},
        {"below the minimum height", {{"Height", "429"}}, std::nullopt},
        {"absurdly large", {{"Height", "40000"}}, std::nullopt},
        {"a column too few", {{"ColumnWidths", "200,90"}}, std::nullopt},
        {"a column of no width", {{"ColumnWidths", "200,0,60"}}, std::nullopt},
        {"a column twice in the order", {{"ColumnOrder", "0,0,1"}}, std::nullopt},
        {"a column beyond the list", {{"ColumnOrder", "0,1,3"}}, std::nullopt},
        {"maximized neither 0 nor 1", {{"Maximized", "2"}}, std::nullopt},
        {"right of every screen", {{"Left", "3200"}}, std::nullopt},
        {"only its corner on a screen", {{"Left", "-750"}}, std::nullopt},
        {"its top above the screens", {{"Top", "-15"}}, std::nullopt},
        {"below the first screen's bottom", {{"Left", "0"}, {"Top", "1030"}}, std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TTempDir dir;
        TIniFile settings(dir / "s.ini");
        std::map<std::string, std::string> keys = whole;
        for (const auto& [key, value] : c.Changed)
            keys[key] = value;
        std::string text = "[Welcome]\r\nrbURL=1\r\n[fmWingharbourClientMain]\r\n";
        for (const auto& [key, value] : keys)
            if (!value.empty())
                text += key + "=" + value + "\r\n";
        test::WriteFile(dir / "s.ini", text);
        EXPECT_EQ(ReadWindowLayout(settings, Limits), c.Layout);
    }
}

TEST(WindowLayoutTest, NoEntryGivesNothingAndAWrittenOneReadsBackBesideTheWelcomeKeys) {
    test::TTempDir dir;
    TIniFile settings(dir / "s.ini");
    EXPECT_EQ(ReadWindowLayout(settings, Limits), std::nullopt);
    settings.WriteString("Welcome", "edURL", "http://a.example/");
    EXPECT_EQ(ReadWindowLayout(settings, Limits), std::nullopt);

    const TWindowLayout layout{-40, 20, 561, 431, false, {1, 32767, 70}, {1, 2, 0}};
    WriteWindowLayout(settings, layout);
    EXPECT_EQ(ReadWindowLayout(settings, Limits), layout);
    EXPECT_EQ(settings.ReadString(WindowLayoutSection, "ColumnWidths", ""), "1,32767,70");
    EXPECT_EQ(settings.ReadSection("Welcome"), std::vector<std::string>{"edURL"});
}

} // namespace
} // namespace wh
