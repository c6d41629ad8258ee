// Removing one of two installed liveries of the sample collection from the
// Selection page, with the confirmation answered No and then Yes.

#include <filesystem>

#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include "Collection.h"
#include "SampleWriter.h"
#include "WindowTestSupport.h"
#include "catalogue/AircraftRows.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

// The row in display order; no filter is set, so it is the list's row too.
int RowOf(TfmWingharbourClientMain& window, const std::string& texture) {
    for (int i = 0; i < window.AircraftRows().RowCount(); ++i)
        if (window.AircraftRows().RowAircraft(i).Texture == texture)
            return i;
    ADD_FAILURE() << "no row for " << texture;
    return -1;
}

class DeinstallWindowTest : public TWindowTest {};

TEST_F(DeinstallWindowTest, RemoveAsksFirstAndRemovesOnlyTheTickedLivery) {
    const fs::path sampleDir = ProgramDir.Path() / "sample";
    sample::WriteSample(sampleDir);
    const sample::TSamplePackage package = sample::MakeCollection().front();
    const std::string removed = package.Liveries.at(static_cast<std::size_t>(package.InstalledLivery)).Texture;
    std::string kept;
    for (const auto& livery : package.Liveries)
        if (livery.Texture != removed && livery.Status == "ok" && kept.empty())
            kept = livery.Texture;
    ASSERT_FALSE(kept.empty());

    const fs::path plane = sampleDir / "fs2002/aircraft" / package.Directory;
    const fs::path cache = fs::path(WorkDir()) / package.Directory;
    WriteSettings({{"rbLocalDir", "1"},
                   {"rbURL", "0"},
                   {"edPackageFile", (sampleDir / "source/packages.lst").string()},
                   {"FSDir", (sampleDir / "fs2002").string()}});
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_EQ(Child<QStackedWidget>(*window, "nbPages")->currentIndex(), 1);

    auto* remove = Child<QPushButton>(*window, "btnDeinstall");
    const int removedRow = RowOf(*window, removed);
    const int keptRow = RowOf(*window, kept);
    ASSERT_TRUE(removedRow >= 0 && keptRow >= 0);
    // Both installed the way a user does it.
    SetListChecked(*window, removedRow, true);
    SetListChecked(*window, keptRow, true);
    auto* fetch = Child<QPushButton>(*window, "btnInstall");
    ASSERT_EQ(fetch->text(), "&Fetch 2");
    QTest::mouseClick(fetch, Qt::LeftButton);
    ASSERT_FALSE(ListChecked(*window, removedRow));
    ASSERT_EQ(ListText(*window, removedRow, 3), "yes");
    ASSERT_EQ(ListText(*window, keptRow, 3), "yes");
    SetListChecked(*window, removedRow, true);
    ASSERT_EQ(remove->text(), "&Remove 1");

    TDialogAnswers answers;
    QTest::mouseClick(remove, Qt::LeftButton);
    ASSERT_EQ(answers.Boxes.size(), 1u);
    EXPECT_EQ(answers.Boxes[0].Text, "You are about to deinstall 1 aircraft from your flight "
                                     "simulator. Are you sure you want to continue?");
    EXPECT_TRUE(ListChecked(*window, removedRow));
    EXPECT_EQ(ListText(*window, removedRow, 3), "yes");
    EXPECT_TRUE(fs::exists(plane / ("texture." + removed)));

    answers.Yes = true;
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(answers.Boxes.size(), 2u);
    EXPECT_FALSE(ListChecked(*window, removedRow));
    EXPECT_EQ(ListText(*window, removedRow, 2), "new");
    EXPECT_EQ(ListText(*window, removedRow, 3), "no");
    EXPECT_EQ(ListText(*window, keptRow, 3), "yes");
    EXPECT_EQ(remove->text(), "&Remove 0");
    EXPECT_FALSE(remove->isEnabled());
    const std::string cfg = ReadFile(plane / "aircraft.cfg");
    EXPECT_NE(cfg.find("\r\ntexture=" + kept + "\r\n"), std::string::npos);
    EXPECT_EQ(cfg.find("\r\ntexture=" + removed + "\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(cache / "base.zip"));
}

} // namespace
} // namespace wh::test
