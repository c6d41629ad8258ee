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

#include "Collection.h"
#include "SampleWriter.h"
#include "WindowTestSupport.h"
#include "catalogue/AircraftRows.h"
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

    std::set<QStringList> shown;
    QStringList order;
    for (int i = 0; i < ListRowCount(*window); ++i) {
        QStringList texts;
        for (int column = 0; column < AircraftList(*window)->model()->columnCount(); ++column)
            texts << ListText(*window, i, column);
        shown.insert(texts);
        order << texts[0];
    }
    EXPECT_EQ(ListRowCount(*window), summary.Liveries);
    EXPECT_EQ(shown, expected);

    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_LE(collator.compare(order[i - 1], order[i]), 0)
            << order[i - 1].toStdString() << " before " << order[i].toStdString();
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
    QTreeView* list = AircraftList(*window);
    auto* install = Child<QPushButton>(*window, "btnInstall");

    std::vector<int> ticked;
    for (int i = 0; i < ListRowCount(*window) && ticked.size() < 2; ++i)
        if (ListText(*window, i, 2) == "new") {
            SetListChecked(*window, i, true);
            ticked.push_back(i);
        }
    ASSERT_EQ(ticked.size(), 2u);
    ASSERT_EQ(install->text(), "&Fetch 2");

    std::vector<bool> enabledMeanwhile;
    bool stillUnticked = false;
    QTimer::singleShot(0, window.get(), [&] {
        for (const char* name : {"btnInstall", "btnSelectAll", "btnPrev", "btnDeselectAll"})
            enabledMeanwhile.push_back(Child<QPushButton>(*window, name)->isEnabled());
        const int other = ticked[1] + 1 < ListRowCount(*window) ? ticked[1] + 1 : 0;
        const QRect box = list->visualRect(list->model()->index(other, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 8, box.center().y()));
        stillUnticked = !ListChecked(*window, other);
    });
    QTest::mouseClick(install, Qt::LeftButton);

    EXPECT_EQ(enabledMeanwhile, (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(stillUnticked);
    for (const int i : ticked) {
        const TWHAircraft& a = window->AircraftRows().RowAircraft(i);
        EXPECT_FALSE(ListChecked(*window, i));
        EXPECT_EQ(ListText(*window, i, 2), "");
        EXPECT_EQ(ListText(*window, i, 3), "yes");
        const std::string cfg = (sampleDir / "fs2002").string() + "/aircraft/" + a.Directory + "/aircraft.cfg";
        EXPECT_NE(FindLiverySection(cfg, "texture", a.Texture), "") << a.Texture;
    }
    const QString summary = Child<QLabel>(*window, "lblSelectionStatus")->text();
    EXPECT_TRUE(summary.contains(" 0 selected")) << summary.toStdString();
    EXPECT_EQ(install->text(), "&Fetch 0");
    EXPECT_FALSE(install->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(*window, "btnSelectAll")->isEnabled());
    EXPECT_EQ(Child<QLabel>(*window, "lblProgress")->text(), "");
}

} // namespace
} // namespace wh::test
