#include <gtest/gtest.h>

#include <vector>

#include "catalogue/Selection.h"
#include "tests/support/FakeRows.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

struct TRowState {
    bool Ticked;
    TWHAircraftState State;
    bool Installed;
    bool Shown = true; // false: the filter hides it
};

test::TFakeRows Rows(const std::vector<TRowState>& states) {
    test::TFakeRows rows;
    for (const TRowState& row : states) {
        rows.Records.emplace_back();
        rows.Records.back().State = row.State;
        rows.Records.back().Installed = row.Installed;
        rows.Checked.push_back(row.Ticked);
        rows.Shown.push_back(row.Shown);
    }
    return rows;
}

constexpr TRowState TickedNew{true, asNew, false}, New{false, asNew, false};
constexpr TRowState TickedUpdated{true, asUpdated, true}, Updated{false, asUpdated, true};
constexpr TRowState TickedCurrent{true, asNone, true}, Current{false, asNone, true};
constexpr TRowState TickedPending{true, asNone, false}, Pending{false, asNone, false};
constexpr TRowState HiddenTickedNew{true, asNew, false, false}, HiddenNew{false, asNew, false, false};
constexpr TRowState HiddenTickedUpdated{true, asUpdated, true, false};

struct TCountCase {
    const char* Name;
    std::vector<TRowState> Rows;
    TWHSelectionCounts Counts; // rows, selected, install, update, remove, hidden
    bool InstallEnabled, DeinstallEnabled;
};

class CountSelectionTest : public testing::TestWithParam<TCountCase> {};

