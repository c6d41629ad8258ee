#include <filesystem>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/PathEdit.h"

namespace wh::test {
namespace {

// Answers the next file dialog: records where it opened, then picks a path
// (or cancels when the path is empty).
class TDialogAnswerer {
public:
    explicit TDialogAnswerer(QString pick) : FPick(std::move(pick)) {
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Answer(); });
        FTimer.start();
    }
    bool Seen = false;
    QString OpenedIn;
    QStringList Filters;
    QStringList PreselectedNames;

private:
    void Answer() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || Seen)
            return;
        Seen = true;
        OpenedIn = dialog->directory().absolutePath();
        Filters = dialog->nameFilters();
        PreselectedNames = dialog->selectedFiles();
        if (FPick.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(FPick);
        QMetaObject::invokeMethod(dialog, "accept");
    }
    QString FPick;
    QTimer FTimer;
};

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
    TDialogAnswerer answerer(Q(ProgramDir / "my collection/packages.lst"));
    edit->PickerButton()->click();
    ASSERT_TRUE(answerer.Seen);
    EXPECT_EQ(answerer.OpenedIn, Q(ProgramDir / "first"));
    EXPECT_EQ(answerer.Filters, QStringList({"package files (packages.lst)", "all files (*)"}));
    ASSERT_FALSE(answerer.PreselectedNames.isEmpty());
    EXPECT_TRUE(answerer.PreselectedNames.front().endsWith("packages.lst"));
    EXPECT_EQ(edit->text(), Q("\"" + (ProgramDir / "my collection/packages.lst") + "\""));
    // The quoted name still counts as an existing file.
    EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
}

TEST_F(PickerWindowTest, CancelledPickerLeavesTheText) {
    WriteSettings({{"rbLocalDir", "1"}, {"rbURL", "0"}, {"edPackageFile", ProgramDir / "first/packages.lst"}});
    auto window = Start();
    window->show();
    auto* edit = Child<TPathEdit>(*window, "edPackageFile");
    TDialogAnswerer answerer{QString()};
    edit->PickerButton()->click();
    ASSERT_TRUE(answerer.Seen);
    EXPECT_EQ(edit->text(), Q(ProgramDir / "first/packages.lst"));
}

TEST_F(PickerWindowTest, FolderPickerWritesTheFolderUnquoted) {
    std::filesystem::create_directories(ProgramDir / "Flight Sim/Aircraft");
    WriteSettings({{"FSDir", ProgramDir / "missing"}});
    auto window = Start();
    window->show();
    auto* edit = Child<TPathEdit>(*window, "edFSDir");
    TDialogAnswerer answerer(Q(ProgramDir / "Flight Sim"));
    edit->PickerButton()->click();
    ASSERT_TRUE(answerer.Seen);
    EXPECT_EQ(answerer.OpenedIn, QDir::rootPath()); // the edit names no folder
    EXPECT_EQ(edit->text(), Q(ProgramDir / "Flight Sim"));
    EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
}

} // namespace
} // namespace wh::test
