#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/SortOrder.h"
#include "platform/Codepage.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

// Letter case ignored, otherwise byte order: enough to tell the rule from
// the locale's collation.
class TCaseIgnoringCollator : public TWHCollator {
public:
    int Compare(const std::string& text1, const std::string& text2) const override {
        const int result = AnsiLowerCase(text1).compare(AnsiLowerCase(text2));
        return (result > 0) - (result < 0);
    }
};

struct TCompareCase {
    const char* Name;
    TWHSortOrder Order;
    std::string Text1;
    std::string Text2;
    int Expected;
};

class CompareRowTextsTest : public testing::TestWithParam<TCompareCase> {};

TEST_P(CompareRowTextsTest, GivesTheRuleSign) {
    const TCompareCase& c = GetParam();
    const int result = CompareRowTexts(c.Order, TCaseIgnoringCollator(), c.Text1, c.Text2);
    EXPECT_EQ((result > 0) - (result < 0), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareRowTextsTest,
    testing::Values(TCompareCase{"NoOrderComparesEqual", {-1, false}, "alpha", "beta", 0},
                    TCompareCase{"NoOrderIgnoresDirection", {-1, true}, "alpha", "beta", 0},
                    TCompareCase{"Ascending", {0, false}, "alpha", "beta", -1},
                    TCompareCase{"DescendingNegates", {0, true}, "alpha", "beta", 1},
                    TCompareCase{"LetterCaseIgnored", {0, false}, "Delta Air", "delta air", 0},
                    TCompareCase{"LetterCaseIgnoredDescending", {0, true}, "DELTA", "delta", 0},
                    TCompareCase{"SizeAsTextNotNumber", {6, false}, "1,024KB", "512KB", -1},
                    TCompareCase{"EmptySizeFirstAscending", {6, false}, "", "512KB", -1},
                    TCompareCase{"EmptySizeLastDescending", {6, true}, "", "512KB", 1}));

// Livery and Type of the rows a load shows, in the order it read them.
const std::vector<std::pair<std::string, std::string>> LoadedRows = {
    {"charlie", "B737"}, {"Alpha", "A320"}, {"bravo", "C130"}, {"ALPHA", "B737"}};

struct TSequenceCase {
    const char* Name;
    std::vector<int> Clicks;   // header clicks after the load
    TWHSortOrder Expected;
    std::vector<std::string> Liveries;   // the rows' order after the last click
};

class SortSequenceTest : public testing::TestWithParam<TSequenceCase> {};

TEST_P(SortSequenceTest, EachClickSortsTheShownOrder) {
    const TSequenceCase& c = GetParam();
    std::vector<std::pair<std::string, std::string>> rows = LoadedRows;
    TWHSortOrder order;
    const auto sort = [&] {
        std::vector<std::string> texts;
        for (const auto& [livery, type] : rows)
            texts.push_back(order.Column == 0 ? livery : type);
        std::vector<std::pair<std::string, std::string>> sorted;
        for (int index : SortedRowOrder(texts, order, TCaseIgnoringCollator()))
            sorted.push_back(rows[index]);
        rows = sorted;
    };
    order.Reset();
    sort();
    for (int column : c.Clicks) {
        order.ClickColumn(column);
        sort();
    }
    EXPECT_EQ(order.Column, c.Expected.Column);
    EXPECT_EQ(order.Descending, c.Expected.Descending);
    std::vector<std::string> liveries;
    for (const auto& row : rows)
        liveries.push_back(row.first);
    EXPECT_EQ(liveries, c.Liveries);
}

// Equal texts keep the order they had before the click, so "Alpha" and
// "ALPHA" show how each sort started.
INSTANTIATE_TEST_SUITE_P(
    Cases, SortSequenceTest,
    testing::Values(TSequenceCase{"LoadSortsLiveryAscending", {}, {0, false}, {"Alpha", "ALPHA", "bravo", "charlie"}},
                    TSequenceCase{"LiveryAgainDescending", {0}, {0, true}, {"charlie", "bravo", "Alpha", "ALPHA"}},
                    TSequenceCase{"LiveryThirdTimeAscending", {0, 0}, {0, false},
                                  {"Alpha", "ALPHA", "bravo", "charlie"}},
                    TSequenceCase{"TypeKeepsAscending", {0, 0, 1}, {1, false},
                                  {"Alpha", "ALPHA", "charlie", "bravo"}},
                    TSequenceCase{"TypeKeepsDescending", {0, 1}, {1, true}, {"bravo", "charlie", "ALPHA", "Alpha"}}));

TEST(SortedRowOrder, NoOrderKeepsTheRows) {
    TWHSortOrder order;
    EXPECT_EQ(SortedRowOrder({"b", "a", "c"}, order, TCaseIgnoringCollator()), (std::vector<int>{0, 1, 2}));
}

} // namespace
} // namespace wh
