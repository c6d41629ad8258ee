#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "activity/Activity.h"
#include "activity/PumpPacer.h"
#include "app/LogView.h"
#include "app/Navigation.h"
#include "catalogue/AircraftList.h"
#include "catalogue/RowContext.h"
#include "catalogue/Selection.h"
#include "catalogue/SortOrder.h"
#include "fetch/SourceSettings.h"
#include "install/Installer.h"
#include "install/WelcomeSettings.h"
#include "platform/FreeSpace.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPoint;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeView;

namespace wh {

class TAircraftListModel;
class TAircraftListRows;
class TIniFile;
class TLinkLabel;
class TListFilter;
class TLogFile;
class TLogoWidget;
class TPathEdit;
class TStatusPanel;
class TWHAircraftRows;

// What the window takes from its start: main passes the real executable and
// arguments; tests pass a program path inside a temporary folder.
struct TMainOptions {
    std::string ProgramPath;            // full path of the executable, Windows-1252
    std::vector<std::string> Arguments; // after the program name
    // Opens a URL with the desktop's handler (the browser, or the file manager
    // for a folder); QDesktopServices when empty.
    std::function<void(const std::string&)> OpenURL;
    // The room on a folder's file system before an install; FreeSpaceOf when empty.
    std::function<std::optional<TFreeSpace>(const std::string&)> FreeSpace;
};

// The wizard window. The core reaches it through the activity, source and
// list interfaces; its handlers stay thin and call plain code.
class TfmWingharbourClientMain : public QWidget, public TWHActivity, public TWHSourceSettings, public TWHAircraftList {
    Q_OBJECT
public:
    explicit TfmWingharbourClientMain(TMainOptions options, QWidget* parent = nullptr);
    ~TfmWingharbourClientMain() override;

    // FormCreate ended the program (unknown parameter, log not created):
    // the window must not be shown; the program ends with ExitCode().
    bool StartupEnded() const { return FStartupEnded; }
    int ExitCode() const { return FExitCode; }
    bool IgnoreStatus() const { return FIgnoreStatus; }
    int SortColumn() const { return FSortOrder.Column; }
    bool SortDescending() const { return FSortOrder.Descending; }
    bool OperationRunning() const { return FOperationDepth > 0; }

