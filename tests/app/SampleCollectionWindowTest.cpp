// From the generated sample collection to the Selection page, as a new user
// goes: Welcome page, Next, every livery listed with its state.

#include <cmath>
#include <filesystem>
#include <set>

#include <QCollator>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include "Collection.h"
#include "SampleWriter.h"
#include "WindowTestSupport.h"
#include "app/AircraftRow.h"
#include "install/CfgSections.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"
#include <QLabel>
#include <QTimer>

namespace wh::test {
namespace {

QString Wide(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

// What a row must show for a livery nobody installed through the client yet.
QStringList ExpectedRow(const sample::TSamplePackage& package, const sample::TSampleLivery& livery,
                        const std::filesystem::path& source) {
    const auto bytes = std::filesystem::file_size(source / package.Directory / (livery.Texture + ".zip"));
    const auto kilobytes = static_cast<long long>(std::floor(static_cast<double>(bytes) / 1024.0 + 0.5));
    return {Wide(livery.Airline),
            Wide(package.UIType),
            livery.Status == "ok" ? "new" : "",
            "no",
            Wide(livery.Designer),
            Wide(livery.Model),
            QLocale(QLocale::English, QLocale::UnitedStates).toString(kilobytes) + "KB",
            Wide(livery.Inclusion)};
}

class SampleCollectionWindowTest : public TWindowTest {
protected:
    // Settings that load the sample from its folder into its own simulator.
    void UseSample(const std::filesystem::path& sampleDir) {
        WriteSettings({{"rbLocalDir", "1"},
                       {"rbURL", "0"},
                       {"edPackageFile", (sampleDir / "source" / "packages.lst").string()},
                       {"FSDir", (sampleDir / "fs2002").string()}});
    }
};

TEST_F(SampleCollectionWindowTest, NextListsEveryLiveryOfTheSampleSortedByLivery) {
    const std::filesystem::path sampleDir = ProgramDir.Path() / "sample";
    const sample::TSampleSummary summary = sample::WriteSample(sampleDir);
    UseSample(sampleDir);
    auto window = Start();
    window->show();

    auto* pages = Child<QStackedWidget>(*window, "nbPages");
    auto* next = Child<QPushButton>(*window, "btnNext");
    ASSERT_EQ(pages->currentIndex(), 0);
    ASSERT_TRUE(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);

    ASSERT_EQ(pages->currentIndex(), 1);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(*window, "btnPrev")->isEnabled());

    std::set<QStringList> expected;
    for (const auto& package : sample::MakeCollection())
        for (const auto& livery : package.Liveries)
            expected.insert(ExpectedRow(package, livery, sampleDir / "source"));
    ASSERT_EQ(static_cast<int>(expected.size()), summary.Liveries);

    QTreeWidget* list = Child<QTreeWidget>(*window, "lvAircraft");
    std::set<QStringList> shown;
    QStringList order;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList texts;
        for (int column = 0; column < list->columnCount(); ++column)
            texts << list->topLevelItem(i)->text(column);
        shown.insert(texts);
        order << texts[0];
    }
    EXPECT_EQ(list->topLevelItemCount(), summary.Liveries);
    EXPECT_EQ(shown, expected);

    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_LE(collator.compare(order[i - 1], order[i]), 0) << order[i - 1].toStdString() << " before "
                                                                << order[i].toStdString();
}

// Two new liveries ticked and installed through the button: the rows end
// unticked and refreshed, their sections in aircraft.cfg, the summary
// recounted; while it runs nothing can start another operation or tick a row.
TEST_F(SampleCollectionWindowTest, FetchInstallsTheTickedLiveriesAndRecounts) {
    const std::filesystem::path sampleDir = ProgramDir.Path() / "sample";
    sample::WriteSample(sampleDir);
    UseSample(sampleDir);
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    QTreeWidget* list = Child<QTreeWidget>(*window, "lvAircraft");
    auto* install = Child<QPushButton>(*window, "btnInstall");

    std::vector<int> ticked;
    for (int i = 0; i < list->topLevelItemCount() && ticked.size() < 2; ++i)
        if (list->topLevelItem(i)->text(2) == "new") {
            list->topLevelItem(i)->setCheckState(0, Qt::Checked);
            ticked.push_back(i);
        }
    ASSERT_EQ(ticked.size(), 2u);
    ASSERT_EQ(install->text(), "Fetch 2");

    std::vector<bool> enabledMeanwhile;
    bool stillUnticked = false;
    QTimer::singleShot(0, window.get(), [&] {
        for (const char* name : {"btnInstall", "btnSelectAll", "btnPrev", "btnDeselectAll"})
            enabledMeanwhile.push_back(Child<QPushButton>(*window, name)->isEnabled());
        const int other = ticked[1] + 1 < list->topLevelItemCount() ? ticked[1] + 1 : 0;
        const QRect box = list->visualItemRect(list->topLevelItem(other));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 8, box.center().y()));
        stillUnticked = list->topLevelItem(other)->checkState(0) == Qt::Unchecked;
    });
    QTest::mouseClick(install, Qt::LeftButton);

    EXPECT_EQ(enabledMeanwhile, (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(stillUnticked);
    for (const int i : ticked) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        const TWHAircraft& a = static_cast<TWHAircraftRow*>(item)->Aircraft();
        EXPECT_EQ(item->checkState(0), Qt::Unchecked);
        EXPECT_EQ(item->text(2), "");
        EXPECT_EQ(item->text(3), "yes");
        const std::string cfg = (sampleDir / "fs2002").string() + "/aircraft/" + a.Directory + "/aircraft.cfg";
        EXPECT_NE(FindLiverySection(cfg, "texture", a.Texture), "") << a.Texture;
    }
    const QString summary = Child<QLabel>(*window, "lblSelectionStatus")->text();
    EXPECT_TRUE(summary.contains(" 0 selected")) << summary.toStdString();
    EXPECT_EQ(install->text(), "Fetch 0");
    EXPECT_FALSE(install->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(*window, "btnSelectAll")->isEnabled());
    EXPECT_EQ(Child<QLabel>(*window, "lblProgress")->text(), "");
}

} // namespace
} // namespace wh::test
