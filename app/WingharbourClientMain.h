#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QCollator>
#include <QWidget>

#include "app/Navigation.h"
#include "app/WelcomeSettings.h"
#include "catalogue/AircraftList.h"
#include "fetch/SourceSettings.h"
#include "files/Activity.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace wh {

class TIniFile;
class TLinkLabel;
class TLogFile;
class TLogoWidget;
class TPathEdit;
class TStatusPanel;
class TAircraftListRows;
class TWHAircraftRow;
class TWHAircraftRows;

// What the window takes from its start: main passes the real executable and
// arguments; tests pass a program path inside a temporary folder.
struct TMainOptions {
    std::string ProgramPath;              // full path of the executable, Windows-1252
    std::vector<std::string> Arguments;   // after the program name
    // Opens a URL in the user's browser; QDesktopServices when empty.
    std::function<void(const std::string&)> OpenURL;
};

// The wizard window. The core reaches it through the activity, source and
// list interfaces; its handlers stay thin and call plain code.
class TfmWingharbourClientMain : public QWidget,
                                 public TWHActivity,
                                 public TWHSourceSettings,
                                 public TWHAircraftList {
    Q_OBJECT
public:
    explicit TfmWingharbourClientMain(TMainOptions options, QWidget* parent = nullptr);
    ~TfmWingharbourClientMain() override;

    // FormCreate ended the program (unknown parameter, log not created):
    // the window must not be shown; the program ends with ExitCode().
    bool StartupEnded() const { return FStartupEnded; }
    int ExitCode() const { return FExitCode; }
    bool IgnoreStatus() const { return FIgnoreStatus; }
    int SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDescending; }
    bool OperationRunning() const { return FOperationDepth > 0; }
    const std::string& ApplicationTitleText() const { return FTitle; }

    // Activity log, status line and indicator.
    void LogLine(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowProgress() override;
    void HideProgress() override;
    void StepProgress() override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    void ClearStatus() override;
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
    void RefreshAircraftRow(TWHAircraftRow* row);
    // lvAircraft's rows as the selection and the installers walk them.
    TWHAircraftRows& AircraftRows();
    int lvAircraftCompare(const QTreeWidgetItem* row1, const QTreeWidgetItem* row2) const;
    void SortAircraftRows();

    void LoadCatalogue();
    void UpdateNavigation();
    void LoadSettings();
    void SaveSettings();
    TWelcomeSettings WelcomePage() const;

    // Event handlers.
    void btnNextClick();
    void btnPrevClick();
    void btnCloseClick();
    void rbLocalDirClick();
    void edURLChange();
    void edURLExit();
    void edPackageFileAfterDialog();
    void lblVersionMouseEnter();
    void lblVersionMouseLeave();
    void lblVersionClick();
    void lblShowLogClick();
    void btnDeinstallClick();

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
    void FormCreate();
    void FormDestroy();
    // Runs a handler's body; an error shows in the error box and the program goes on.
    void Guarded(const std::function<void()>& body);
    void PickPackageFile();
    void PickFSDir();
    void ShowPage(TWizardPage page);
    // FRemoveCount and btnDeinstall's caption and state from the ticks.
    void CountRemovable();
    TWizardPage CurrentPage() const;

    TMainOptions FOptions;
    std::string FTitle;
    bool FIgnoreStatus = false;
    bool FStartupEnded = false;
    int FExitCode = 0;
    std::unique_ptr<TIniFile> FSettings;
    std::unique_ptr<TLogFile> FLog;
    int FSortColumn = -1;
    bool FSortDescending = false;
    int FUpdateDepth = 0;
    int FBusyCursorDepth = 0;
    int FOperationDepth = 0;
    int FRemoveCount = 0;   // ticked rows whose livery is installed
    std::unique_ptr<TAircraftListRows> FRows;
    bool FCloseRequested = false;
    bool FNavigationPending = false;   // UpdateNavigation asked for while an operation ran
    // What every row of one load is judged against, fixed when the load's
    // update bracket opens so that 10,000 rows do not work it out 10,000 times.
    struct TRowContext {
        std::string FSDir;
        std::string WorkingDir;
        std::string ThousandsSeparator;
    };
    TRowContext CurrentRowContext() const;
    std::optional<TRowContext> FBracketContext;
    QCollator FCollator;   // the user's locale, letter case ignored; set at each sort

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
    QTreeWidget* lvAircraft = nullptr;
    TLinkLabel* lblShowLog = nullptr;
    QPushButton* btnDeinstall = nullptr;
    QLabel* lblAction = nullptr;
    QPlainTextEdit* meLog = nullptr;
};

} // namespace wh
