#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/RowContext.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

enum class TStep { Begin, End, Read };

struct TBracketCase {
    const char* Name;
    std::vector<TStep> Steps;
    // The simulator folder each Read saw; the source gives "fs1", "fs2", ...
    // each time it is asked.
    std::vector<std::string> Reads;
    bool OpenAtEnd;
};

class RowContextBracketTest : public testing::TestWithParam<TBracketCase> {};

TEST_P(RowContextBracketTest, ReadsTheContextOncePerOutermostBracket) {
    const TBracketCase& c = GetParam();
    int asked = 0;
    TWHRowContextBracket bracket([&] { return TWHRowContext{"fs" + std::to_string(++asked), "work", ","}; });
    std::vector<std::string> reads;
    for (TStep step : c.Steps) {
        if (step == TStep::Begin)
            bracket.Begin();
        else if (step == TStep::End)
            bracket.End();
        else
            reads.push_back(bracket.Context().FSDir);
    }
    EXPECT_EQ(reads, c.Reads);
    EXPECT_EQ(bracket.IsOpen(), c.OpenAtEnd);
}

using enum TStep;
INSTANTIATE_TEST_SUITE_P(
    Cases, RowContextBracketTest,
    testing::Values(TBracketCase{"OutsideEachReadAsks", {Read, Read}, {"fs1", "fs2"}, false},
                    TBracketCase{"InsideOneAsk", {Begin, Read, Read, End}, {"fs1", "fs1"}, false},
                    TBracketCase{"NestedKeepsTheOuterContext", {Begin, Begin, End, Read, End, Read},
                                 {"fs1", "fs2"}, false},
                    TBracketCase{"EndWithoutBeginIgnored", {End, Begin, Read}, {"fs1"}, true},
                    TBracketCase{"NextBracketAsksAgain", {Begin, Read, End, Begin, Read}, {"fs1", "fs2"}, true}));

TEST(RowContextBracket, OnlyTheOutermostOpensAndCloses) {
    TWHRowContextBracket bracket([] { return TWHRowContext{}; });
    EXPECT_TRUE(bracket.Begin());
    EXPECT_FALSE(bracket.Begin());
    EXPECT_FALSE(bracket.End());
    EXPECT_TRUE(bracket.End());
    EXPECT_FALSE(bracket.End());
}

} // namespace
} // namespace wh
