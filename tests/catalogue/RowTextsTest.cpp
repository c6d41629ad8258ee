#include <gtest/gtest.h>

#include <climits>

#include "catalogue/RowTexts.h"

namespace wh {
namespace {

TEST(SizeText, RoundsHalfUpAndGroupsThousands) {
    struct TCase {
        std::int32_t Size;
        const char* Separator;
        const char* Text;
    };
    const TCase cases[] = {
        {-1, ",", ""},
        {INT_MIN, ",", ""},
        {0, ",", "0KB"},
        {511, ",", "0KB"},
        {512, ",", "1KB"},
        {1536, ",", "2KB"},
        {2560, ",", "3KB"},
        {1023 * 1024 + 511, ",", "1,023KB"},
        {1023 * 1024 + 512, ",", "1,024KB"},
        {1048576, ",", "1,024KB"},
        {1048576, ".", "1.024KB"},
        {1048576, "", "1024KB"},
        {999 * 1024, ",", "999KB"},
        {1000 * 1000 * 1024, "'", "1'000'000KB"},
        {INT_MAX, ",", "2,097,152KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.Size, c.Separator), c.Text) << c.Size;
}

TEST(AircraftRowTexts, FillCaptionAndSevenColumnsInOrder) {
    TWHAircraft a;
    a.Airline = "Lufthansa";
    a.UIType = "Boeing 737-800";
    a.Designer = "J. Doe";
    a.Model = "PSS";
    a.ArchiveSize = 2 * 1024 * 1024;
    a.Inclusion = "panel";
    a.Installed = true;
    a.State = asUpdated;
    const std::array<std::string, 8> updated{"Lufthansa", "Boeing 737-800", "updated", "yes", "J. Doe",
                                             "PSS",       "2,048KB",        "panel"};
    EXPECT_EQ(AircraftRowTexts(a, ","), updated);

    a.Installed = false;
    a.State = asNew;
    a.ArchiveSize = -1;
    const std::array<std::string, 8> fresh{"Lufthansa", "Boeing 737-800", "new", "no", "J. Doe", "PSS", "", "panel"};
    EXPECT_EQ(AircraftRowTexts(a, ","), fresh);

    a.State = asNone;
    EXPECT_EQ(AircraftRowTexts(a, ",")[2], "");
}

TEST(TabSeparatedRows, JoinsCellsByTabsAndEndsEachRowInALineFeed) {
    struct TCase {
        std::vector<std::vector<std::string>> Rows;
        const char* Text;
    };
    const TCase cases[] = {
        {{{"Lufthansa", "A320", "", "no"}}, "Lufthansa\tA320\t\tno\n"},
        {{{"a", "b"}, {"c", "d"}}, "a\tb\nc\td\n"},
        {{{"tab\there", "line\r\nbreak"}}, "tab here\tline  break\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TabSeparatedRows(c.Rows), c.Text) << c.Text;
}

} // namespace
} // namespace wh
