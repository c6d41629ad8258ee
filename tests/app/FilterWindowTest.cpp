#include <filesystem>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "WindowTestSupport.h"
#include "tests/support/NamedCases.h"

namespace wh::test {
namespace {

using wh::test::PrintTo;

// "Newcomer" to install, "Settled" installed and current, "Waiting" pending
// and not installed; the list sorted by Livery.
class FilterWindowTest : public TWindowTest {
protected:
    std::unique_ptr<TfmWingharbourClientMain> StartOnSelectionPage() {
        UseLocalSource(BuildCollection("c", {{"pkg",
                                              {{.Airline = "Newcomer", .Texture = "newcomer"},
                                               {.Airline = "Settled", .Designer = "Jos\xE9", .Texture = "settled"},
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
    static QLineEdit* Filter(const QWidget& window) { return Child<QLineEdit>(window, "edFilter"); }
    // The liveries shown, with "+" for a ticked row and "-" for an unticked one.
    static std::string Rows(const QWidget& window, bool shown = true) {
        const auto* list = Child<QTreeWidget>(window, "lvAircraft");
        std::string rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            if (row->isHidden() != shown)
                rows += row->text(0).toStdString() + (row->checkState(0) == Qt::Checked ? "+ " : "- ");
        }
        return rows;
    }
    static std::string Summary(const QWidget& window) {
        return Child<QLabel>(window, "lblSelectionStatus")->text().toStdString();
    }
};

TEST_F(FilterWindowTest, TypingHidesRowsCtrlFFocusesAndEscapeShowsThemAgain) {
    auto window = StartOnSelectionPage();
    EXPECT_EQ(Filter(*window)->placeholderText(), "Filter");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* list = Child<QTreeWidget>(*window, "lvAircraft");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), Filter(*window));
    QTest::keyClicks(Filter(*window), "jos");   // Settled's designer
    EXPECT_EQ(Rows(*window), "Settled- ");
    QTest::keyClick(Filter(*window), Qt::Key_Backspace);
    EXPECT_EQ(Rows(*window), "Settled- ");
    QTest::keyClicks(Filter(*window), "e");   // "joe"
    EXPECT_EQ(Rows(*window), "");
    QTest::keyClick(Filter(*window), Qt::Key_Escape);
    EXPECT_EQ(Filter(*window)->text(), "");
    EXPECT_EQ(Rows(*window), "Newcomer- Settled- Waiting- ");
}

TEST_F(FilterWindowTest, SelectionButtonsLeaveHiddenRowsAndTheSummaryCountsThem) {
    auto window = StartOnSelectionPage();
    Click(*window, "btnSelectInstalled");
    QTest::keyClicks(Filter(*window), "n");   // Newcomer and Waiting
    EXPECT_EQ(Rows(*window, false), "Settled+ ");
    EXPECT_EQ(Summary(*window),
              " 3 aircraft\r\n 1 selected\r\n 0 to install\r\n 0 to update\r\n 1 to remove\r\n 1 hidden by the filter");

    Click(*window, "btnDeselectAll");
    EXPECT_EQ(Rows(*window, false), "Settled+ ");
    Click(*window, "btnSelectAll");
    EXPECT_EQ(Rows(*window), "Newcomer+ Waiting+ ");
    EXPECT_EQ(Summary(*window),
              " 3 aircraft\r\n 3 selected\r\n 1 to install\r\n 0 to update\r\n 1 to remove\r\n 1 hidden by the filter");
    EXPECT_EQ(Child<QPushButton>(*window, "btnInstall")->text(), "Fetch 1");
    EXPECT_EQ(Child<QPushButton>(*window, "btnDeinstall")->text(), "Remove 1");

    // Hidden rows that are not ticked add no line.
    Filter(*window)->clear();
    Click(*window, "btnDeselectAll");
    QTest::keyClicks(Filter(*window), "n");
    Click(*window, "btnSelectAll");
    EXPECT_EQ(Summary(*window), " 3 aircraft\r\n 2 selected\r\n 1 to install\r\n 0 to update\r\n 0 to remove");
}

TEST_F(FilterWindowTest, ALoadAndASortKeepTheFilter) {
    auto window = StartOnSelectionPage();
    QTest::keyClicks(Filter(*window), "n");
    Click(*window, "btnPrev");
    Click(*window, "btnNext");
    EXPECT_EQ(Filter(*window)->text(), "n");
    EXPECT_EQ(Rows(*window), "Newcomer- Waiting- ");
    auto* list = Child<QTreeWidget>(*window, "lvAircraft");
    EXPECT_EQ(list->topLevelItemCount(), 3);
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(Rows(*window), "Waiting- Newcomer- ");
}

} // namespace
} // namespace wh::test
