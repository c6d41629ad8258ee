#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include "app/AircraftListModel.h"
#include "app/AircraftListRows.h"
#include "catalogue/RowFilter.h"
#include "catalogue/RowTexts.h"
#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

using TSteps = std::function<void(TAircraftListModel&, TAircraftListRows&)>;

void Filter(TAircraftListModel& model, const char* typed) {
    model.SetFilter(
        [needle = FoldFilterText(typed)](const std::string& folded) { return RowMatchesFilter(folded, needle); });
}

// Made an install of the row's livery would leave, then refreshed.
void Install(TAircraftListRows& rows, int index) {
    rows.RowAircraft(index).Installed = true;
    rows.RowAircraft(index).State = asNone;
    rows.RefreshRow(index);
}

// Three liveries loaded in one reset: Bravo new, Alpha installed, Charlie
// installed with an update. The tester checks every signal the model sends.
class AircraftListModelTest : public testing::Test {
protected:
    AircraftListModelTest() {
        Model.SetThousandsSeparator(",");
        Model.BeginLoad();
        Model.Clear();
        for (const auto& [airline, state] : {std::pair{"Bravo", asNew}, {"Alpha", asNone}, {"Charlie", asUpdated}}) {
            auto aircraft = std::make_unique<TWHAircraft>();
            aircraft->Airline = airline;
            aircraft->State = state;
            aircraft->Installed = state != asNew;
            aircraft->ArchiveSize = 1536 * 1024;
            const auto texts = AircraftRowTexts(*aircraft, ",");
            Model.Append(std::move(aircraft), texts);
        }
        Model.EndLoad();
    }

    // Every row the core walks, in display order: "+" ticked, "-" not, in
    // brackets while hidden.
    std::string Core() const {
        std::string core;
        for (int i = 0; i < Rows.RowCount(); ++i) {
            const std::string row = Rows.RowAircraft(i).Airline + (Rows.RowChecked(i) ? "+" : "-");
            core += (Rows.RowShown(i) ? row : "(" + row + ")") + " ";
        }
        return core;
    }
    // The view's rows; "*" marks the one Current follows.
    std::string View() const {
        std::string view;
        for (int row = 0; row < Model.rowCount(); ++row) {
            const QModelIndex index = Model.index(row, 0);
            view += (index == Current ? "*" : "") + index.data().toString().toStdString() +
                    (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "+ " : "- ");
        }
        return view;
    }

    TAircraftListModel Model;
    QAbstractItemModelTester Tester{&Model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    TAircraftListRows Rows{Model, [this](int i) { Model.SetTexts(i, AircraftRowTexts(Model.Record(i), ",")); }};
    QPersistentModelIndex Current;
};

struct TViewCase {
    const char* Name;
    TSteps Steps;
    std::string Core;
    std::string View;
};

class AircraftListViewTest : public AircraftListModelTest, public testing::WithParamInterface<TViewCase> {};

// The view's current row is Bravo's before the steps.
TEST_P(AircraftListViewTest, CoreWalksEveryRowAndTheViewTheShownOnes) {
    Current = Model.index(0, 0);
    GetParam().Steps(Model, Rows);
    EXPECT_EQ(Core(), GetParam().Core);
    EXPECT_EQ(View(), GetParam().View);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AircraftListViewTest,
    testing::Values(TViewCase{"AsLoaded", [](auto&, auto&) {}, "Bravo- Alpha- Charlie- ", "*Bravo- Alpha- Charlie- "},
                    TViewCase{"TickByTheCore", [](auto&, auto& rows) { rows.SetRowChecked(2, true); },
                              "Bravo- Alpha- Charlie+ ", "*Bravo- Alpha- Charlie+ "},
                    TViewCase{"ArrangeMovesRowsWithTheirTicks",
                              [](auto& model, auto& rows) {
                                  rows.SetRowChecked(0, true);
                                  model.Arrange({1, 0, 2});
                              },
                              "Alpha- Bravo+ Charlie- ", "Alpha- *Bravo+ Charlie- "},
                    TViewCase{"FilterHidesFromTheViewOnly", [](auto& model, auto&) { Filter(model, "YES"); },
                              "(Bravo-) Alpha- Charlie- ", "Alpha- Charlie- "},
                    TViewCase{"HiddenRowKeepsAndTakesTicks",
                              [](auto& model, auto& rows) {
                                  rows.SetRowChecked(2, true);
                                  Filter(model, "new");
                                  rows.SetRowChecked(1, true);
                              },
                              "Bravo- (Alpha+) (Charlie+) ", "*Bravo- "},
                    TViewCase{"TickInTheViewReachesItsRecord",
                              [](auto& model, auto&) {
                                  Filter(model, "yes");
                                  model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole);
                              },
                              "(Bravo-) Alpha- Charlie+ ", "Alpha- Charlie+ "},
                    TViewCase{"ArrangeWhileFiltered",
                              [](auto& model, auto&) {
                                  Filter(model, "yes");
                                  model.Arrange({2, 1, 0});
                              },
                              "Charlie- Alpha- (Bravo-) ", "Charlie- Alpha- "},
                    TViewCase{"RefreshJudgesTheRowAgain",
                              [](auto& model, auto& rows) {
                                  Filter(model, "yes");
                                  Install(rows, 0);
                              },
                              "Bravo- Alpha- Charlie- ", "Bravo- Alpha- Charlie- "},
                    TViewCase{"FilterClearedShowsEveryRow",
                              [](auto& model, auto&) {
                                  Filter(model, "updated");
                                  Filter(model, "");
                              },
                              "Bravo- Alpha- Charlie- ", "Bravo- Alpha- Charlie- "},
                    TViewCase{"ClearFreesEveryRow", [](auto& model, auto&) { model.Clear(); }, "", ""}));

