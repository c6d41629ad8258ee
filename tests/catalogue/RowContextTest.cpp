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
    std::vector<std::string> Reads; // what each Read saw; the source counts its calls
    bool OpenAtEnd;
};

class RowContextBracketTest : public testing::TestWithParam<TBracketCase> {};

TEST_P(RowContextBracketTest, ReadsTheContextOncePerOutermostBracket) {
    int asked = 0;
    TWHRowContextBracket bracket([&] { return TWHRowContext{"fs" + std::to_string(++asked), "work", ","}; });
    std::vector<std::string> reads;
    for (TStep step : GetParam().Steps) {
        if (step == TStep::Begin)
            bracket.Begin();
        else if (step == TStep::End)
            bracket.End();
        else
            reads.push_back(bracket.Context().FSDir);
    }
    EXPECT_EQ(reads, GetParam().Reads);
    EXPECT_EQ(bracket.IsOpen(), GetParam().OpenAtEnd);
}

using enum TStep;
INSTANTIATE_TEST_SUITE_P(Cases, RowContextBracketTest,
                         testing::Values(TBracketCase{"OutsideEachReadAsks", {Read, Read}, {"fs1", "fs2"}, false},
                                         TBracketCase{"NestedKeepsTheOuterContext",
                                                      {Begin, Read, Begin, End, Read, End, Read},
                                                      {"fs1", "fs1", "fs2"},
                                                      false},
                                         TBracketCase{"EndWithoutBeginIgnored", {End, Begin, Read}, {"fs1"}, true}));

} // namespace
} // namespace wh