TEST_P(CountSelectionTest, CountsTickedRowsAndEnablesTheActions) {
    const TCountCase& c = GetParam();
    const TWHSelectionCounts counts = CountSelection(Rows(c.Rows));
    EXPECT_EQ(counts, c.Counts);
    const TWHSelectionStatus status = SelectionStatus(counts);
    EXPECT_EQ(status.InstallEnabled, c.InstallEnabled);
    EXPECT_EQ(status.DeinstallEnabled, c.DeinstallEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountSelectionTest,
    testing::Values(TCountCase{"EmptyList", {}, {0, 0, 0, 0, 0}, false, false},
                    TCountCase{"UntickedCountNowhere", {New, Updated, Current, Pending}, {4, 0, 0, 0, 0}, false, false},
                    TCountCase{"TickedUpdatedIsUpdateAndRemove", {TickedUpdated, New}, {2, 1, 0, 1, 1}, true, true},
                    TCountCase{"TickedNewFetchOnly", {TickedNew}, {1, 1, 1, 0, 0}, true, false},
                    TCountCase{"TickedPendingNothingToDo", {TickedPending, Current}, {2, 1, 0, 0, 0}, false, false},
                    TCountCase{"TickedCurrentRemoveOnly", {TickedCurrent}, {1, 1, 0, 0, 1}, false, true},
                    TCountCase{"EveryState",
                               {TickedNew, New, TickedUpdated, Updated, TickedCurrent, Current, TickedPending, Pending},
                               {8, 4, 1, 1, 2},
                               true,
                               true},
                    TCountCase{"HiddenTickedCountEverywhere",
                               {HiddenTickedUpdated, HiddenNew, TickedCurrent, HiddenTickedNew},
                               {4, 3, 1, 1, 2, 2},
                               true,
                               true},
                    TCountCase{"HiddenUntickedCountNowhere", {HiddenNew, TickedNew}, {2, 1, 1, 0, 0, 0}, true, false}));

TEST(SelectionStatus, FillsTheSummaryAndCaptions) {
    const TWHSelectionStatus status = SelectionStatus({10000, 9000, 4000, 3000, 5000});
    EXPECT_EQ(status.Summary,
              " 10000 aircraft\r\n 9000 selected\r\n 4000 to install\r\n 3000 to update\r\n 5000 to remove");
    EXPECT_EQ(status.InstallCaption, "Fetch 7000");
    EXPECT_EQ(status.DeinstallCaption, "Remove 5000");
    EXPECT_EQ(SelectionStatus({4, 3, 0, 0, 0, 2}).Summary,
              " 4 aircraft\r\n 3 selected\r\n 0 to install\r\n 0 to update\r\n 0 to remove\r\n 2 hidden by the filter");
    EXPECT_EQ(SelectionStatus({}).Summary,
              " 0 aircraft\r\n 0 selected\r\n 0 to install\r\n 0 to update\r\n 0 to remove");
    EXPECT_EQ(SelectionStatus({}).InstallCaption, "Fetch 0");
    EXPECT_EQ(SelectionStatus({}).DeinstallCaption, "Remove 0");
}

using enum TWHSelectionButton;

struct TButtonCase {
    const char* Name;
    std::vector<TWHSelectionButton> Buttons;
    std::vector<bool> Ticks; // of: new, updated, current (ticked), pending, new (ticked)
    std::vector<TRowState> Rows = {New, Updated, TickedCurrent, Pending, TickedNew};
};

class SelectionButtonTest : public testing::TestWithParam<TButtonCase> {};

TEST_P(SelectionButtonTest, SetsTheNamedTicksInsideOneBracket) {
    test::TFakeRows rows = Rows(GetParam().Rows);
    for (TWHSelectionButton button : GetParam().Buttons)
        ApplySelectionButton(rows, button);
    EXPECT_EQ(rows.Checked, GetParam().Ticks);
    EXPECT_EQ(rows.UnbracketedTicks, 0);
    EXPECT_EQ(rows.Depth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionButtonTest,
    testing::Values(TButtonCase{"SelectAll", {SelectAll}, {true, true, true, true, true}},
                    TButtonCase{"SelectNewKeepsOtherTicks", {SelectNew}, {true, false, true, false, true}},
                    TButtonCase{"SelectUpdated", {SelectUpdated}, {false, true, true, false, true}},
                    TButtonCase{"SelectInstalledTicksUpdatedToo", {SelectInstalled}, {false, true, true, false, true}},
                    TButtonCase{"Invert", {Invert}, {true, true, false, true, false}},
                    TButtonCase{"InvertTwiceRestores", {Invert, Invert}, {false, false, true, false, true}},
                    TButtonCase{"DeselectThenSelectNew", {DeselectAll, SelectNew}, {true, false, false, false, true}},
                    // of: new (hidden), new, new (ticked, hidden), current (ticked)
                    TButtonCase{"SelectAllSkipsHidden",
                                {SelectAll},
                                {false, true, true, true},
                                {HiddenNew, New, HiddenTickedNew, TickedCurrent}},
                    TButtonCase{"SelectNewSkipsHidden",
                                {SelectNew},
                                {false, true, true, true},
                                {HiddenNew, New, HiddenTickedNew, TickedCurrent}},
                    TButtonCase{"InvertSkipsHidden",
                                {Invert},
                                {false, true, true, false},
                                {HiddenNew, New, HiddenTickedNew, TickedCurrent}},
                    TButtonCase{"DeselectAllSkipsHidden",
                                {DeselectAll},
                                {false, false, true, false},
                                {HiddenNew, New, HiddenTickedNew, TickedCurrent}}));

struct TTickCase {
    const char* Name;
    TWHTickChange Change;
    std::vector<int> Indexes;
    std::vector<bool> Ticks; // of: new, new (ticked), current, current (ticked)
};

class ChangeTicksTest : public testing::TestWithParam<TTickCase> {};

TEST_P(ChangeTicksTest, SetsTheNamedRowsInsideOneBracket) {
    test::TFakeRows rows = Rows({New, TickedNew, Current, TickedCurrent});
    ChangeTicks(rows, GetParam().Indexes, GetParam().Change);
    EXPECT_EQ(rows.Checked, GetParam().Ticks);
    EXPECT_EQ(rows.UnbracketedTicks, 0);
    EXPECT_EQ(rows.Depth, 0);
}

using enum TWHTickChange;

INSTANTIATE_TEST_SUITE_P(Cases, ChangeTicksTest,
                         testing::Values(TTickCase{"Tick", Tick, {0, 1}, {true, true, false, true}},
                                         TTickCase{"Untick", Untick, {1, 2, 3}, {false, false, false, false}},
                                         TTickCase{"ToggleMixedTicksAll", Toggle, {0, 1, 2}, {true, true, true, true}},
                                         TTickCase{"ToggleTickedUnticks", Toggle, {1, 3}, {false, false, false, false}},
                                         TTickCase{"ToggleOneTicksIt", Toggle, {2}, {false, true, true, true}}));

} // namespace
} // namespace wh
