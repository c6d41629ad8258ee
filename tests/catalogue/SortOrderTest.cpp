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
    std::string Text1, Text2;
    int Expected;
};

class CompareRowTextsTest : public testing::TestWithParam<TCompareCase> {};

TEST_P(CompareRowTextsTest, GivesTheRuleSign) {
    const TCompareCase& c = GetParam();
    const int result = CompareRowTexts(c.Order, TCaseIgnoringCollator(), c.Text1, c.Text2);
    EXPECT_EQ((result > 0) - (result < 0), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareRowTextsTest,
                         testing::Values(TCompareCase{"NoOrderComparesEqual", {-1, true}, "alpha", "beta", 0},
                                         TCompareCase{"DescendingNegates", {0, true}, "alpha", "beta", 1},
                                         TCompareCase{"LetterCaseIgnored", {0, false}, "Delta Air", "delta AIR", 0},
                                         TCompareCase{"SizeAsText", {6, false}, "1,024KB", "512KB", -1},
                                         TCompareCase{"EmptySizeFirst", {6, false}, "", "512KB", -1}));

struct TSequenceCase {
    const char* Name;
    std::vector<int> Clicks; // header clicks after the load
    TWHSortOrder Expected;
    std::vector<std::string> Liveries;
};

class SortSequenceTest : public testing::TestWithParam<TSequenceCase> {};

// Each click sorts the order the last one left: "Alpha" and "ALPHA" compare
// equal and keep theirs.
TEST_P(SortSequenceTest, EachClickSortsTheShownOrder) {
    std::vector<std::pair<std::string, std::string>> rows = {
        {"charlie", "B737"}, {"Alpha", "A320"}, {"bravo", "C130"}, {"ALPHA", "B737"}};
    TWHSortOrder order;
    order.Reset();
    for (std::size_t click = 0; click <= GetParam().Clicks.size(); ++click) {
        if (click > 0)
            order.ClickColumn(GetParam().Clicks[click - 1]);
        std::vector<std::string> texts;
        for (const auto& [livery, type] : rows)
            texts.push_back(order.Column == 0 ? livery : type);
        std::vector<std::pair<std::string, std::string>> sorted;
        for (int index : SortedRowOrder(texts, order, TCaseIgnoringCollator()))
            sorted.push_back(rows[index]);
        rows = sorted;
    }
    std::vector<std::string> liveries;
    for (const auto& row : rows)
        liveries.push_back(row.first);
    EXPECT_EQ(liveries, GetParam().Liveries);
    EXPECT_EQ(order.Column, GetParam().Expected.Column);
    EXPECT_EQ(order.Descending, GetParam().Expected.Descending);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortSequenceTest,
    testing::Values(TSequenceCase{"LoadSortsLiveryAscending", {}, {0, false}, {"Alpha", "ALPHA", "bravo", "charlie"}},
                    TSequenceCase{"LiveryAgainDescending", {0}, {0, true}, {"charlie", "bravo", "Alpha", "ALPHA"}},
                    TSequenceCase{"TypeKeepsAscending", {0, 0, 1}, {1, false}, {"Alpha", "ALPHA", "charlie", "bravo"}},
                    TSequenceCase{"TypeKeepsDescending", {0, 1}, {1, true}, {"bravo", "charlie", "ALPHA", "Alpha"}}));

} // namespace
} // namespace wh
