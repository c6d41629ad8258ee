// Fetch with too little room on the disk: the warning, answered No and Yes.

#include <filesystem>

#include <QPushButton>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/MessageBoxes.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

class InstallRoomWindowTest : public TWindowTest {
protected:
    InstallRoomWindowTest() {
        FreeSpace = [this](const std::string& folder) {
            AskedFolders.push_back(folder);
            return std::optional(TFreeSpace{1048576, 1});
        };
        SetYesNoAnswerer([this](const std::string&, const std::string& text) {
            Questions.push_back(text);
            return Answer;
        });
    }
    ~InstallRoomWindowTest() override { SetYesNoAnswerer(nullptr); }

    std::vector<std::string> AskedFolders;
    std::vector<std::string> Questions;
    bool Answer = false;
};

TEST_F(InstallRoomWindowTest, NoFetchesNothingYesInstalls) {
    UseLocalSource(
        BuildCollection("source", {{"a320", {{"Blue Air", "A320", "D", "m", "ok", "blue", "", 4 * 1048576}}}}));
    BuildZip(ProgramDir / "source/a320/base.zip", {{"aircraft.cfg", "[General]\r\n"}});
    BuildZip(ProgramDir / "source/a320/blue.zip", {{"texture.blue/t.bmp", "bmp"}});
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(*window, "btnSelectAll"), Qt::LeftButton);
    auto* fetch = Child<QPushButton>(*window, "btnInstall");
    ASSERT_EQ(fetch->text(), "Fetch 1");

    QTest::mouseClick(fetch, Qt::LeftButton);
    ASSERT_EQ(Questions.size(), 1u);
    EXPECT_TRUE(Questions[0].starts_with("The selected liveries need about 12 MB in ")) << Questions[0];
    EXPECT_TRUE(Questions[0].ends_with(" where 1.0 MB are free. 1 archive of unknown size is not counted. "
                                       "Install anyway?"))
        << Questions[0];
    EXPECT_EQ(AskedFolders, (std::vector<std::string>{WorkDir() + "/", FSDir() + "\\aircraft"}));
    EXPECT_EQ(fetch->text(), "Fetch 1");
    EXPECT_FALSE(fs::exists(WorkDir() + "/a320/base.zip"));
    EXPECT_FALSE(fs::exists(WorkDir() + "/a320/blue.zip"));

    Answer = true;
    QTest::mouseClick(fetch, Qt::LeftButton);
    EXPECT_EQ(Questions.size(), 2u);
    EXPECT_EQ(fetch->text(), "Fetch 0");
    EXPECT_TRUE(fs::is_directory(FSDir() + "/aircraft/a320/texture.blue"));
}

} // namespace
} // namespace wh::test