// The signals a view and the window hear, in order.
class TSignalLog {
public:
    explicit TSignalLog(TAircraftListModel& model) {
        const auto add = [this](const std::string& text) { Text += text + " "; };
        QObject::connect(&model, &TAircraftListModel::dataChanged, [add](const QModelIndex& a, const QModelIndex& b) {
            add("data" + std::to_string(a.row()) + "-" + std::to_string(b.row()) + "/" +
                std::to_string(b.column() - a.column() + 1));
        });
        QObject::connect(&model, &TAircraftListModel::rowsInserted,
                         [add](const QModelIndex&, int first, int) { add("insert" + std::to_string(first)); });
        QObject::connect(&model, &TAircraftListModel::rowsRemoved,
                         [add](const QModelIndex&, int first, int) { add("remove" + std::to_string(first)); });
        QObject::connect(&model, &TAircraftListModel::layoutChanged, [add] { add("layout"); });
        QObject::connect(&model, &TAircraftListModel::modelReset, [add] { add("reset"); });
        QObject::connect(&model, &TAircraftListModel::rowChanged, [add] { add("changed"); });
    }
    std::string Text;
};

struct TSignalCase {
    const char* Name;
    TSteps Steps;
    std::string Signals;
};

class AircraftListSignalTest : public AircraftListModelTest, public testing::WithParamInterface<TSignalCase> {};

TEST_P(AircraftListSignalTest, TellTheViewAndTheWindow) {
    const TSignalLog log(Model);
    GetParam().Steps(Model, Rows);
    EXPECT_EQ(log.Text, GetParam().Signals);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AircraftListSignalTest,
    testing::Values(
        TSignalCase{"Tick", [](auto&, auto& rows) { rows.SetRowChecked(1, true); }, "data1-1/1 changed "},
        TSignalCase{"SameTickIsNoChange", [](auto&, auto& rows) { rows.SetRowChecked(1, false); }, ""},
        TSignalCase{"TicksInABracketTellTheViewOnceAtTheEnd",
                    [](auto&, auto& rows) {
                        const TWHRowChanges outer(rows);
                        {
                            const TWHRowChanges inner(rows);
                            rows.SetRowChecked(2, true);
                            rows.SetRowChecked(1, true);
                        }
                        EXPECT_TRUE(rows.ChangesBracketed());
                    },
                    "data1-2/8 "},
        TSignalCase{"TickOfAHiddenRow",
                    [](auto& model, auto& rows) {
                        Filter(model, "new");
                        rows.SetRowChecked(2, true);
                        const TWHRowChanges changes(rows);
                        rows.SetRowChecked(1, true);
                    },
                    "layout changed "},
        TSignalCase{"RefreshOfAShownRow", [](auto&, auto& rows) { Install(rows, 0); }, "data0-0/8 changed "},
        TSignalCase{"RefreshShowsTheRow",
                    [](auto& model, auto& rows) {
                        Filter(model, "yes");
                        Install(rows, 0);
                    },
                    "layout insert0 changed "},
        TSignalCase{"RefreshHidesTheRow",
                    [](auto& model, auto& rows) {
                        Filter(model, "new");
                        Install(rows, 0);
                    },
                    "layout remove0 changed "},
        TSignalCase{"FilterThatHidesNothing", [](auto& model, auto&) { Filter(model, "a"); }, ""},
        TSignalCase{"LoadIsOneReset",
                    [](auto& model, auto&) {
                        model.BeginLoad();
                        model.Clear();
                        model.Append(std::make_unique<TWHAircraft>(), {});
                        model.SetChecked(0, true);
                        model.EndLoad();
                    },
                    "reset "},
        TSignalCase{"AppendOutsideALoad", [](auto& model, auto&) { model.Append(std::make_unique<TWHAircraft>(), {}); },
                    "insert3 "}));

struct TColumnCase {
    int Column;
    const char* Header;
    const char* Text;
    bool Checkable;
};

// One table for what each cell of a row and each header shows.
TEST_F(AircraftListModelTest, CellsShowTheirColumnsAndOnlyTheFirstHasACheckBox) {
    Rows.SetRowChecked(2, true);
    TWHAircraft& charlie = Rows.RowAircraft(2);
    charlie.UIType = "B737";
    charlie.Designer = "Ren\xE9";
    charlie.Model = "PSS";
    charlie.Inclusion = "panel";
    Rows.RefreshRow(2);
    const TColumnCase columns[] = {{0, "Livery", "Charlie", true},      {1, "Type", "B737", false},
                                   {2, "Status", "updated", false},     {3, "Installed", "yes", false},
                                   {4, "Designer", "Ren\u00E9", false}, {5, "Model", "PSS", false},
                                   {6, "Size", "1,536KB", false},       {7, "Included", "panel", false}};
    ASSERT_EQ(Model.columnCount(), 8);
    for (const TColumnCase& c : columns) {
        const QModelIndex cell = Model.index(2, c.Column);
        EXPECT_EQ(Model.headerData(c.Column, Qt::Horizontal, Qt::DisplayRole).toString(), c.Header);
        EXPECT_EQ(cell.data().toString(), QString::fromUtf8(c.Text)) << c.Column;
        EXPECT_EQ(bool(cell.flags() & Qt::ItemIsUserCheckable), c.Checkable) << c.Column;
        EXPECT_EQ(cell.data(Qt::CheckStateRole).isValid(), c.Checkable) << c.Column;
    }
    EXPECT_EQ(Model.index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

} // namespace
} // namespace wh
