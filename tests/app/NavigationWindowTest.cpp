#include <filesystem>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/PathEdit.h"
#include "profile/IniFiles.h"

namespace wh::test {
namespace {

class NavigationWindowTest : public TWindowTest {
protected:
    NavigationWindowTest() {
        WriteFile(ProgramDir / "src/packages.lst", "");
        std::filesystem::create_directories(ProgramDir / "bare");
        std::filesystem::create_directories(FSDir() + "/aircraft");
    }
    static bool NextEnabled(const QWidget& window) { return Child<QPushButton>(window, "btnNext")->isEnabled(); }
    static bool BackEnabled(const QWidget& window) { return Child<QPushButton>(window, "btnPrev")->isEnabled(); }
    static int Page(const QWidget& window) { return Child<QStackedWidget>(window, "nbPages")->currentIndex(); }
    // A radio button reacts to clicks on its indicator and caption only.
    static void ClickRadio(const QWidget& window, const char* name) {
        auto* radio = Child<QRadioButton>(window, name);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    static void LeaveURL(const QWidget& window) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(Child<QLineEdit>(window, "edURL"), &out);
    }
};

// The page's rules are tested where they live; here each control reaches them.
TEST_F(NavigationWindowTest, NextFollowsTheWelcomePageTests) {
    struct TCase {
        const char* Name;
        std::map<std::string, std::string> Keys;
        bool Next;
    };
    const std::string fs = FSDir();
    const TCase cases[] = {
        {"neither source", {{"rbLocalDir", "0"}, {"rbURL", "0"}, {"FSDir", fs}}, false},
        {"local file",
         {{"rbLocalDir", "1"}, {"rbURL", "0"}, {"edPackageFile", ProgramDir / "src/packages.lst"}, {"FSDir", fs}},
         true},
        {"URL in capitals", {{"edURL", "HTTP://HOST.EXAMPLE/FILES/"}, {"FSDir", fs}}, true},
        {"URL with a leading blank", {{"edURL", "\" http://host.example/\""}, {"FSDir", fs}}, false},
        {"simulator folder without aircraft", {{"FSDir", ProgramDir / "bare"}}, false},
    };
    for (const auto& c : cases) {
        WriteSettings(c.Keys);
        auto window = Start();
        EXPECT_EQ(NextEnabled(*window), c.Next) << c.Name;
        EXPECT_FALSE(BackEnabled(*window)) << c.Name;
    }
}

TEST_F(NavigationWindowTest, RadioClicksSwitchTheEditsAndRecheck) {
    WriteSettings({{"rbLocalDir", "0"}, {"rbURL", "0"}, {"FSDir", FSDir()}});
    auto window = Start();
    window->show();
    EXPECT_FALSE(NextEnabled(*window));
    ClickRadio(*window, "rbURL");
    EXPECT_TRUE(Child<QLineEdit>(*window, "edURL")->isEnabled());
    EXPECT_FALSE(Child<TPathEdit>(*window, "edPackageFile")->isEnabled());
    EXPECT_TRUE(NextEnabled(*window)); // the default URL
    ClickRadio(*window, "rbLocalDir");
    EXPECT_FALSE(Child<QRadioButton>(*window, "rbURL")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>(*window, "edURL")->isEnabled());
    EXPECT_TRUE(Child<TPathEdit>(*window, "edPackageFile")->isEnabled());
    EXPECT_FALSE(NextEnabled(*window));
    Child<TPathEdit>(*window, "edPackageFile")->setText(QString::fromStdString(ProgramDir / "src/packages.lst"));
    EXPECT_TRUE(NextEnabled(*window));
    Child<TPathEdit>(*window, "edFSDir")->setText(QString::fromStdString(ProgramDir / "bare"));
    EXPECT_FALSE(NextEnabled(*window));
}

TEST_F(NavigationWindowTest, LeavingTheURLEditTrimsAndAddsTheSlash) {
    WriteSettings({{"FSDir", FSDir()}});
    auto window = Start();
    auto* edURL = Child<QLineEdit>(*window, "edURL");
    const std::pair<QString, QString> cases[] = {
        {"http://host.example/files", "http://host.example/files/"},
        {"  http://host.example/files/  ", "http://host.example/files/"},
        {"http://host.example/files/", "http://host.example/files/"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [typed, left] : cases) {
        edURL->setText(typed);
        LeaveURL(*window);
        EXPECT_EQ(edURL->text(), left) << typed.toStdString();
    }
    edURL->setText(" http://host.example/files");
    EXPECT_FALSE(NextEnabled(*window));
    LeaveURL(*window);
    EXPECT_TRUE(NextEnabled(*window));
}

// Only leaving the edit for another control of the window counts: a context
// menu or a switch to another program keeps the text as typed.
TEST_F(NavigationWindowTest, URLIsNormalisedOnlyWhenTheFocusMovesOn) {
    WriteSettings({{"FSDir", FSDir()}});
    auto window = Start();
    auto* edURL = Child<QLineEdit>(*window, "edURL");
    const std::pair<Qt::FocusReason, QString> cases[] = {
        {Qt::TabFocusReason, "http://host.example/files/"},
        {Qt::BacktabFocusReason, "http://host.example/files/"},
        {Qt::MouseFocusReason, "http://host.example/files/"},
        {Qt::OtherFocusReason, "http://host.example/files/"},
        {Qt::PopupFocusReason, " http://host.example/files"},
        {Qt::ActiveWindowFocusReason, " http://host.example/files"},
    };
    for (const auto& [reason, left] : cases) {
        edURL->setText(" http://host.example/files");
        QFocusEvent out(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(edURL, &out);
        EXPECT_EQ(edURL->text(), left) << reason;
    }
}

// An edit made while a load runs counts once the load is over, also when
// the load fails.
TEST_F(NavigationWindowTest, SimulatorFolderChangedDuringAFailedLoadIsJudged) {
    UseLocalSource(ProgramDir / "src/packages.lst"); // no packages.zip beside it
    auto window = Start();
    window->show();
    ASSERT_TRUE(NextEnabled(*window));
    bool changedDuringLoad = false;
    QTimer::singleShot(0, window.get(), [&] {
        changedDuringLoad = window->OperationRunning();
        Child<TPathEdit>(*window, "edFSDir")->setText(QString::fromStdString(ProgramDir / "bare"));
    });
    TDialogAnswers answerer;
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_TRUE(changedDuringLoad);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(Page(*window), 0);
    EXPECT_FALSE(NextEnabled(*window));
    EXPECT_TRUE(Child<TPathEdit>(*window, "edPackageFile")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(*window, "edURL")->isEnabled());
}

// Close during a load that fails: the user still reads the error, over the
// window, and the program ends after it.
TEST_F(NavigationWindowTest, CloseDuringAFailedLoadWaitsForItsErrorBox) {
    UseLocalSource(ProgramDir / "src/packages.lst"); // no packages.zip beside it
    auto window = Start();
    window->show();
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    bool hiddenUnderTheBox = false;
    TDialogAnswers answerer;
    answerer.OnDialog = [&] { hiddenUnderTheBox = !window->isVisible(); };
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(answerer.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_FALSE(hiddenUnderTheBox);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 1000));
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Welcome", "rbLocalDir", ""), "1");
}

TEST_F(NavigationWindowTest, FileURLPassesThePageButFailsAtNext) {
    WriteSettings({{"edURL", "file://collection/"}, {"FSDir", FSDir()}});
    auto window = Start();
    window->show();
    ASSERT_TRUE(NextEnabled(*window));
    TDialogAnswers answerer;
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(answerer.Boxes[0].Text, "URL-protocol for 'file://collection/' not supported.");
    EXPECT_EQ(answerer.Boxes[0].Title, "Wingharbourclient");
    EXPECT_EQ(answerer.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Page(*window), 0);
    EXPECT_TRUE(NextEnabled(*window));
    EXPECT_FALSE(BackEnabled(*window));
    EXPECT_TRUE(Child<QRadioButton>(*window, "rbURL")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(*window, "edURL")->isEnabled());
}

TEST_F(NavigationWindowTest, FailedLoadStaysOnWelcomeWithItsLastStatus) {
    UseLocalSource(ProgramDir / "src/packages.lst"); // no packages.zip beside it
    auto window = Start();
    window->show();
    TDialogAnswers answerer;
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_TRUE(answerer.Boxes[0].Text.contains("packages.zip")) << answerer.Boxes[0].Text.toStdString();
    EXPECT_EQ(Page(*window), 0);
    EXPECT_TRUE(NextEnabled(*window));
    EXPECT_TRUE(Child<TPathEdit>(*window, "edPackageFile")->isEnabled());
    const auto lines = LogFileLines();
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ("Status: " + Child<QLabel>(*window, "lblProgress")->text().toStdString(), lines.back());
}

TEST_F(NavigationWindowTest, BackAndNextWalkThePages) {
    UseLocalSource(BuildCollection("col", {{"pkg", {{.Airline = "Alpha", .Texture = "alpha"}}}}));
    auto window = Start();
    window->show();
    auto* next = Child<QPushButton>(*window, "btnNext");
    auto* back = Child<QPushButton>(*window, "btnPrev");
    QTest::mouseClick(back, Qt::LeftButton); // disabled: nothing happens
    EXPECT_EQ(Page(*window), 0);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(Page(*window), 1);
    EXPECT_TRUE(BackEnabled(*window));
    EXPECT_FALSE(NextEnabled(*window));
    QTest::mouseClick(Child<QLabel>(*window, "lblShowLog"), Qt::LeftButton);
    EXPECT_EQ(Page(*window), 2);
    EXPECT_TRUE(BackEnabled(*window));
    EXPECT_FALSE(NextEnabled(*window));
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(Page(*window), 1);
    EXPECT_TRUE(BackEnabled(*window));
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(Page(*window), 0);
    EXPECT_FALSE(BackEnabled(*window));
    EXPECT_TRUE(NextEnabled(*window));
    // Back leaves the list as it was.
    EXPECT_EQ(ListRowCount(*window), 1);
}

} // namespace
} // namespace wh::test
