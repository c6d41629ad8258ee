#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <QString>

#include "app/ListFilter.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

struct TNeedleCase {
    const char* Name;
    const char16_t* Typed;
    std::optional<std::string> Needle;
};

class FilterNeedleTest : public testing::TestWithParam<TNeedleCase> {};

TEST_P(FilterNeedleTest, FoldsTheTypedText) {
    EXPECT_EQ(FilterNeedle(QString::fromUtf16(GetParam().Typed)), GetParam().Needle);
}

INSTANTIATE_TEST_SUITE_P(Cases, FilterNeedleTest,
                         testing::Values(TNeedleCase{"Empty", u"", ""},
                                         TNeedleCase{"CodePageLetters", u"Caf\u00C9 \u00C6", "cafe ae"},
                                         TNeedleCase{"CombiningAccent", u"Jose\u0301", "jose"},
                                         TNeedleCase{"AccentedLetterOutsideCodePage", u"Bud\u0151rs", "budors"},
                                         TNeedleCase{"QuestionMarkIsText", u"why?", "why?"},
                                         TNeedleCase{"NoWindows1252Form", u"Air \u65E5\u672C", std::nullopt},
                                         TNeedleCase{"OutsideTheBasicPlane", u"a\U0001F600", std::nullopt}));

} // namespace
} // namespace wh