    // Activity log, status line and indicator.
    void LogLine(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowProgress() override;
    void HideProgress() override;
    void StepProgress() override;
    void MoveProgress() override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    void ClearStatus() override;
    // Close was asked for while an operation runs: its download gives up.
    bool CancelRequested() const override { return FCloseRequested; }
    // The status panel's progress of an install or deinstall.
    TWHOperationProgress& OperationProgress() override;
    void ReportUnzipVersion();

    // The Welcome page's source controls, read at each fetch.
    bool LocalDirSelected() const override;
    std::string PackageFileText() const override;
    bool URLSelected() const override;
    std::string URLText() const override;

    // lvAircraft as the catalogue reader fills it.
    void BeginUpdate() override;
    void EndUpdate() override;
    void Clear() override;
    void Add(std::unique_ptr<TWHAircraft> aircraft) override;
    // The row at index in display order, hidden or not.
    void RefreshAircraftRow(int index);
    // lvAircraft's rows as the selection and the installers walk them.
    TWHAircraftRows& AircraftRows();
    // The rows in FSortOrder, by the core's comparison under the user's locale.
    void SortAircraftRows();

    void LoadCatalogue();
    // The summary label and the two action buttons from a recount of the ticks.
    void UpdateSelectionStatus();
    // The action buttons' tooltips from the ticks and the last recount.
    void SetActionToolTips();
    void UpdateNavigation();
    void LoadSettings();
    void SaveSettings();
    TWelcomeSettings WelcomePage() const;

    // Event handlers.
    void btnNextClick();
    void btnPrevClick();
    void btnCloseClick();
    void edURLExit();
    // The handlers that serve several controls, by what they serve:
    // either source radio button; edPackageFile, edURL or edFSDir changed;
    // the picker of edPackageFile or of edFSDir closed.
    void SourceRadioClick();
    void WelcomeEditChange();
    void PathPickerClosed();
    void lblVersionMouseEnter();
    void lblVersionMouseLeave();
    void lblVersionClick();
    void lblShowLogClick();
    void btnSelectAllClick() { SelectionButtonClick(TWHSelectionButton::SelectAll); }
    void btnSelectNewClick() { SelectionButtonClick(TWHSelectionButton::SelectNew); }
    void btnSelectUpdatedClick() { SelectionButtonClick(TWHSelectionButton::SelectUpdated); }
    void btnSelectInstalledClick() { SelectionButtonClick(TWHSelectionButton::SelectInstalled); }
    void btnInvertSelectionClick() { SelectionButtonClick(TWHSelectionButton::Invert); }
    void btnDeselectAllClick() { SelectionButtonClick(TWHSelectionButton::DeselectAll); }
    // The six buttons above: set the ticks, then recount once.
    void SelectionButtonClick(TWHSelectionButton button);
    void lvAircraftChange();
    void lvAircraftColumnClick(int column);
    // Space on the list, and the list's menu: the rows the user marked.
    void lvAircraftTickKey() { MarkedRowsTicks(TWHTickChange::Toggle); }
    void lvAircraftContextPopup(const QPoint& position);
    void MarkedRowsTicks(TWHTickChange change);
    void OpenAircraftFolderClick();
    void CopyRowsClick();
    void btnInstallClick();
    void btnDeinstallClick();
    // What an install reads of the Welcome page, at the click.
    TWHInstallOptions InstallOptions() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TOperationScope;

    void BuildWindow();
    QWidget* BuildWelcomePage();
    QWidget* BuildSelectionPage();
    QWidget* BuildActionPage();
    void ConnectHandlers();
    void ApplyThemeColours();
    void FormCreate();
    void FormDestroy();
    // The window's place and size and the list's columns from the settings, before the
    // window shows; and back into them at close.
    void RestoreLayout();
    void SaveLayout();
    // Before an install: room enough in the working folder and the simulator,
    // or the user's word to go on anyway.
    bool InstallRoomAgreed(const TWHInstallOptions& options);
    // Runs a handler's body; an error shows in the error box and the program goes on.
    void Guarded(const std::function<void()>& body);
    void OpenURL(const std::string& url);
    // The display positions of the rows marked in the list, the current one
    // when none is; and the simulator's folder of the current row's aircraft.
    std::vector<int> MarkedRows() const;
    std::string CurrentAircraftFolder() const;
    void PickPackageFile();
    void PickFSDir();
    void ShowPage(TWizardPage page);
    TWizardPage CurrentPage() const;
    // The log, the status line and the indicator pump by time; a pump asked
    // for by name (ProcessMessages, ShowProgress, HideProgress) runs at once.
    void PumpWhenDue();

    TMainOptions FOptions;
    std::string FTitle;
    bool FIgnoreStatus = false;
    bool FStartupEnded = false;
    int FExitCode = 0;
    std::unique_ptr<TIniFile> FSettings;
    std::unique_ptr<TLogFile> FLog;
    TWHSortOrder FSortOrder; // FSortColumn, FSortDescending
    // The ticks as the last UpdateSelectionStatus counted them; FRemoveCount
    // is what the deinstall confirmation shows.
    TWHSelectionCounts FCounts;
    int FBusyCursorDepth = 0;
    std::unique_ptr<TLogView> FLogView;
    TPumpPacer FPumps;
    int FOperationDepth = 0;
    bool FCloseRequested = false;
    bool FNavigationPending = false;    // UpdateNavigation asked for while an operation ran
    bool FColumnWidthsRestored = false; // the user's widths from the settings: a load keeps them
    TWHRowContext CurrentRowContext() const;
    TWHRowContextBracket FRowContext{[this] { return CurrentRowContext(); }};
    std::unique_ptr<TAircraftListRows> FRows;

    TLogoWidget* imgLogo = nullptr;
    QStackedWidget* nbPages = nullptr;
    QWidget* pnlBottom = nullptr;
    TLinkLabel* lblVersion = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnClose = nullptr;
    TStatusPanel* pnlZipStatus = nullptr;
    QLabel* lblProgress = nullptr;
    QLabel* lblWelcomeCaption = nullptr;
    QLabel* lblWelcome = nullptr;
    QRadioButton* rbLocalDir = nullptr;
    TPathEdit* edPackageFile = nullptr;
    QRadioButton* rbURL = nullptr;
    QLineEdit* edURL = nullptr;
    QLabel* lblFSDir = nullptr;
    TPathEdit* edFSDir = nullptr;
    QCheckBox* cbZapFiles = nullptr;
    QCheckBox* cbFakeManufacturer = nullptr;
    QLabel* lblSelectionCaption = nullptr;
    QTreeView* lvAircraft = nullptr;
    QMenu* mnAircraft = nullptr; // lvAircraft's context menu
    QAction* actTickRows = nullptr;
    QAction* actUntickRows = nullptr;
    QAction* actOpenAircraftFolder = nullptr;
    QAction* actCopyRows = nullptr;
    TAircraftListModel* FModel = nullptr; // lvAircraft's rows
    TListFilter* FFilter = nullptr;       // edFilter above lvAircraft
    QWidget* pnlSelection = nullptr;
    QPushButton* btnSelectAll = nullptr;
    QPushButton* btnSelectNew = nullptr;
    QPushButton* btnSelectUpdated = nullptr;
    QPushButton* btnSelectInstalled = nullptr;
    QPushButton* btnInvertSelection = nullptr;
    QPushButton* btnDeselectAll = nullptr;
    QLabel* lblSelectionStatus = nullptr;
    QPushButton* btnInstall = nullptr;
    QPushButton* btnDeinstall = nullptr;
    TLinkLabel* lblShowLog = nullptr;
    QLabel* lblAction = nullptr;
    QPlainTextEdit* meLog = nullptr;
};

} // namespace wh
