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
#include "platform/Codepage.h"

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

class SampleCollectionWindowTest : public TWindowTest {};

TEST_F(SampleCollectionWindowTest, NextListsEveryLiveryOfTheSampleSortedByLivery) {
    const std::filesystem::path sampleDir = ProgramDir.Path() / "sample";
    const sample::TSampleSummary summary = sample::WriteSample(sampleDir);
    WriteSettings({{"rbLocalDir", "1"},
                   {"rbURL", "0"},
                   {"edPackageFile", (sampleDir / "source" / "packages.lst").string()},
                   {"FSDir", (sampleDir / "fs2002").string()}});
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

} // namespace
} // namespace wh::test
