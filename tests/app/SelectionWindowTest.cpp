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

using wh::test::PrintTo;

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
            shown += " " + button->text().toStdString() + (button->isEnabled() ? "+" : "-");
        }
        return shown;
    }
};

TEST_F(SelectionWindowTest, TickByHandUpdatesLabelAndBothCaptionsAtOnce) {
    auto window = StartOnSelectionPage();
    ASSERT_EQ(Shown(*window), Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-"));
    auto* list = Child<QTreeWidget>(*window, "lvAircraft");
    for (const auto& [row, expected] : {std::pair{0, Expected(3, 1, 1, 0, 0, "Fetch 1+ Remove 0-")},
                                        {1, Expected(3, 2, 1, 0, 1, "Fetch 1+ Remove 1+")},
                                        {0, Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+")}}) {
        list->setCurrentItem(list->topLevelItem(row));
        QTest::keyClick(list->viewport(), Qt::Key_Space);
        EXPECT_EQ(Shown(*window), expected) << row;
    }
}

struct TButtonCase {
    const char* Name;
    std::vector<const char*> Buttons;
    std::string Expected;
};

class SelectionButtonWindowTest : public SelectionWindowTest, public testing::WithParamInterface<TButtonCase> {};

TEST_P(SelectionButtonWindowTest, LeavesTheLabelAndCaptions) {
    auto window = StartOnSelectionPage();
    for (const char* name : GetParam().Buttons)
        Click(*window, name);
    EXPECT_EQ(Shown(*window), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionButtonWindowTest,
    testing::Values(
        TButtonCase{"SelectAll", {"btnSelectAll"}, Expected(3, 3, 1, 0, 1, "Fetch 1+ Remove 1+")},
        TButtonCase{"SelectNew", {"btnSelectNew"}, Expected(3, 1, 1, 0, 0, "Fetch 1+ Remove 0-")},
        TButtonCase{"SelectUpdated", {"btnSelectUpdated"}, Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-")},
        TButtonCase{"SelectInstalled", {"btnSelectInstalled"}, Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+")},
        TButtonCase{"Invert", {"btnSelectNew", "btnInvertSelection"}, Expected(3, 2, 0, 0, 1, "Fetch 0- Remove 1+")},
        TButtonCase{"DeselectAll", {"btnSelectAll", "btnDeselectAll"}, Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-")}));

TEST_F(SelectionWindowTest, HeaderClickSortsAndEnteringThePageRecounts) {
    auto window = StartOnSelectionPage();
    auto* list = Child<QTreeWidget>(*window, "lvAircraft");
    const QPoint livery(list->header()->sectionPosition(0) + 5, 5);
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, livery);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Waiting");
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Newcomer");

    // A tick inside a change bracket waits for a recount; entering the page is one.
    window->AircraftRows().BeginRowChanges();
    window->AircraftRows().SetRowChecked(1, true);   // Settled
    window->AircraftRows().EndRowChanges();
    ASSERT_EQ(Shown(*window), Expected(3, 0, 0, 0, 0, "Fetch 0- Remove 0-"));
    window->lblShowLogClick();
    Click(*window, "btnPrev");
    EXPECT_EQ(Shown(*window), Expected(3, 1, 0, 0, 1, "Fetch 0- Remove 1+"));
}

} // namespace
} // namespace wh::test
