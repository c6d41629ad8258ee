#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QString>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/WingharbourClientMain.h"
#include "tests/support/CatalogueText.h"
#include "tests/support/TempDir.h"

namespace wh::test {

struct TShownBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool HasOk = false;
    Qt::TextFormat Format = Qt::AutoText;
};

// A picker as it opened.
struct TShownPicker {
    QString OpenedIn;
    QStringList Filters;
    QStringList Preselected;
};

// While alive, answers every modal dialog in place of the user and records
// it: a message box with OK (a Yes/No box with Yes when Yes is set), a picker
// with the next of Picks (cancelled when none is left or it is empty).
class TDialogAnswers {
public:
    TDialogAnswers();
    ~TDialogAnswers();
    std::vector<TShownBox> Boxes;
    bool Yes = false;
    std::vector<QString> Picks;
    std::vector<TShownPicker> Pickers;
    std::function<void()> OnDialog; // runs as each dialog opens
};

using TTestCollection = std::vector<std::pair<std::string, std::vector<TTestLivery>>>;

// A window started from a program folder of its own, with the working
// directory in a second temporary folder and an English (US) locale.
class TWindowTest : public testing::Test {
protected:
    TWindowTest();

    std::string ProgramPath() const { return ProgramDir / "WingharbourClient"; }
    std::string LogPath() const { return ProgramDir / "WingharbourClient.LOG"; }
    std::string IniPath() const { return ProgramDir / "WingharbourClient.ini"; }
    std::string WorkDir() const { return DataDir / "Wingharbour"; }

    // Writes the settings file's "Welcome" section with these keys.
    void WriteSettings(const std::map<std::string, std::string>& keys) const;
    // Builds a local collection below ProgramDir/folder: packages.zip holding
    // packages.lst, a copy of packages.lst beside it, and each package's
    // aircraft.lst. Returns the path of that packages.lst.
    std::string BuildCollection(const std::string& folder, const TTestCollection& packages) const;
    // Settings for the local source and a simulator folder with "aircraft".
    void UseLocalSource(const std::string& packageFile) const;
    std::string FSDir() const { return ProgramDir / "FS2002"; }

    std::unique_ptr<TfmWingharbourClientMain> Start(std::vector<std::string> arguments = {});

    // The log file split into lines at CR LF; the tail after the last CR LF
    // is returned as a last line when not empty.
    std::vector<std::string> LogFileLines() const;

    TTempDir ProgramDir;
    TTempDir DataDir;
    TWorkingDirOverride WorkingDirOverride{DataDir.Path().string()};
    std::vector<std::string> OpenedURLs;
    // What the windows Start makes are told of the room on a folder's disk; the system's when empty.
    std::function<std::optional<TFreeSpace>(const std::string&)> FreeSpace;
};

template <class T>
T* Child(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        ADD_FAILURE() << "no child " << name;
    return child;
}

// lvAircraft as the user sees it: the rows shown, in display order.
QTreeView* AircraftList(const QWidget& window);
int ListRowCount(const QWidget& window);
QString ListText(const QWidget& window, int row, int column);
bool ListChecked(const QWidget& window, int row);
// Ticks or unticks the row as its check box does.
void SetListChecked(const QWidget& window, int row, bool checked);

} // namespace wh::test
