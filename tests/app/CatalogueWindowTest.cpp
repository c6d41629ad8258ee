#include <filesystem>
#include <iostream>

#include <QElapsedTimer>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/PathEdit.h"
#include "catalogue/AircraftRows.h"
#include "profile/IniFiles.h"

namespace wh::test {
namespace {

class CatalogueWindowTest : public TWindowTest {
protected:
    static std::vector<QStringList> Rows(const QWidget& window) {
        std::vector<QStringList> rows;
        for (int i = 0; i < ListRowCount(window); ++i) {
            QStringList texts;
            for (int column = 0; column < AircraftList(window)->model()->columnCount(); ++column)
                texts << ListText(window, i, column);
            rows.push_back(texts);
        }
        return rows;
    }
    static QStringList Liveries(const QWidget& window) {
        QStringList names;
        for (const QStringList& row : Rows(window))
            names << row[0];
        return names;
    }
    static void ClickNext(const QWidget& window) {
        QTest::mouseClick(Child<QPushButton>(window, "btnNext"), Qt::LeftButton);
    }
};

// The titles are read in SelectionWindowTest.AssistiveTechnologyReadsHeadersCellsAndTicks.
TEST_F(CatalogueWindowTest, ListHasItsColumns) {
    auto window = Start();
    QTreeView* list = AircraftList(*window);
    ASSERT_EQ(list->model()->columnCount(), 8);
    for (const auto& [column, width] : {std::pair{2, 60}, {3, 60}, {5, 50}, {6, 50}, {7, 50}})
        EXPECT_EQ(list->columnWidth(column), width) << column;
}

TEST_F(CatalogueWindowTest, LoadsALocalCollectionSortedByLivery) {
    const std::string packageFile = BuildCollection(
        "collection",
        {{"pkgA",
          {{.Airline = "charlie Air", .Type = "B737", .Designer = "Cee", .Model = "m7", .Texture = "charlie"},
           {.Airline = "Bravo", .Status = "pending", .Texture = "bravo", .Inclusion = "base", .Size = 512}}},
         {"pkgB",
          {{.Airline = "Delta", .Texture = "delta", .Size = -1},
           {.Airline = "alpha", .Designer = "Ay", .Texture = "alpha", .Size = 1536}}}});
    // charlie is installed: its texture folder and its archive copy exist.
    std::filesystem::create_directories(FSDir() + "/aircraft/pkgA/texture.charlie");
    WriteFile(WorkDir() + "/pkgA/charlie.zip", "zip");
    UseLocalSource(packageFile);
    auto window = Start();
    window->show();
    ClickNext(*window);

    EXPECT_EQ(Child<QStackedWidget>(*window, "nbPages")->currentIndex(), 1);
    const std::vector<QStringList> expected = {
        {"alpha", "A320", "new", "no", "Ay", "m1", "2KB", ""},
        {"Bravo", "A320", "", "no", "D. Signer", "m1", "1KB", "base"},
        {"charlie Air", "B737", "", "yes", "Cee", "m7", "1,024KB", ""},
        {"Delta", "A320", "new", "no", "D. Signer", "m1", "", ""},
    };
    EXPECT_EQ(Rows(*window), expected);
    EXPECT_EQ(window->SortColumn(), 0);
    EXPECT_FALSE(window->SortDescending());

    for (int i = 0; i < ListRowCount(*window); ++i) {
        EXPECT_FALSE(ListChecked(*window, i));
        EXPECT_TRUE(AircraftList(*window)->model()->index(i, 0).flags() & Qt::ItemIsUserCheckable);
    }
    EXPECT_EQ(window->AircraftRows().RowAircraft(0).Directory, "pkgB");

    EXPECT_TRUE(Child<QLabel>(*window, "lblProgress")->text().isEmpty());
    EXPECT_TRUE(Child<QWidget>(*window, "shProgress")->isHidden());
    const auto lines = LogFileLines();
    ASSERT_GT(lines.size(), 6u);
    for (std::size_t i = 6; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, 8), "Status: ") << lines[i];
}

TEST_F(CatalogueWindowTest, SecondLoadShowsOnlyItsOwnRows) {
    UseLocalSource(BuildCollection(
        "collection", {{"pkg", {{.Airline = "Old One", .Texture = "one"}, {.Airline = "Old Two", .Texture = "two"}}}}));
    auto window = Start();
    window->show();
    ClickNext(*window);
    ASSERT_EQ(Liveries(*window), QStringList({"Old One", "Old Two"}));

    BuildCollection("collection", {{"pkg", {{.Airline = "New", .Texture = "new"}}},
                                   {"more", {{.Airline = "Another", .Texture = "another"}}}});
    QTest::mouseClick(Child<QPushButton>(*window, "btnPrev"), Qt::LeftButton);
    ClickNext(*window);
    EXPECT_EQ(Liveries(*window), QStringList({"Another", "New"}));
}

TEST_F(CatalogueWindowTest, LoadLocksItsControlsAndCloseWaitsForIt) {
    UseLocalSource(BuildCollection("collection", {{"pkg", {{.Airline = "Solo", .Texture = "solo"}}}}));
    auto window = Start();
    window->show();
    std::vector<std::pair<const char*, bool>> duringLoad;
    bool runningWhenClosed = false;
    QTimer::singleShot(0, window.get(), [&] {
        for (const char* name : {"btnNext", "btnPrev", "rbLocalDir", "rbURL", "edPackageFile", "edURL"})
            duringLoad.emplace_back(name, Child<QWidget>(*window, name)->isEnabled());
        runningWhenClosed = window->OperationRunning();
        window->close();
        EXPECT_TRUE(window->isVisible()) << "closed in the middle of the load";
    });
    ClickNext(*window);
    ASSERT_TRUE(runningWhenClosed);
    ASSERT_EQ(duringLoad.size(), 6u);
    for (const auto& [name, enabled] : duringLoad)
        EXPECT_FALSE(enabled) << name;
    EXPECT_EQ(Liveries(*window), QStringList({"Solo"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Welcome", "rbLocalDir", ""), "1");
}

TEST_F(CatalogueWindowTest, TenThousandRowsAreAddedInOneBracketAndFreedOnClear) {
    auto window = Start();
    window->show();
    constexpr int Count = 10000;
    QElapsedTimer timer;
    timer.start();
    window->BeginUpdate();
    window->Clear();
    for (int i = 0; i < Count; ++i) {
        auto aircraft = std::make_unique<TWHAircraft>();
        aircraft->Airline = "Airline " + std::to_string((i * 7919) % Count);
        aircraft->Directory = "pkg" + std::to_string(i % 50);
        aircraft->Texture = "t" + std::to_string(i);
        aircraft->CatalogueStatus = "ok";
        aircraft->ArchiveSize = i * 100;
        window->Add(std::move(aircraft));
    }
    window->EndUpdate();
    const qint64 elapsed = timer.elapsed();
    RecordProperty("AddMilliseconds", static_cast<int>(elapsed));
    std::cout << "added " << Count << " rows in " << elapsed << " ms\n";
    ASSERT_EQ(ListRowCount(*window), Count);
    EXPECT_TRUE(AircraftList(*window)->updatesEnabled());
    EXPECT_EQ(ListText(*window, Count - 1, 0).toStdString(), window->AircraftRows().RowAircraft(Count - 1).Airline);
    EXPECT_EQ(ListText(*window, Count - 1, 2), "new");
    // Rows own their records: clearing frees them (a leak shows under the sanitizers).
    window->Clear();
    EXPECT_EQ(ListRowCount(*window), 0);
}

TEST_F(CatalogueWindowTest, LoadFailingAtASecondPackageKeepsTheFirstPackagesRows) {
    const std::string packageFile = BuildCollection(
        "collection", {{"first", {{.Airline = "Zulu", .Texture = "zulu"}, {.Airline = "Yankee", .Texture = "y"}}},
                       {"second", {{.Airline = "Xray", .Texture = "x"}}}});
    std::filesystem::remove(ProgramDir / "collection/second/aircraft.lst");
    UseLocalSource(packageFile);
    auto window = Start();
    window->show();
    TDialogAnswers answerer;
    ClickNext(*window);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_TRUE(answerer.Boxes[0].Text.contains("aircraft.lst")) << answerer.Boxes[0].Text.toStdString();
    EXPECT_EQ(Child<QStackedWidget>(*window, "nbPages")->currentIndex(), 0);
    // Rows read so far stay, unsorted; the status line keeps the last status.
    EXPECT_EQ(Liveries(*window), QStringList({"Zulu", "Yankee"}));
    EXPECT_EQ(window->SortColumn(), -1);
    EXPECT_FALSE(Child<QLabel>(*window, "lblProgress")->text().isEmpty());
    EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
    EXPECT_TRUE(Child<QWidget>(*window, "edPackageFile")->isEnabled());
}

} // namespace
} // namespace wh::test
