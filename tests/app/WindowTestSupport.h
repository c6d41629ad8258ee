#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/WingharbourClientMain.h"
#include "tests/support/TempDir.h"

namespace wh::test {

struct TShownBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool HasOk = false;
    Qt::TextFormat Format = Qt::AutoText;
};

// While alive, answers every modal message box with OK and records it.
class TMessageBoxAnswerer {
public:
    TMessageBoxAnswerer();
    std::vector<TShownBox> Boxes;

private:
    void Answer();
    QTimer FTimer;
};

// One livery of a test collection's aircraft.lst.
struct TTestLivery {
    std::string Airline;
    std::string Type = "A320";
    std::string Designer = "D. Signer";
    std::string Model = "m1";
    std::string Status = "ok";
    std::string Texture;
    std::string Inclusion = "";
    long Size = 1048576;
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
