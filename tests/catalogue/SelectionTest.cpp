#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/AircraftRows.h"
#include "catalogue/Selection.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

struct TRowSpec {
    bool Ticked;
    TWHAircraftState State;
    bool Installed;
};

// Rows as a plain vector. A tick set outside a change bracket is counted, so
// a walk that would recount for each row shows.
class TFakeRows : public TWHAircraftRows {
public:
    explicit TFakeRows(const std::vector<TRowSpec>& specs) {
        for (const TRowSpec& spec : specs) {
            TWHAircraft aircraft;
            aircraft.State = spec.State;
            aircraft.Installed = spec.Installed;
            FRows.push_back({aircraft, spec.Ticked});
        }
    }
    int RowCount() const override { return static_cast<int>(FRows.size()); }
    TWHAircraft& RowAircraft(int index) const override { return FRows.at(index).Aircraft; }
    bool RowChecked(int index) const override { return FRows.at(index).Ticked; }
    void SetRowChecked(int index, bool checked) override {
        FRows.at(index).Ticked = checked;
        UnbracketedTicks += FDepth == 0;
    }
    void RefreshRow(int) override {}
    void BeginRowChanges() override { ++FDepth; }
    void EndRowChanges() override { --FDepth; }

    std::vector<bool> Ticks() const {
        std::vector<bool> ticks;
        for (const auto& row : FRows)
            ticks.push_back(row.Ticked);
        return ticks;
    }
    int UnbracketedTicks = 0;
    int Depth() const { return FDepth; }

private:
    struct TRow {
        mutable TWHAircraft Aircraft;
        bool Ticked;
    };
    std::vector<TRow> FRows;
    int FDepth = 0;
};

// Ticked or not, by state and installed.
constexpr TRowSpec TickedNew{true, asNew, false};
constexpr TRowSpec TickedUpdated{true, asUpdated, true};
constexpr TRowSpec TickedCurrent{true, asNone, true};
constexpr TRowSpec TickedPending{true, asNone, false};
constexpr TRowSpec New{false, asNew, false};
constexpr TRowSpec Updated{false, asUpdated, true};
constexpr TRowSpec Current{false, asNone, true};
constexpr TRowSpec Pending{false, asNone, false};

struct TCountCase {
    const char* Name;
    std::vector<TRowSpec> Rows;
    TWHSelectionCounts Expected;   // rows, selected, install, update, remove
};

class CountSelectionTest : public testing::TestWithParam<TCountCase> {};

TEST_P(CountSelectionTest, CountsTickedRowsByStateAndInstalled) {
    const TCountCase& c = GetParam();
    EXPECT_EQ(CountSelection(TFakeRows(c.Rows)), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountSelectionTest,
    testing::Values(
        TCountCase{"EmptyList", {}, {0, 0, 0, 0, 0}},
        TCountCase{"UntickedRowsCountNowhere", {New, Updated, Current, Pending}, {4, 0, 0, 0, 0}},
        TCountCase{"TickedUpdatedIsUpdateAndRemove", {TickedUpdated}, {1, 1, 0, 1, 1}},
        TCountCase{"TickedNewIsInstallOnly", {TickedNew}, {1, 1, 1, 0, 0}},
        TCountCase{"TickedPendingIsOnlySelected", {TickedPending}, {1, 1, 0, 0, 0}},
        TCountCase{"TickedCurrentIsRemoveOnly", {TickedCurrent}, {1, 1, 0, 0, 1}},
        TCountCase{"EveryState", {TickedNew, New, TickedUpdated, Updated, TickedCurrent, Current, TickedPending, Pending},
                   {8, 4, 1, 1, 2}},
        TCountCase{"SeveralOfOne", {TickedNew, TickedNew, New, TickedNew}, {4, 3, 3, 0, 0}}));

struct TStatusCase {
    const char* Name;
    TWHSelectionCounts Counts;
    TWHSelectionStatus Expected;
};

class SelectionStatusTest : public testing::TestWithParam<TStatusCase> {};

TEST_P(SelectionStatusTest, GivesSummaryAndActionButtons) {
    EXPECT_EQ(SelectionStatus(GetParam().Counts), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionStatusTest,
    testing::Values(
        TStatusCase{"EmptyListBothDisabled",
                    {0, 0, 0, 0, 0},
                    {" 0 aircraft\r\n 0 selected\r\n 0 to install\r\n 0 to update\r\n 0 to remove", "Fetch 0", false,
                     "Remove 0", false}},
        TStatusCase{"OneUpdatedBothEnabled",
                    {3, 1, 0, 1, 1},
                    {" 3 aircraft\r\n 1 selected\r\n 0 to install\r\n 1 to update\r\n 1 to remove", "Fetch 1", true,
                     "Remove 1", true}},
        TStatusCase{"OneNewFetchOnly",
                    {2, 1, 1, 0, 0},
                    {" 2 aircraft\r\n 1 selected\r\n 1 to install\r\n 0 to update\r\n 0 to remove", "Fetch 1", true,
                     "Remove 0", false}},
        TStatusCase{"PendingOnlyBothDisabled",
                    {1, 1, 0, 0, 0},
                    {" 1 aircraft\r\n 1 selected\r\n 0 to install\r\n 0 to update\r\n 0 to remove", "Fetch 0", false,
                     "Remove 0", false}},
        TStatusCase{"FetchAddsInstallAndUpdate",
                    {10000, 9000, 4000, 3000, 5000},
                    {" 10000 aircraft\r\n 9000 selected\r\n 4000 to install\r\n 3000 to update\r\n 5000 to remove",
                     "Fetch 7000", true, "Remove 5000", true}}));

using enum TWHSelectionButton;

// new, updated, installed and current (ticked), pending, new (ticked).
const std::vector<TRowSpec> MixedRows = {New, Updated, TickedCurrent, Pending, TickedNew};

struct TButtonCase {
    const char* Name;
    std::vector<TWHSelectionButton> Buttons;
    std::vector<bool> Ticks;
};

class SelectionButtonTest : public testing::TestWithParam<TButtonCase> {};

TEST_P(SelectionButtonTest, SetsTheNamedTicksInOneBracket) {
    const TButtonCase& c = GetParam();
    TFakeRows rows(MixedRows);
    for (TWHSelectionButton button : c.Buttons)
        ApplySelectionButton(rows, button);
    EXPECT_EQ(rows.Ticks(), c.Ticks);
    EXPECT_EQ(rows.UnbracketedTicks, 0);
    EXPECT_EQ(rows.Depth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionButtonTest,
    testing::Values(TButtonCase{"SelectAll", {SelectAll}, {true, true, true, true, true}},
                    TButtonCase{"SelectNewKeepsOtherTicks", {SelectNew}, {true, false, true, false, true}},
                    TButtonCase{"SelectUpdatedKeepsOtherTicks", {SelectUpdated}, {false, true, true, false, true}},
                    TButtonCase{"SelectInstalledTicksUpdatedToo", {SelectInstalled}, {false, true, true, false, true}},
                    TButtonCase{"SelectButtonsAdd", {SelectNew, SelectInstalled}, {true, true, true, false, true}},
                    TButtonCase{"Invert", {Invert}, {true, true, false, true, false}},
                    TButtonCase{"InvertTwiceRestores", {Invert, Invert}, {false, false, true, false, true}},
                    TButtonCase{"DeselectAll", {DeselectAll}, {false, false, false, false, false}},
                    TButtonCase{"DeselectThenSelectNew", {DeselectAll, SelectNew}, {true, false, false, false, true}}));

} // namespace
} // namespace wh
