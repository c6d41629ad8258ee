#include <gtest/gtest.h>

#include <array>
#include <string>

#include "catalogue/RowFilter.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

// A row of the list: Livery, Type, Status, Installed, Designer, Model, Size,
// Included, Windows-1252.
const std::array<std::string, 8> Row = {"Lufthansa \xC4rzteflug",
                                        "B737-800",
                                        "updated",
                                        "yes",
                                        "Ren\xE9 M\xF8ller",
                                        "PSS",
                                        "1,024KB",
                                        "Stra\xDF"
                                        "e\xADtail \xC6gir \x8Cuvre\x99"};

struct TMatchCase {
    const char* Name;
    const char* Filter; // as typed, Windows-1252
    bool Shown;
};

class RowMatchesFilterTest : public testing::TestWithParam<TMatchCase> {};

TEST_P(RowMatchesFilterTest, FoldsCaseAndAccentsInEveryColumn) {
    EXPECT_EQ(RowMatchesFilter(FoldRowTexts(Row), FoldFilterText(GetParam().Filter)), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowMatchesFilterTest,
    testing::Values(TMatchCase{"EmptyShowsEveryRow", "", true}, TMatchCase{"CaseOfFilter", "LUFTHANSA", true},
                    TMatchCase{"AccentInRowPlainInFilter", "arzte", true},
                    TMatchCase{"AccentedCapitalInFilter", "REN\xC9", true},
                    TMatchCase{"StrokeIsAnAccent", "moller", true}, TMatchCase{"SharpSIsDoubleS", "strasse", true},
                    TMatchCase{"SharpSInFilter", "p\xDF", true}, TMatchCase{"LigaturesSpeltOut", "aegir oeuvre", true},
                    TMatchCase{"TradeMarkIsLetters", "uvretm", true},
                    TMatchCase{"SoftHyphenIgnoredInRow", "strassetail", true}, TMatchCase{"LaterColumn", "1,024", true},
                    TMatchCase{"NotAcrossColumns", "800updated", false}, TMatchCase{"NoColumnHasIt", "airbus", false}));

} // namespace
} // namespace wh
