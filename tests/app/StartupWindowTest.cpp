#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "activity/PumpPacer.h"
#include "app/ColourScheme.h"
#include "app/MessageBoxes.h"
#include "app/PathEdit.h"
#include "app/ProgramInfo.h"
#include "archive/UnZip32.h"
#include "archive/UnzipVersionReport.h"
#include "install/WelcomeSettings.h"
#include "platform/SingleInstance.h"
#include "profile/IniFiles.h"

namespace wh::test {
namespace {

using StartupWindowTest = TWindowTest;

// What the view shows once the event loop has run.
std::vector<std::string> LogViewLines(const QWidget& window) {
    QCoreApplication::processEvents();
    std::vector<std::string> lines;
    const QString text = Child<QPlainTextEdit>(window, "meLog")->toPlainText();
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

TEST_F(StartupWindowTest, WithoutSettingsFileShowsTheDefaults) {
    auto window = Start();
    ASSERT_FALSE(window->StartupEnded());
    EXPECT_EQ(window->objectName(), "fmWingharbourClientMain");
    EXPECT_EQ(window->windowTitle(), "Project Wingharbour");
    EXPECT_EQ(window->minimumSize(), QSize(560, 430));
    EXPECT_EQ(window->size(), QSize(560, 430));
    EXPECT_EQ(Child<QStackedWidget>(*window, "nbPages")->currentIndex(), 0);
    EXPECT_FALSE(Child<QRadioButton>(*window, "rbLocalDir")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(*window, "rbURL")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(*window, "edURL")->text().toStdString(), DefaultSourceURL());
    EXPECT_EQ(Child<TPathEdit>(*window, "edPackageFile")->text(), "");
    EXPECT_FALSE(Child<TPathEdit>(*window, "edPackageFile")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(*window, "edURL")->isEnabled());
    EXPECT_EQ(Child<TPathEdit>(*window, "edFSDir")->text(), "");
    EXPECT_TRUE(Child<QCheckBox>(*window, "cbZapFiles")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(*window, "cbFakeManufacturer")->isChecked());
    // The simulator directory is empty, so Next waits.
    EXPECT_FALSE(Child<QPushButton>(*window, "btnNext")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(*window, "btnPrev")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(*window, "btnClose")->isEnabled());
    EXPECT_TRUE(Child<QFrame>(*window, "shProgress")->isHidden());
    EXPECT_TRUE(Child<QFrame>(*window, "bvProgress")->isHidden());
    EXPECT_EQ(window->SortColumn(), -1);
    EXPECT_FALSE(window->IgnoreStatus());
}

TEST_F(StartupWindowTest, EveryControlCarriesItsName) {
    auto window = Start();
    for (const char* name : {"imgLogo",
                             "nbPages",
                             "pnlBottom",
                             "lblVersion",
                             "btnPrev",
                             "btnNext",
                             "btnClose",
                             "pnlZipStatus",
                             "lblProgress",
                             "bvProgress",
                             "shProgress",
                             "lblWelcomeCaption",
                             "lblWelcome",
                             "rbLocalDir",
                             "edPackageFile",
                             "rbURL",
                             "edURL",
                             "lblFSDir",
                             "edFSDir",
                             "cbZapFiles",
                             "cbFakeManufacturer",
                             "lblSelectionCaption",
                             "lvAircraft",
                             "lblAction",
                             "meLog",
                             "lblShowLog"})
        EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(Child<QPushButton>(*window, "btnPrev")->text(), "<< &Back");
    EXPECT_EQ(Child<QPushButton>(*window, "btnNext")->text(), "&Next >>");
    EXPECT_EQ(Child<QCheckBox>(*window, "cbFakeManufacturer")->text(), "Install under &manufacturer \"Wingharbour\"");
    EXPECT_TRUE(Child<QLabel>(*window, "lblWelcome")->text().contains(QString::fromStdString(HomePageURL())));
}

TEST_F(StartupWindowTest, LogStartsWithTheVersionReportInBothPlaces) {
    WriteFile(LogPath(), "a line of the previous run\r\n");
    auto window = Start();
    const std::vector<std::string> report = UnzipVersionReport(*UzpVersion());
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(LogFileLines(), report);
    EXPECT_EQ(ReadFile(LogPath()).substr(0, 15), "Flag         : ");
    EXPECT_EQ(LogViewLines(*window), report);

    window->SetStatus("fetching 'packages.zip'");
    window->SetStatus("");
    window->LogLine("plain");
    auto expected = report;
    expected.insert(expected.end(), {"Status: fetching 'packages.zip'", "plain"});
    EXPECT_EQ(LogFileLines(), expected);
    EXPECT_EQ(LogViewLines(*window), expected);
    EXPECT_EQ(ReadFile(LogPath()).find('\n', 0), ReadFile(LogPath()).find("\r\n") + 1);
    EXPECT_EQ(Child<QLabel>(*window, "lblProgress")->text(), "fetching 'packages.zip'");
}

TEST_F(StartupWindowTest, StatusTextsAreShownInTheirCodePage) {
    auto window = Start();
    window->SetStatus("copied 'Caf\xE9 \x80'");
    EXPECT_EQ(Child<QLabel>(*window, "lblProgress")->text(), QString::fromUtf8("copied 'Caf\xC3\xA9 \xE2\x82\xAC'"));
    EXPECT_EQ(LogFileLines().back(), "Status: copied 'Caf\xE9 \x80'");
}

TEST_F(StartupWindowTest, IndicatorStepsInsideItsFrameAndHides) {
    auto window = Start();
    auto* frame = Child<QFrame>(*window, "bvProgress");
    auto* block = Child<QFrame>(*window, "shProgress");
    window->SetStatus(""); // an empty status still moves the block, hidden
    EXPECT_TRUE(block->isHidden());
    EXPECT_TRUE(Child<QLabel>(*window, "lblProgress")->text().isEmpty());
    EXPECT_EQ(LogFileLines().size(), 6u);
    EXPECT_EQ(block->x() - frame->x(), 1);
    window->ShowProgress();
    EXPECT_FALSE(block->isHidden());
    EXPECT_FALSE(frame->isHidden());
    EXPECT_EQ(block->x() - frame->x(), 2);
    const QRect shown = block->geometry();
    for (int step = 0; step < 84; ++step) {
        window->StepProgress();
        EXPECT_TRUE(frame->geometry().adjusted(1, 1, -1, -1).contains(block->geometry())) << step;
    }
    EXPECT_EQ(block->geometry(), shown);
    EXPECT_EQ(frame->size(), QSize(95, 16));
    window->HideProgress();
    window->HideProgress();
    EXPECT_TRUE(block->isHidden());
    EXPECT_TRUE(frame->isHidden());
}

// A download moves the indicator per block and processes messages by time;
// a step processes them once the pacer's interval has passed.
TEST_F(StartupWindowTest, OnlyStepProgressProcessesMessages) {
    struct Case {
        const char* Name;
        void (TfmWingharbourClientMain::*Step)();
        bool Processed;
    } cases[] = {
        {"StepProgress", &TfmWingharbourClientMain::StepProgress, true},
        {"MoveProgress", &TfmWingharbourClientMain::MoveProgress, false},
    };
    auto window = Start();
    auto* block = Child<QFrame>(*window, "shProgress");
    for (const auto& c : cases) {
        bool processed = false;
        QTimer::singleShot(0, window.get(), [&] { processed = true; });
        const int before = block->x();
        std::this_thread::sleep_for(TPumpPacer::Interval + std::chrono::milliseconds(1));
        (window.get()->*c.Step)();
        EXPECT_NE(block->x(), before) << c.Name;
        EXPECT_EQ(processed, c.Processed) << c.Name;
        QCoreApplication::processEvents();
    }
}

// A change of the portal's scheme while the window is open reaches each colour
// the window sets itself, and the light ones come back; the colours' own rules
// are ThemeColours'.
TEST_F(StartupWindowTest, OwnColoursFollowThePortalsScheme) {
    auto window = Start();
    const auto colours = [&] {
        return std::vector<QString>{
            Child<QTreeView>(*window, "lvAircraft")->styleSheet(), Child<QFrame>(*window, "shProgress")->styleSheet(),
            Child<QPushButton>(*window, "btnInstall")->palette().color(QPalette::ButtonText).name(),
            Child<QLabel>(*window, "lblVersion")->palette().color(QPalette::WindowText).name()};
    };
    const auto scheme = [](const char* key, unsigned value) {
        DesktopSettingChanged(QStringLiteral("org.freedesktop.appearance"), QString::fromLatin1(key), value);
    };
    const auto restore = qScopeGuard([] { ApplyDesktopColourScheme(false); });
    const auto light = colours();
    scheme("contrast", 1);
    EXPECT_EQ(colours(), light);
    scheme("color-scheme", 1);
    const auto dark = colours();
    for (std::size_t i = 0; i < light.size(); ++i)
        EXPECT_NE(dark[i], light[i]) << i;
    scheme("color-scheme", 0);
    EXPECT_EQ(colours(), light);
}

TEST_F(StartupWindowTest, IndicatorStaysAnchoredToTheRightWhenResized) {
    auto window = Start();
    window->show();
    auto* panel = Child<QFrame>(*window, "pnlZipStatus");
    auto* frame = Child<QFrame>(*window, "bvProgress");
    const int gap = panel->width() - frame->x();
    window->resize(800, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->width() - frame->x(), gap);
    EXPECT_EQ(gap, 552 - 454);
}

TEST_F(StartupWindowTest, CommandLineOptionInAnyCaseSetsTheFlag) {
    auto window = Start({"/IGNORESTATUS", "/ignorestatus"});
    EXPECT_FALSE(window->StartupEnded());
    EXPECT_TRUE(window->IgnoreStatus());
}

TEST_F(StartupWindowTest, UnknownParameterStopsBeforeLogAndSettings) {
    TDialogAnswers answerer;
    auto window = Start({"/ignorestatus", "-Verbose"});
    EXPECT_TRUE(window->StartupEnded());
    EXPECT_EQ(window->ExitCode(), 0);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(answerer.Boxes[0].Text, "Unknown Parameter '-Verbose'.");
    EXPECT_EQ(answerer.Boxes[0].Title, "Wingharbourclient");
    EXPECT_TRUE(answerer.Boxes[0].HasOk);
    EXPECT_NE(answerer.Boxes[0].Icon, QMessageBox::Critical);
    window->close();
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

// Only a second copy is told, before any log or settings.
TEST_F(StartupWindowTest, TheGuardTellsAnotherInstanceAndStopsIt) {
    const std::string lock = ProgramDir / "lock";
    for (const bool another : {false, true}) {
        TSingleInstanceGuard first, second;
        ASSERT_TRUE(!another || first.Acquire(lock));
        TDialogAnswers answerer;
        EXPECT_EQ(AcquireSingleInstance(second, lock, "Wingharbourclient"), !another);
        ASSERT_EQ(answerer.Boxes.size(), another ? 1u : 0u);
        if (another) {
            EXPECT_EQ(answerer.Boxes[0].Text,
                      "Another instance of the Wingharbour Client is already running. Will not launch another.");
            EXPECT_EQ(answerer.Boxes[0].Title, "Wingharbourclient");
            EXPECT_TRUE(answerer.Boxes[0].HasOk);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(StartupWindowTest, LogThatCannotBeCreatedShowsTheErrorAndEnds) {
    std::filesystem::create_directory(LogPath()); // a folder where the log should be
    TDialogAnswers answerer;
    auto window = Start();
    EXPECT_TRUE(window->StartupEnded());
    EXPECT_NE(window->ExitCode(), 0);
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(answerer.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(answerer.Boxes[0].Text.contains("WingharbourClient.LOG")) << answerer.Boxes[0].Text.toStdString();
    window->close();
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(StartupWindowTest, VersionLabelShowsFourNumbersAndOpensTheHomePage) {
    auto window = Start();
    auto* label = Child<QLabel>(*window, "lblVersion");
    EXPECT_TRUE(std::regex_match(label->text().toStdString(), std::regex(R"(\d+\.\d+\.\d+\.\d+)")));
    EXPECT_EQ(label->text().toStdString(), ProgramVersionText());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);

    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(label, &enter);
    EXPECT_TRUE(label->font().underline());
    EXPECT_TRUE(label->font().bold());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_FALSE(label->font().underline());
    EXPECT_TRUE(label->font().bold());

    window->show();
    QTest::mouseClick(label, Qt::LeftButton);
    ASSERT_EQ(OpenedURLs.size(), 1u);
    EXPECT_EQ(OpenedURLs[0], HomePageURL());
    EXPECT_EQ(OpenedURLs[0].substr(0, 7), "http://");
    EXPECT_EQ(OpenedURLs[0].substr(OpenedURLs[0].size() - 12), "/Wingharbour");
    EXPECT_TRUE(LogFileLines().size() == 6u); // nothing logged
}

} // namespace
} // namespace wh::test
