#include <filesystem>

#include <QPushButton>
#include <QTest>

#include "WindowTestSupport.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {
namespace {

using InstallRoomWindowTest = TWindowTest;

// Too little room for Fetch: No fetches nothing, Yes installs.
TEST_F(InstallRoomWindowTest, TheWarningAnsweredNoThenYes) {
    UseLocalSource(BuildCollection("source", {{"a320", {{"Blue Air", "A320", "D", "m", "ok", "blue", "", 4 << 20}}}}));
    BuildZip(ProgramDir / "source/a320/base.zip", {{"aircraft.cfg", "[General]\r\n"}});
    BuildZip(ProgramDir / "source/a320/blue.zip", {{"texture.blue/t.bmp", "bmp"}});
    std::vector<std::string> folders;
    TDialogAnswers answers;
    FreeSpace = [&](const std::string& folder) { return folders.push_back(folder), TFreeSpace{1 << 20, 1}; };
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(*window, "btnSelectAll"), Qt::LeftButton);
    auto* fetch = Child<QPushButton>(*window, "btnInstall");
    QTest::mouseClick(fetch, Qt::LeftButton);
    ASSERT_EQ(answers.Boxes.size(), 1u);
    EXPECT_TRUE(answers.Boxes[0].Text.startsWith("The selected liveries need about 12 MB in "))
        << answers.Boxes[0].Text.toStdString();
    EXPECT_EQ(folders, (std::vector<std::string>{WorkDir() + "/", FSDir() + "\\aircraft"}));
    EXPECT_FALSE(std::filesystem::exists(WorkDir() + "/a320/blue.zip"));
    answers.Yes = true;
    QTest::mouseClick(fetch, Qt::LeftButton);
    EXPECT_EQ(fetch->text(), "&Fetch 0");
    EXPECT_TRUE(std::filesystem::is_directory(FSDir() + "/aircraft/a320/texture.blue"));
}

} // namespace
} // namespace wh::test
