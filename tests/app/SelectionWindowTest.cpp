#include <filesystem>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "WindowTestSupport.h"
#include "catalogue/AircraftRows.h"
#include "tests/support/NamedCases.h"

namespace wh::test {
namespace {

struct TShown {
    QString Summary;
    QString Install;
    bool InstallEnabled;
    QString Deinstall;
    bool DeinstallEnabled;
    bool operator==(const TShown&) const = default;
};

void PrintTo(const TShown& shown, std::ostream* os) {
    *os << shown.Summary.toStdString() << " | " << shown.Install.toStdString() << (shown.InstallEnabled ? "+" : "-")
        << " | " << shown.Deinstall.toStdString() << (shown.DeinstallEnabled ? "+" : "-");
}

QString Summary(int rows, int selected, int install, int update, int remove) {
    return QString::asprintf(" %d aircraft\r\n %d selected\r\n %d to install\r\n %d to update\r\n %d to remove", rows,
                             selected, install, update, remove);
}

// A loaded collection of three: "Newcomer" to install, "Settled" installed
// and current, "Waiting" pending and not installed.
class SelectionWindowTest : public TWindowTest {
protected:
    std::unique_ptr<TfmWingharbourClientMain> StartOnSelectionPage() {
        UseLocalSource(BuildCollection("collection", {{"pkg",
                                                       {{.Airline = "Newcomer", .Texture = "newcomer"},
                                                        {.Airline = "Settled", .Texture = "settled"},
                                                        {.Airline = "Waiting", .Status = "pending", .Texture = "w"}}}}));
        std::filesystem::create_directories(FSDir() + "/aircraft/pkg/texture.settled");
        WriteFile(WorkDir() + "/pkg/settled.zip", "zip");
        auto window = Start();
        window->show();
        QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
        return window;
    }
    static TShown Shown(const QWidget& window) {
        const auto* install = Child<QPushButton>(window, "btnInstall");
        const auto* deinstall = Child<QPushButton>(window, "btnDeinstall");
        return {Child<QLabel>(window, "lblSelectionStatus")->text(), install->text(), install->isEnabled(),
                deinstall->text(), deinstall->isEnabled()};
    }
    static QTreeWidget* List(const QWidget& window) { return Child<QTreeWidget>(window, "lvAircraft"); }
};

TEST_F(SelectionWindowTest, PanelHoldsItsControlsTopToBottom) {
    auto window = StartOnSelectionPage();
    const std::vector<std::pair<const char*, QString>> controls = {
        {"btnSelectAll", "select all"},         {"btnSelectNew", "select new"},
        {"btnSelectUpdated", "select updated"}, {"btnSelectInstalled", "select installed"},
        {"btnInvertSelection", "invert selection"}, {"btnDeselectAll", "deselect all"},
        {"lblSelectionStatus", Summary(3, 0, 0, 0, 0)}, {"btnInstall", "Fetch 0"},
        {"btnDeinstall", "Remove 0"}};
    int lastTop = -1;
    for (const auto& [name, text] : controls) {
        auto* control = Child<QWidget>(*window, name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), "pnlSelection") << name;
        const auto* button = qobject_cast<QPushButton*>(control);
        EXPECT_EQ(button ? button->text() : qobject_cast<QLabel*>(control)->text(), text) << name;
        EXPECT_GT(control->y(), lastTop) << name;
        lastTop = control->y();
    }
    for (const char* name : {"btnInstall", "btnDeinstall"})
        EXPECT_EQ(Child<QPushButton>(*window, name)->palette().color(QPalette::Active, QPalette::ButtonText),
                  QColor(Qt::red))
            << name;
}

TEST_F(SelectionWindowTest, TickByHandUpdatesLabelAndBothCaptionsAtOnce) {
    auto window = StartOnSelectionPage();
    ASSERT_EQ(Shown(*window), (TShown{Summary(3, 0, 0, 0, 0), "Fetch 0", false, "Remove 0", false}));
    QTreeWidget* list = List(*window);
    const auto tick = [&](int row) {
        list->setCurrentItem(list->topLevelItem(row));
        QTest::keyClick(list->viewport(), Qt::Key_Space);
    };
    tick(0);   // Newcomer
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(Shown(*window), (TShown{Summary(3, 1, 1, 0, 0), "Fetch 1", true, "Remove 0", false}));
    tick(1);   // Settled
    EXPECT_EQ(Shown(*window), (TShown{Summary(3, 2, 1, 0, 1), "Fetch 1", true, "Remove 1", true}));
    tick(0);
    EXPECT_EQ(Shown(*window), (TShown{Summary(3, 1, 0, 0, 1), "Fetch 0", false, "Remove 1", true}));
}

struct TButtonCase {
    const char* Name;
    std::vector<const char*> Buttons;
    TShown Expected;
};

class SelectionButtonWindowTest : public SelectionWindowTest, public testing::WithParamInterface<TButtonCase> {};

TEST_P(SelectionButtonWindowTest, LeavesTheLabelAndCaptions) {
    auto window = StartOnSelectionPage();
    for (const char* name : GetParam().Buttons)
        QTest::mouseClick(Child<QPushButton>(*window, name), Qt::LeftButton);
    EXPECT_EQ(Shown(*window), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionButtonWindowTest,
    testing::Values(
        TButtonCase{"SelectAll", {"btnSelectAll"}, {Summary(3, 3, 1, 0, 1), "Fetch 1", true, "Remove 1", true}},
        TButtonCase{"SelectNew", {"btnSelectNew"}, {Summary(3, 1, 1, 0, 0), "Fetch 1", true, "Remove 0", false}},
        TButtonCase{"SelectUpdated", {"btnSelectUpdated"}, {Summary(3, 0, 0, 0, 0), "Fetch 0", false, "Remove 0", false}},
        TButtonCase{"SelectInstalled",
                    {"btnSelectInstalled"},
                    {Summary(3, 1, 0, 0, 1), "Fetch 0", false, "Remove 1", true}},
        TButtonCase{"InvertSelection",
                    {"btnSelectNew", "btnInvertSelection"},
                    {Summary(3, 2, 0, 0, 1), "Fetch 0", false, "Remove 1", true}},
        TButtonCase{"DeselectAll",
                    {"btnSelectAll", "btnDeselectAll"},
                    {Summary(3, 0, 0, 0, 0), "Fetch 0", false, "Remove 0", false}}));

TEST_F(SelectionWindowTest, HeaderClickSortsAndEnteringThePageRecounts) {
    auto window = StartOnSelectionPage();
    QTreeWidget* list = List(*window);
    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_TRUE(window->SortDescending());
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Waiting");
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Newcomer");

    // Ticks set inside a change bracket wait for a recount; entering the
    // Selection page is one.
    TWHAircraftRows& rows = window->AircraftRows();
    rows.BeginRowChanges();
    rows.SetRowChecked(1, true);   // Settled, after the descending sort
    rows.EndRowChanges();
    ASSERT_EQ(Shown(*window).Summary, Summary(3, 0, 0, 0, 0));
    window->lblShowLogClick();
    QTest::mouseClick(Child<QPushButton>(*window, "btnPrev"), Qt::LeftButton);
    EXPECT_EQ(Shown(*window), (TShown{Summary(3, 1, 0, 0, 1), "Fetch 0", false, "Remove 1", true}));
}

} // namespace
} // namespace wh::test
