#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// Row is a display position, except for ViewTick (a row of the view).
// Install leaves the record as an install does and refreshes its row; Mark
// notes the place in the signals.
enum class TOp { Tick, Untick, ViewTick, Filter, Arrange, Install, Begin, End, Load, Mark };
struct TStep {
    TOp Op;
    int Row = 0;
    const char* Text = ""; // the filter, or the order as digits
};

// What the core walks (every row in display order: "+" ticked, "-" not, in
// brackets while hidden) | the view's rows ("*" the one current before the
// steps) | the signals a view and the window hear.
struct TModelCase {
    const char* Name;
    std::vector<TStep> Steps;
    std::string Seen;
};

// Three liveries loaded in one reset: Bravo new, Alpha installed, Charlie
// installed with an update. The tester checks every signal the model sends.
class AircraftListModelTest : public testing::TestWithParam<TModelCase> {
protected:
    AircraftListModelTest() {
        Model.SetThousandsSeparator(",");
        Load();
        const auto log = [this](const std::string& text) { Signals += text + " "; };
        QObject::connect(&Model, &TAircraftListModel::dataChanged, [log](const QModelIndex& a, const QModelIndex& b) {
            log("data" + std::to_string(a.row()) + "-" + std::to_string(b.row()) + "/" +
                std::to_string(b.column() - a.column() + 1));
        });
        QObject::connect(&Model, &TAircraftListModel::rowsInserted,
                         [log](const QModelIndex&, int row, int) { log("insert" + std::to_string(row)); });
        QObject::connect(&Model, &TAircraftListModel::rowsRemoved,
                         [log](const QModelIndex&, int row, int) { log("remove" + std::to_string(row)); });
        QObject::connect(&Model, &TAircraftListModel::layoutChanged, [log] { log("layout"); });
        QObject::connect(&Model, &TAircraftListModel::modelReset, [log] { log("reset"); });
        QObject::connect(&Model, &TAircraftListModel::rowChanged, [log] { log("changed"); });
    }

    void Load() {
        Model.BeginLoad();
        Model.Clear();
        for (const auto& [airline, state] : {std::pair{"Bravo", asNew}, {"Alpha", asNone}, {"Charlie", asUpdated}}) {
            auto aircraft = std::make_unique<TWHAircraft>();
            aircraft->Airline = airline;
            aircraft->State = state;
            aircraft->Installed = state != asNew;
            const auto texts = AircraftRowTexts(*aircraft, ",");
            Model.Append(std::move(aircraft), texts);
        }
        Model.EndLoad();
    }

    void Run(const TStep& step) {
        switch (step.Op) {
        case TOp::Tick:
        case TOp::Untick:
            Rows.SetRowChecked(step.Row, step.Op == TOp::Tick);
            break;
        case TOp::ViewTick:
            Model.setData(Model.index(step.Row, 0), Qt::Checked, Qt::CheckStateRole);
            break;
        case TOp::Filter:
            Model.SetFilter([needle = FoldFilterText(step.Text)](const std::string& folded) {
                return RowMatchesFilter(folded, needle);
            });
            break;
        case TOp::Arrange: {
            std::vector<int> order;
            for (const char* digit = step.Text; *digit; ++digit)
                order.push_back(*digit - '0');
            Model.Arrange(order);
            break;
        }
        case TOp::Install:
            Rows.RowAircraft(step.Row).Installed = true;
            Rows.RowAircraft(step.Row).State = asNone;
            Rows.RefreshRow(step.Row);
            break;
        case TOp::Begin:
            Rows.BeginRowChanges();
            break;
        case TOp::End:
            Rows.EndRowChanges();
            break;
        case TOp::Load:
            Load();
            break;
        case TOp::Mark:
            Signals += "| ";
            break;
        }
    }

    std::string Core() const {
        std::string core;
        for (int i = 0; i < Rows.RowCount(); ++i) {
            const std::string row = Rows.RowAircraft(i).Airline + (Rows.RowChecked(i) ? "+" : "-");
            core += (Rows.RowShown(i) ? row : "(" + row + ")") + " ";
        }
        return core;
    }

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
    std::string Signals;
};

TEST_P(AircraftListModelTest, TheCoreWalksEveryRowAndTheViewTheShownOnes) {
    Current = Model.index(0, 0);
    for (const TStep& step : GetParam().Steps)
        Run(step);
    EXPECT_EQ(Core() + "| " + View() + "| " + Signals, GetParam().Seen);
}

using enum TOp;

INSTANTIATE_TEST_SUITE_P(
    Cases, AircraftListModelTest,
    testing::Values(
        TModelCase{"Tick", {{Tick, 1}}, "Bravo- Alpha+ Charlie- | *Bravo- Alpha+ Charlie- | data1-1/1 changed "},
        TModelCase{"SameTickIsNoChange", {{Untick, 1}}, "Bravo- Alpha- Charlie- | *Bravo- Alpha- Charlie- | "},
        TModelCase{"TicksInABracketTellTheViewAtItsEnd",
                   {{Begin}, {Begin}, {Tick, 2}, {Tick, 1}, {End}, {Mark}, {End}},
                   "Bravo- Alpha+ Charlie+ | *Bravo- Alpha+ Charlie+ | | data1-2/8 "},
        TModelCase{"ArrangeMovesRowsWithTheirTicks",
                   {{Tick, 0}, {Arrange, 0, "102"}},
                   "Alpha- Bravo+ Charlie- | Alpha- *Bravo+ Charlie- | data0-0/1 changed layout "},
        TModelCase{
            "FilterHidesFromTheViewOnly", {{Filter, 0, "YES"}}, "(Bravo-) Alpha- Charlie- | Alpha- Charlie- | layout "},
        TModelCase{"FilterThatHidesNothing", {{Filter, 0, "a"}}, "Bravo- Alpha- Charlie- | *Bravo- Alpha- Charlie- | "},
        TModelCase{"HiddenRowsKeepAndTakeTicks",
                   {{Tick, 2}, {Filter, 0, "new"}, {Tick, 1}, {Begin}, {Untick, 2}, {End}},
                   "Bravo- (Alpha+) (Charlie-) | *Bravo- | data2-2/1 changed layout changed "},
        TModelCase{"TickInTheViewReachesItsRecord",
                   {{Filter, 0, "yes"}, {ViewTick, 1}},
                   "(Bravo-) Alpha- Charlie+ | Alpha- Charlie+ | layout data1-1/1 changed "},
        TModelCase{"ArrangeWhileFiltered",
                   {{Filter, 0, "yes"}, {Arrange, 0, "210"}},
                   "Charlie- Alpha- (Bravo-) | Charlie- Alpha- | layout layout "},
        TModelCase{"RefreshOfAShownRow",
                   {{Install, 0}},
                   "Bravo- Alpha- Charlie- | *Bravo- Alpha- Charlie- | data0-0/8 changed "},
        TModelCase{"RefreshShowsTheRow",
                   {{Filter, 0, "yes"}, {Install, 0}},
                   "Bravo- Alpha- Charlie- | Bravo- Alpha- Charlie- | layout insert0 changed "},
        TModelCase{"RefreshHidesTheRow",
                   {{Filter, 0, "new"}, {Install, 0}},
                   "(Bravo-) (Alpha-) (Charlie-) | | layout remove0 changed "},
        TModelCase{"LoadIsOneReset",
                   {{Tick, 0}, {Load}},
                   "Bravo- Alpha- Charlie- | Bravo- Alpha- Charlie- | data0-0/1 changed reset "}));

} // namespace
} // namespace wh
