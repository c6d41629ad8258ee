#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <QAccessible>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "WindowTestSupport.h"
#include "catalogue/AircraftRows.h"

namespace wh::test {
namespace {

// The summary's five numbers, then the two action buttons as caption and
// "+" (enabled) or "-".
std::string Expected(int rows, int selected, int install, int update, int remove, const char* buttons) {
    return QString::asprintf(" %d aircraft\r\n %d selected\r\n %d to install\r\n %d to update\r\n %d to remove | %s",
                             rows, selected, install, update, remove, buttons)
        .toStdString();
}

// A loaded collection: "Newcomer" to install, "Settled" installed and
// current, "Waiting" pending and not installed.
class SelectionWindowTest : public TWindowTest {
protected:
    std::unique_ptr<TfmWingharbourClientMain> StartOnSelectionPage() {
        UseLocalSource(BuildCollection("c", {{"pkg",
                                              {{.Airline = "Newcomer", .Texture = "newcomer"},
                                               {.Airline = "Settled", .Texture = "settled"},
                                               {.Airline = "Waiting", .Status = "pending", .Texture = "w"}}}}));
        std::filesystem::create_directories(FSDir() + "/aircraft/pkg/texture.settled");
        WriteFile(WorkDir() + "/pkg/settled.zip", "zip");
        auto window = Start();
        window->show();
        Click(*window, "btnNext");
        return window;
    }
    static void Click(const QWidget& window, const char* button) {
        QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
    }
    static std::string Shown(const QWidget& window) {
        std::string shown = Child<QLabel>(window, "lblSelectionStatus")->text().toStdString() + " |";
        for (const char* name : {"btnInstall", "btnDeinstall"}) {
            const auto* button = Child<QPushButton>(window, name);
            shown += " " + button->text().remove(QLatin1Char('&')).toStdString() + (button->isEnabled() ? "+" : "-");
        }
        return shown;
    }
    static QLineEdit* Filter(const QWidget& window) { return Child<QLineEdit>(window, "edFilter"); }
    // The rows shown (or hidden), with "+" for a ticked row and "-" for an
    // unticked one. The list shows no hidden row: those come from the rows
    // the core walks.
    static std::string Rows(TfmWingharbourClientMain& window, bool shown = true) {
        std::string rows;
        if (shown) {
            for (int i = 0; i < ListRowCount(window); ++i)
                rows += ListText(window, i, 0).toStdString() + (ListChecked(window, i) ? "+ " : "- ");
            return rows;
        }
        const TWHAircraftRows& all = window.AircraftRows();
        for (int i = 0; i < all.RowCount(); ++i)
            if (!all.RowShown(i))
                rows += all.RowAircraft(i).Airline + (all.RowChecked(i) ? "+ " : "- ");
        return rows;
    }
    static std::string Summary(const QWidget& window) {
        return Child<QLabel>(window, "lblSelectionStatus")->text().toStdString();
    }
};

TEST_F(SelectionWindowTest, TickByHandUpdatesLabelAndBothCaptionsAtOnce) {
    auto window = StartOnSelectionPage();
    ASSERT_EQ(Shown(*window), Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-"));
    QTreeView* list = AircraftList(*window);
    for (const auto& [row, expected] : {std::pair{0, Expected(3, 1, 1, 0, 0, "Fetch 1+ Remove 0-")},
                                        {1, Expected(3, 2, 1, 0, 1, "Fetch 1+ Remove 1+")},
                                        {0, Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+")}}) {
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list->viewport(), Qt::Key_Space);
        EXPECT_EQ(Shown(*window), expected) << row;
    }
}

// Each button once, in one window; what each ticks is tested with the selection.
TEST_F(SelectionWindowTest, EachSelectionButtonLeavesTheLabelAndCaptions) {
    auto window = StartOnSelectionPage();
    const std::pair<const char*, std::string> steps[] = {
        {"btnSelectUpdated", Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-")},
        {"btnSelectInstalled", Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+")},
        {"btnDeselectAll", Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-")},
        {"btnSelectNew", Expected(3, 1, 1, 0, 0, "Fetch 1+ Remove 0-")},
        {"btnInvertSelection", Expected(3, 2, 0, 0, 1, "Fetch 0- Remove 1+")},
        {"btnSelectAll", Expected(3, 3, 1, 0, 1, "Fetch 1+ Remove 1+")},
    };
    for (const auto& [button, expected] : steps) {
        Click(*window, button);
        EXPECT_EQ(Shown(*window), expected) << button;
    }
}

TEST_F(SelectionWindowTest, HeaderClickSortsAndEnteringThePageRecounts) {
    auto window = StartOnSelectionPage();
    QTreeView* list = AircraftList(*window);
    const QPoint livery(list->header()->sectionPosition(0) + 5, 5);
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, livery);
    EXPECT_EQ(ListText(*window, 0, 0), "Waiting");
    EXPECT_EQ(ListText(*window, 2, 0), "Newcomer");

    // A tick inside a change bracket waits for a recount; entering the page is one.
    window->AircraftRows().BeginRowChanges();
    window->AircraftRows().SetRowChecked(1, true); // Settled
    window->AircraftRows().EndRowChanges();
    ASSERT_EQ(Shown(*window), Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-"));
    window->lblShowLogClick();
    Click(*window, "btnPrev");
    EXPECT_EQ(Shown(*window), Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+"));
}

TEST_F(SelectionWindowTest, TypingHidesRowsCtrlFFocusesAndEscapeShowsThemAgain) {
    auto window = StartOnSelectionPage();
    EXPECT_EQ(Filter(*window)->placeholderText(), "Filter");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTreeView* list = AircraftList(*window);
    list->setCurrentIndex(list->model()->index(1, 0)); // Settled
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), Filter(*window));
    QTest::keyClicks(Filter(*window), "WA");
    EXPECT_EQ(Rows(*window), "Waiting- ");
    QTest::keyClick(Filter(*window), Qt::Key_Backspace);
    EXPECT_EQ(Rows(*window), "Newcomer- Waiting- ");
    QTest::keyClicks(Filter(*window), "x");
    EXPECT_EQ(Rows(*window), "");
    QTest::keyClick(Filter(*window), Qt::Key_Escape);
    EXPECT_EQ(Filter(*window)->text(), "");
    EXPECT_EQ(Rows(*window), "Newcomer- Settled- Waiting- ");
    // The row the filter hid while it was current is current again.
    EXPECT_EQ(list->currentIndex().row(), 1);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(1, QModelIndex()));
}

TEST_F(SelectionWindowTest, SelectionButtonsLeaveHiddenRowsAndTheSummaryCountsThem) {
    auto window = StartOnSelectionPage();
    Click(*window, "btnSelectInstalled");
    QTest::keyClicks(Filter(*window), "o"); // "no": Newcomer and Waiting
    EXPECT_EQ(Rows(*window, false), "Settled+ ");
    EXPECT_EQ(Summary(*window),
              " 3 aircraft\r\n 1 selected\r\n 0 to install\r\n 0 to update\r\n 1 to remove\r\n 1 hidden by the filter");

    Click(*window, "btnDeselectAll");
    EXPECT_EQ(Rows(*window, false), "Settled+ ");
    Click(*window, "btnSelectAll");
    EXPECT_EQ(Rows(*window), "Newcomer+ Waiting+ ");
    EXPECT_EQ(Summary(*window),
              " 3 aircraft\r\n 3 selected\r\n 1 to install\r\n 0 to update\r\n 1 to remove\r\n 1 hidden by the filter");
    EXPECT_EQ(Child<QPushButton>(*window, "btnInstall")->text(), "&Fetch 1");
    EXPECT_EQ(Child<QPushButton>(*window, "btnDeinstall")->text(), "&Remove 1");

    // Hidden rows that are not ticked add no line.
    Filter(*window)->clear();
    Click(*window, "btnDeselectAll");
    QTest::keyClicks(Filter(*window), "o");
    Click(*window, "btnSelectAll");
    EXPECT_EQ(Summary(*window), " 3 aircraft\r\n 2 selected\r\n 1 to install\r\n 0 to update\r\n 0 to remove");
}

TEST_F(SelectionWindowTest, ALoadAndASortKeepTheFilter) {
    auto window = StartOnSelectionPage();
    QTest::keyClicks(Filter(*window), "o");
    Click(*window, "btnPrev");
    Click(*window, "btnNext");
    EXPECT_EQ(Filter(*window)->text(), "o");
    EXPECT_EQ(Rows(*window), "Newcomer- Waiting- ");
    EXPECT_EQ(window->AircraftRows().RowCount(), 3);
    emit AircraftList(*window)->header()->sectionClicked(0);
    EXPECT_EQ(Rows(*window), "Waiting- Newcomer- ");
}

// What assistive technology reads of the list: the column headers, then per
// row shown its cells, "[x]" or "[ ]" before a check box's text.
TEST_F(SelectionWindowTest, AssistiveTechnologyReadsHeadersCellsAndTicks) {
    QAccessible::setActive(true);
    const auto inactive = qScopeGuard([] { QAccessible::setActive(false); });
    auto window = StartOnSelectionPage();
    Click(*window, "btnSelectNew");
    QTest::keyClicks(Filter(*window), "o"); // "no": Newcomer and Waiting
    QApplication::processEvents();          // the view lays out its rows anew
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(AircraftList(*window));
    ASSERT_TRUE(list && list->tableInterface());
    QAccessibleTableInterface* table = list->tableInterface();
    std::vector<std::string> read;
    std::string headers;
    for (int column = 0; column < table->columnCount(); ++column)
        headers += list->child(column)->text(QAccessible::Name).toStdString() + "|";
    read.push_back(headers);
    for (int row = 0; row < table->rowCount(); ++row) {
        std::string cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            ASSERT_TRUE(cell);
            if (cell->state().checkable)
                cells += cell->state().checked ? "[x] " : "[ ] ";
            cells += cell->text(QAccessible::Name).toStdString() + "|";
        }
        read.push_back(cells);
    }
    EXPECT_EQ(read, (std::vector<std::string>{"Livery|Type|Status|Installed|Designer|Model|Size|Included|",
                                              "[x] Newcomer|A320|new|no|D. Signer|m1|1,024KB||",
                                              "[ ] Waiting|A320||no|D. Signer|m1|1,024KB||"}));
}

// Shift+Down marks a second row; Space ticks both with one change told to
// the view and no recount per row; Ctrl+A then Space ticks the rest.
TEST_F(SelectionWindowTest, SpaceTicksEveryMarkedRowWithOneRecount) {
    auto window = StartOnSelectionPage();
    QTreeView* list = AircraftList(*window);
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QSignalSpy perRow(list->model(), SIGNAL(rowChanged()));
    QSignalSpy changes(list->model(), &QAbstractItemModel::dataChanged);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(Rows(*window), "Newcomer+ Settled+ Waiting- ");
    EXPECT_EQ(Shown(*window), Expected(3, 2, 1, 0, 1, "Fetch 1+ Remove 1+"));
    EXPECT_EQ(perRow.count(), 0);
    EXPECT_EQ(changes.count(), 1);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(Rows(*window), "Newcomer+ Settled+ Waiting+ ");
}

TEST_F(SelectionWindowTest, TheListsMenuTicksUnticksCopiesAndOpensTheFolder) {
    auto window = StartOnSelectionPage();
    QTreeView* list = AircraftList(*window);
    list->selectionModel()->select(QItemSelection(list->model()->index(0, 0), list->model()->index(1, 0)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // Settled, whose folder is made, is the current row.
    list->selectionModel()->setCurrentIndex(list->model()->index(1, 0), QItemSelectionModel::NoUpdate);
    const auto action = [&](const char* name) {
        emit list->customContextMenuRequested(QPoint(5, 5));
        EXPECT_TRUE(Child<QMenu>(*window, "mnAircraft")->isVisible());
        return Child<QAction>(*window, name);
    };
    action("actTickRows")->trigger();
    EXPECT_EQ(Shown(*window), Expected(3, 2, 1, 0, 1, "Fetch 1+ Remove 1+"));
    action("actUntickRows")->trigger();
    EXPECT_EQ(Rows(*window), "Newcomer- Settled- Waiting- ");
    action("actCopyRows")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Newcomer\tA320\tnew\tno\tD. Signer\tm1\t1,024KB\t\n"
                                                                  "Settled\tA320\t\tyes\tD. Signer\tm1\t1,024KB\t\n");
    action("actOpenAircraftFolder")->trigger();
    const QString folder = QString::fromStdString(FSDir() + "/aircraft/pkg");
    EXPECT_EQ(OpenedURLs, std::vector<std::string>{QUrl::fromLocalFile(folder).toString().toStdString()});
    std::filesystem::remove_all(folder.toStdString());
    EXPECT_FALSE(action("actOpenAircraftFolder")->isEnabled());
}

// Enter on the Welcome page is Next; then on each page with the bottom bar
// every button has a letter of its own.
TEST_F(SelectionWindowTest, EnterIsNextAndEveryButtonHasAMnemonicOfItsOwn) {
    UseLocalSource(BuildCollection("c", {{"pkg", {{.Airline = "Newcomer", .Texture = "newcomer"}}}}));
    auto window = Start();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Child<QWidget>(*window, "edPackageFile")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const auto* pages = Child<QStackedWidget>(*window, "nbPages");
    ASSERT_EQ(pages->currentIndex(), 1);
    const auto bar = Child<QWidget>(*window, "pnlBottom")->findChildren<QAbstractButton*>();
    for (int page = 0; page < pages->count(); ++page) {
        std::set<QKeySequence> taken;
        for (const QAbstractButton* button : pages->widget(page)->findChildren<QAbstractButton*>() + bar) {
            const QKeySequence key = QKeySequence::mnemonic(button->text());
            // The path pickers' "..." take no focus and no letter.
            EXPECT_TRUE(qobject_cast<const QToolButton*>(button) || (!key.isEmpty() && taken.insert(key).second))
                << button->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace wh::test
