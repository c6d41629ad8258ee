#include <filesystem>

#include <QDir>
#include <QPushButton>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/PathEdit.h"

namespace wh::test {
namespace {

class PickerWindowTest : public TWindowTest {
protected:
    PickerWindowTest() {
        WriteFile(ProgramDir / "first/packages.lst", "");
        WriteFile(ProgramDir / "my collection/packages.lst", "");
        std::filesystem::create_directories(FSDir() + "/aircraft");
    }
    static QString Q(const std::string& text) { return QString::fromStdString(text); }
};

TEST_F(PickerWindowTest, PackageFilePickerQuotesAPathWithABlank) {
    WriteSettings({{"rbLocalDir", "1"},
                   {"rbURL", "0"},
                   {"edPackageFile", ProgramDir / "first/packages.lst"},
                   {"FSDir", FSDir()}});
    auto window = Start();
    window->show();
    auto* edit = Child<TPathEdit>(*window, "edPackageFile");
    TDialogAnswers answers;
    answers.Picks = {Q(ProgramDir / "my collection/packages.lst")};
    edit->PickerButton()->click();
    ASSERT_EQ(answers.Pickers.size(), 1u);
    EXPECT_EQ(answers.Pickers[0].OpenedIn, Q(ProgramDir / "first"));
    EXPECT_EQ(answers.Pickers[0].Filters, QStringList({"package files (packages.lst)", "all files (*)"}));
    ASSERT_FALSE(answers.Pickers[0].Preselected.isEmpty());
    EXPECT_TRUE(answers.Pickers[0].Preselected.front().endsWith("packages.lst"));
    EXPECT_EQ(edit->text(), Q("\"" + (ProgramDir / "my collection/packages.lst") + "\""));
    // The quoted name still counts as an existing file.
    EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
}

TEST_F(PickerWindowTest, CancelledPickerLeavesTheText) {
    WriteSettings({{"rbLocalDir", "1"}, {"rbURL", "0"}, {"edPackageFile", ProgramDir / "first/packages.lst"}});
    auto window = Start();
    window->show();
    auto* edit = Child<TPathEdit>(*window, "edPackageFile");
    TDialogAnswers answers;
    edit->PickerButton()->click();
    ASSERT_EQ(answers.Pickers.size(), 1u);
    EXPECT_EQ(edit->text(), Q(ProgramDir / "first/packages.lst"));
}

TEST_F(PickerWindowTest, FolderPickerWritesTheFolderUnquoted) {
    std::filesystem::create_directories(ProgramDir / "Flight Sim/Aircraft");
    WriteSettings({{"FSDir", ProgramDir / "missing"}});
    auto window = Start();
    window->show();
    auto* edit = Child<TPathEdit>(*window, "edFSDir");
    TDialogAnswers answers;
    answers.Picks = {Q(ProgramDir / "Flight Sim")};
    edit->PickerButton()->click();
    ASSERT_EQ(answers.Pickers.size(), 1u);
    EXPECT_EQ(answers.Pickers[0].OpenedIn, QDir::rootPath()); // the edit names no folder
    EXPECT_EQ(edit->text(), Q(ProgramDir / "Flight Sim"));
    EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
}

} // namespace
} // namespace wh::test
