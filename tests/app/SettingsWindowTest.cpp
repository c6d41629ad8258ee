#include <filesystem>

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "app/PathEdit.h"
#include "install/WelcomeSettings.h"
#include "profile/IniFiles.h"

namespace wh::test {
namespace {

using SettingsWindowTest = TWindowTest;

// How the settings are read is tested with them; here each radio state reaches the controls.
TEST_F(SettingsWindowTest, StoredValuesReachTheControls) {
    struct TCase {
        const char* Name;
        std::map<std::string, std::string> Keys;
        bool LocalDir, URL;
        QString URLText;
    };
    const QString defaultURL = QString::fromStdString(DefaultSourceURL());
    const TCase cases[] = {
        {"blanks kept around a URL", {{"edURL", "\"  http://a.example/x  \""}}, false, true, "  http://a.example/x  "},
        {"both radios false", {{"rbLocalDir", "0"}, {"rbURL", "0"}}, false, false, defaultURL},
        {"local", {{"rbLocalDir", "1"}, {"rbURL", "0"}}, true, false, defaultURL},
    };
    for (const auto& c : cases) {
        WriteSettings(c.Keys);
        auto window = Start();
        EXPECT_EQ(Child<QRadioButton>(*window, "rbLocalDir")->isChecked(), c.LocalDir) << c.Name;
        EXPECT_EQ(Child<QRadioButton>(*window, "rbURL")->isChecked(), c.URL) << c.Name;
        EXPECT_EQ(Child<QLineEdit>(*window, "edURL")->text(), c.URLText) << c.Name;
        // Each source edit is enabled exactly while its radio button is selected.
        EXPECT_EQ(Child<TPathEdit>(*window, "edPackageFile")->isEnabled(), c.LocalDir) << c.Name;
        EXPECT_EQ(Child<QLineEdit>(*window, "edURL")->isEnabled(), c.URL) << c.Name;
        EXPECT_FALSE(Child<QPushButton>(*window, "btnNext")->isEnabled()) << c.Name;
    }
}

TEST_F(SettingsWindowTest, CloseWritesTheControlsAndTheNextStartReadsThem) {
    WriteFile(ProgramDir / "src/packages.lst", "");
    std::filesystem::create_directories(ProgramDir / "fs/aircraft");
    {
        auto window = Start();
        window->show();
        QTest::mouseClick(Child<QRadioButton>(*window, "rbLocalDir"), Qt::LeftButton);
        Child<TPathEdit>(*window, "edPackageFile")->setText(QString::fromStdString(ProgramDir / "src/packages.lst"));
        Child<TPathEdit>(*window, "edFSDir")->setText(QString::fromStdString(ProgramDir / "fs"));
        Child<QCheckBox>(*window, "cbZapFiles")->setChecked(false);
        Child<QCheckBox>(*window, "cbFakeManufacturer")->setChecked(true);
        EXPECT_TRUE(Child<QPushButton>(*window, "btnNext")->isEnabled());
        QTest::mouseClick(Child<QPushButton>(*window, "btnClose"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    }
    const TIniFile settings(IniPath());
    EXPECT_EQ(settings.ReadString("Welcome", "rbLocalDir", ""), "1");
    EXPECT_EQ(settings.ReadString("Welcome", "rbURL", ""), "0");
    EXPECT_EQ(settings.ReadString("Welcome", "edPackageFile", ""), ProgramDir / "src/packages.lst");
    EXPECT_EQ(settings.ReadString("Welcome", "edURL", ""), DefaultSourceURL());
    EXPECT_EQ(settings.ReadString("Welcome", "FSDir", ""), ProgramDir / "fs");
    EXPECT_EQ(settings.ReadString("Welcome", "cbZapFiles", ""), "0");
    EXPECT_EQ(settings.ReadString("Welcome", "cbFakeManufacturer", ""), "1");

    auto again = Start();
    EXPECT_TRUE(Child<QRadioButton>(*again, "rbLocalDir")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(*again, "rbURL")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(*again, "cbZapFiles")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(*again, "cbFakeManufacturer")->isChecked());
    EXPECT_TRUE(Child<QPushButton>(*again, "btnNext")->isEnabled());
}

TEST_F(SettingsWindowTest, ASettingsWriteErrorIsShownAndTheWindowStillCloses) {
    std::filesystem::create_directory(IniPath()); // cannot be written as a file
    auto window = Start();
    window->show();
    TDialogAnswers answerer;
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(answerer.Boxes.size(), 1u);
    EXPECT_EQ(answerer.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes[0].Title, "Wingharbourclient");
}

TEST_F(SettingsWindowTest, PlaceSizeColumnsAndMaximizedComeBackAtTheNextStart) {
    for (bool maximized : {false, true}) {
        auto window = Start();
        window->show();
        window->setGeometry(30, 40, 700, 520);
        QHeaderView* header = Child<QTreeView>(*window, "lvAircraft")->header();
        header->resizeSection(1, 150);
        header->moveSection(header->visualIndex(0), 2);
        if (maximized)
            window->showMaximized();
        window->close();
        auto again = Start();
        EXPECT_EQ(again->normalGeometry(), QRect(30, 40, 700, 520));
        EXPECT_EQ(bool(again->windowState() & Qt::WindowMaximized), maximized);
        header = Child<QTreeView>(*again, "lvAircraft")->header();
        EXPECT_EQ(header->sectionSize(1), 150);
        EXPECT_EQ(header->logicalIndex(2), 0);
    }
}

} // namespace
} // namespace wh::test
