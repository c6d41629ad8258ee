#include "app/WingharbourClientMain.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AircraftListModel.h"
#include "app/AircraftListRows.h"
#include "app/AircraftListView.h"
#include "app/ColourScheme.h"
#include "app/CommandLine.h"
#include "app/LinkLabel.h"
#include "app/ListFilter.h"
#include "app/LocaleCollator.h"
#include "app/LogFile.h"
#include "app/LogoWidget.h"
#include "app/MessageBoxes.h"
#include "app/PathEdit.h"
#include "app/PathPickers.h"
#include "app/PickerRules.h"
#include "app/ProgramInfo.h"
#include "app/StatusPanel.h"
#include "app/ThemeColours.h"
#include "app/WindowLayout.h"
#include "archive/UnZip32.h"
#include "archive/UnzipVersionReport.h"
#include "catalogue/ActionToolTips.h"
#include "catalogue/AircraftState.h"
#include "catalogue/CatalogueReader.h"
#include "catalogue/CollectionLayout.h"
#include "catalogue/RowTexts.h"
#include "files/WorkingDir.h"
#include "install/Deinstaller.h"
#include "install/InstallRoom.h"
#include "install/Installer.h"
#include "install/MessageRules.h"
#include "install/WelcomeValidation.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"
#include "profile/IniFiles.h"

namespace wh {

namespace {

QString Wide(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }
std::string Narrow(const QString& text) { return Utf8ToAnsi(text.toStdString()); }
QString OsText(const std::string& path) { return QString::fromStdString(OsPath(path).string()); }

QLabel* PageHeader(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(24);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A radio button of an exclusive pair can only be unchecked with the
// exclusivity lifted for a moment.
void SetRadioChecked(QRadioButton* button, bool checked) {
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

} // namespace

// While a long operation runs, the controls that would start another one or
// change its source are disabled; they get their states back on every path.
// The action buttons are disabled too and get theirs from a recount at the
// end, as the unticks of an install recount meanwhile. The list's check boxes
// and header clicks are refused (eventFilter, lvAircraftColumnClick): the walk
// goes by row index. A close asked for meanwhile stops a running download and happens once
// the handler is over (Guarded).
class TfmWingharbourClientMain::TOperationScope {
public:
    explicit TOperationScope(TfmWingharbourClientMain& window) : FWindow(window) {
        if (FWindow.FOperationDepth++ == 0)
            FWindow.FPumps.Restart();
        for (QWidget* control : Controls()) {
            FSaved.push_back(control->isEnabled());
            control->setEnabled(false);
        }
    }
    ~TOperationScope() {
        const auto controls = Controls();
        for (std::size_t i = 0; i < controls.size(); ++i)
            controls[i]->setEnabled(FSaved[i]);
        if (--FWindow.FOperationDepth > 0)
            return;
        FWindow.UpdateSelectionStatus();
        // An edit made meanwhile was judged against nothing; judge it now, so
        // that a failed operation does not leave Next enabled for a page that
        // is no longer valid.
        if (FWindow.FNavigationPending) {
            FWindow.FNavigationPending = false;
            FWindow.UpdateNavigation();
        }
    }
    TOperationScope(const TOperationScope&) = delete;
    TOperationScope& operator=(const TOperationScope&) = delete;

private:
    std::vector<QWidget*> Controls() const {
        return {FWindow.btnNext,
                FWindow.btnPrev,
                FWindow.rbLocalDir,
                FWindow.rbURL,
                FWindow.edPackageFile,
                FWindow.edURL,
                FWindow.btnSelectAll,
                FWindow.btnSelectNew,
                FWindow.btnSelectUpdated,
                FWindow.btnSelectInstalled,
                FWindow.btnInvertSelection,
                FWindow.btnDeselectAll,
                FWindow.btnInstall,
                FWindow.btnDeinstall};
    }

    TfmWingharbourClientMain& FWindow;
    std::vector<bool> FSaved;
};

TfmWingharbourClientMain::TfmWingharbourClientMain(TMainOptions options, QWidget* parent)
    : QWidget(parent), FOptions(std::move(options)), FTitle(ApplicationTitle(ExtractFileName(FOptions.ProgramPath))) {
    BuildWindow();
    FRows = std::make_unique<TAircraftListRows>(*FModel, [this](int index) { RefreshAircraftRow(index); });
    ConnectHandlers();
    FormCreate();
}

TfmWingharbourClientMain::~TfmWingharbourClientMain() {
    while (FBusyCursorDepth > 0)
        SetBusyCursor(false);
}

// ---- Window construction ----

void TfmWingharbourClientMain::BuildWindow() {
    setObjectName(QStringLiteral("fmWingharbourClientMain"));
    setWindowTitle(QStringLiteral("Project Wingharbour"));
    setWindowIcon(LogoIcon());
    setMinimumSize(560, 430);
    resize(560, 430);

    imgLogo = Named(new TLogoWidget(this), "imgLogo");
    nbPages = Named(new QStackedWidget(this), "nbPages");
    nbPages->addWidget(BuildWelcomePage());
    nbPages->addWidget(BuildSelectionPage());
    nbPages->addWidget(BuildActionPage());

    pnlBottom = Named(new QWidget(this), "pnlBottom");
    pnlBottom->setFixedHeight(32);
    lblVersion = Named(new TLinkLabel(QString(), pnlBottom), "lblVersion");
    btnPrev = Named(new QPushButton(QStringLiteral("<< &Back"), pnlBottom), "btnPrev");
    btnNext = Named(new QPushButton(QStringLiteral("&Next >>"), pnlBottom), "btnNext");
    btnClose = Named(new QPushButton(QStringLiteral("&Close"), pnlBottom), "btnClose");
    auto* bottom = new QHBoxLayout(pnlBottom);
    bottom->setContentsMargins(6, 3, 6, 4);
    bottom->addWidget(lblVersion);
    bottom->addStretch(1);
    for (QPushButton* button : {btnPrev, btnNext, btnClose}) {
        button->setFixedSize(ButtonWidth, ButtonHeight);
        button->setAutoDefault(false);
        bottom->addWidget(button);
    }

    pnlZipStatus = Named(new TStatusPanel(this), "pnlZipStatus");
    lblProgress = Named(pnlZipStatus->StatusLine(), "lblProgress");
    Named(pnlZipStatus->IndicatorFrame(), "bvProgress");
    Named(pnlZipStatus->IndicatorBlock(), "shProgress");
    Named(pnlZipStatus->OperationText(), "lblOperation");
    Named(pnlZipStatus->OperationBar(), "pbOperation");

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(imgLogo);
    top->addWidget(nbPages, 1);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addLayout(top, 1);
    main->addWidget(pnlBottom);
    main->addWidget(pnlZipStatus);
    ApplyThemeColours();

    QWidget::setTabOrder(rbLocalDir, edPackageFile->LineEdit());
    QWidget::setTabOrder(edPackageFile->LineEdit(), rbURL);
    QWidget::setTabOrder(rbURL, edURL);
    QWidget::setTabOrder(edURL, edFSDir->LineEdit());
    QWidget::setTabOrder(edFSDir->LineEdit(), cbZapFiles);
    QWidget::setTabOrder(cbZapFiles, cbFakeManufacturer);
    QWidget::setTabOrder(cbFakeManufacturer, btnNext);
    QWidget::setTabOrder(btnNext, btnPrev);
    QWidget::setTabOrder(btnPrev, btnClose);
}

QWidget* TfmWingharbourClientMain::BuildWelcomePage() {
    auto* page = Named(new QWidget, "tsWelcome");
    lblWelcomeCaption = PageHeader(QStringLiteral("lblWelcomeCaption"), QStringLiteral("Welcome"), page);
    const std::string welcome =
        "This is the client/installer program for Project Wingharbour aircraft. It can be used to install and "
        "deinstall Wingharbour aircraft from either a local directory or the internet. \n\nVisit " +
        HomePageURL() +
        " for details on project Wingharbour.\n\nPlease select the mode of installation and an URL or local "
        "directory below:";
    lblWelcome = Named(new QLabel(Wide(welcome), page), "lblWelcome");
    lblWelcome->setTextFormat(Qt::PlainText);
    lblWelcome->setWordWrap(true);
    rbLocalDir =
        Named(new QRadioButton(QStringLiteral("From &local directory (select location of a packages.lst file)"), page),
              "rbLocalDir");
    edPackageFile = Named(new TPathEdit(page), "edPackageFile");
    rbURL = Named(new QRadioButton(QStringLiteral("From &URL"), page), "rbURL");
    edURL = Named(new QLineEdit(page), "edURL");
    lblFSDir = Named(new QLabel(QStringLiteral("Select your FS2002 main directory:"), page), "lblFSDir");
    edFSDir = Named(new TPathEdit(page), "edFSDir");
    cbZapFiles = Named(new QCheckBox(QStringLiteral("&Zap successfully installed files"), page), "cbZapFiles");
    cbZapFiles->setChecked(true);
    cbFakeManufacturer =
        Named(new QCheckBox(QStringLiteral("Install under &manufacturer \"Wingharbour\""), page), "cbFakeManufacturer");

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(3);
    layout->addWidget(lblWelcomeCaption);
    layout->addWidget(lblWelcome);
    for (QWidget* control : std::initializer_list<QWidget*>{rbLocalDir, edPackageFile, rbURL, edURL, lblFSDir, edFSDir,
                                                            cbZapFiles, cbFakeManufacturer})
        layout->addWidget(control);
    layout->addStretch(1);
    return page;
}

QWidget* TfmWingharbourClientMain::BuildSelectionPage() {
    auto* page = Named(new QWidget, "tsSelection");
    lblSelectionCaption = PageHeader(QStringLiteral("lblSelectionCaption"), QStringLiteral("Selection"), page);
    auto* intro = Named(new QLabel(QStringLiteral("Select those aircraft you want to install/update/deinstall and "
                                                  "click one of the red buttons."),
                                   page),
                        "lblSelectionIntro");
    intro->setWordWrap(true);

    // A child of the window made after nbPages: the view that shows it goes first.
    FModel = new TAircraftListModel(this);
    lvAircraft = Named(new TAircraftListView(page), "lvAircraft");
    lvAircraft->setModel(FModel);
    lvAircraft->setRootIsDecorated(false);
    lvAircraft->setUniformRowHeights(true);
    lvAircraft->setAllColumnsShowFocus(true);
    lvAircraft->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvAircraft->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvAircraft->setContextMenuPolicy(Qt::CustomContextMenu);
    mnAircraft = Named(new QMenu(lvAircraft), "mnAircraft");
    actTickRows = Named(mnAircraft->addAction(QStringLiteral("&Tick")), "actTickRows");
    actUntickRows = Named(mnAircraft->addAction(QStringLiteral("&Untick")), "actUntickRows");
    mnAircraft->addSeparator();
    actOpenAircraftFolder =
        Named(mnAircraft->addAction(QStringLiteral("&Open aircraft folder")), "actOpenAircraftFolder");
    actCopyRows = Named(mnAircraft->addAction(QStringLiteral("&Copy")), "actCopyRows");
    actCopyRows->setShortcut(QKeySequence::Copy);
    actCopyRows->setShortcutContext(Qt::WidgetShortcut);
    lvAircraft->addAction(actCopyRows);
    // The popup disables what it cannot do; the copy key must still work after it.
    connect(mnAircraft, &QMenu::aboutToHide, actCopyRows, [this] { actCopyRows->setEnabled(true); });
    lvAircraft->header()->setSectionsClickable(true);
    for (const auto& [column, width] : {std::pair{2, 60}, {3, 60}, {5, 50}, {6, 50}, {7, 50}})
        lvAircraft->setColumnWidth(column, width);
    FFilter = new TListFilter(*lvAircraft, *FModel, page);

    pnlSelection = Named(new QWidget(page), "pnlSelection");
    const auto button = [this](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(QString::fromLatin1(caption), pnlSelection), name);
        b->setAutoDefault(false);
        b->setFixedHeight(ButtonHeight - 2);
        return b;
    };
    btnSelectAll = button("btnSelectAll", "select &all");
    btnSelectNew = button("btnSelectNew", "select n&ew");
    btnSelectUpdated = button("btnSelectUpdated", "select &updated");
    btnSelectInstalled = button("btnSelectInstalled", "select &installed");
    btnInvertSelection = button("btnInvertSelection", "in&vert selection");
    btnDeselectAll = button("btnDeselectAll", "&deselect all");
    lblSelectionStatus = Named(new QLabel(pnlSelection), "lblSelectionStatus");
    lblSelectionStatus->setTextFormat(Qt::PlainText);
    // The summary's line for ticked rows the filter hides is its widest.
    const int summaryWidth =
        lblSelectionStatus->fontMetrics().horizontalAdvance(QStringLiteral(" 9999 hidden by the filter"));
    pnlSelection->setFixedWidth(std::max(110, summaryWidth + 4));
    // The recount gives them their captions before the page first shows.
    btnInstall = button("btnInstall", "");
    btnDeinstall = button("btnDeinstall", "");
    auto* panel = new QVBoxLayout(pnlSelection);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(2);
    for (QPushButton* b :
         {btnSelectAll, btnSelectNew, btnSelectUpdated, btnSelectInstalled, btnInvertSelection, btnDeselectAll})
        panel->addWidget(b);
    panel->addWidget(lblSelectionStatus);
    panel->addStretch(1);
    panel->addWidget(btnInstall);
    panel->addWidget(btnDeinstall);

    lblShowLog = Named(new TLinkLabel(QStringLiteral("log"), page), "lblShowLog");

    // The panel runs down beside the log link too: at the window's smallest
    // size its buttons and the summary need that height.
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(FFilter->Edit());
    listColumn->addWidget(lvAircraft, 1);
    listColumn->addWidget(lblShowLog, 0, Qt::AlignRight);
    auto* row = new QHBoxLayout;
    row->addLayout(listColumn, 1);
    row->addWidget(pnlSelection);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblSelectionCaption);
    layout->addWidget(intro);
    layout->addLayout(row, 1);
    // Once the page's widgets are all made: each new one joins the chain.
    QWidget::setTabOrder(FFilter->Edit(), lvAircraft);
    return page;
}

QWidget* TfmWingharbourClientMain::BuildActionPage() {
    auto* page = Named(new QWidget, "tsAction");
    lblAction = PageHeader(QStringLiteral("lblAction"), QStringLiteral("Action"), page);
    meLog = Named(new QPlainTextEdit(page), "meLog");
    meLog->setReadOnly(true);
    meLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    meLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    meLog->setFont(font);
    FLogView = std::make_unique<TLogView>(*meLog);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblAction);
    layout->addWidget(meLog, 1);
    return page;
}

// The colours the window sets itself, from the desktop's palette: at the
// start, and again whenever the desktop's colours change.
void TfmWingharbourClientMain::ApplyThemeColours() {
    // Grid lines through a style sheet; the selected row then needs its
    // colours named, or the style draws it pale under white text.
    const QPalette list = QApplication::palette(lvAircraft);
    lvAircraft->setStyleSheet(
        QStringLiteral("QTreeView::item { border-right: 1px solid %1; border-bottom: 1px solid %1; }"
                       "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }")
            .arg(GridLineColour(list.color(QPalette::Base), list.color(QPalette::Text)).name()));
    for (QPushButton* action : {btnInstall, btnDeinstall}) {
        const QPalette desktop = QApplication::palette(action);
        QPalette palette = action->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::ButtonText, ActionTextColour(desktop.color(group, QPalette::Button)));
        action->setPalette(palette);
    }
    for (TLinkLabel* link : {lblVersion, lblShowLog})
        link->ApplyColours();
    pnlZipStatus->ApplyColours();
}

void TfmWingharbourClientMain::ConnectHandlers() {
    const auto guarded = [this](void (TfmWingharbourClientMain::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(btnNext, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnNextClick));
    connect(btnPrev, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnPrevClick));
    connect(btnClose, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnCloseClick));
    connect(rbLocalDir, &QRadioButton::clicked, this, guarded(&TfmWingharbourClientMain::SourceRadioClick));
    connect(rbURL, &QRadioButton::clicked, this, guarded(&TfmWingharbourClientMain::SourceRadioClick));
    connect(edPackageFile, &TPathEdit::textChanged, this, guarded(&TfmWingharbourClientMain::WelcomeEditChange));
    connect(edURL, &QLineEdit::textChanged, this, guarded(&TfmWingharbourClientMain::WelcomeEditChange));
    connect(edFSDir, &TPathEdit::textChanged, this, guarded(&TfmWingharbourClientMain::WelcomeEditChange));
    connect(edPackageFile, &TPathEdit::pickRequested, this, guarded(&TfmWingharbourClientMain::PickPackageFile));
    connect(edFSDir, &TPathEdit::pickRequested, this, guarded(&TfmWingharbourClientMain::PickFSDir));
    connect(lblVersion, &TLinkLabel::mouseEntered, this, guarded(&TfmWingharbourClientMain::lblVersionMouseEnter));
    connect(lblVersion, &TLinkLabel::mouseLeft, this, guarded(&TfmWingharbourClientMain::lblVersionMouseLeave));
    connect(lblVersion, &TLinkLabel::clicked, this, guarded(&TfmWingharbourClientMain::lblVersionClick));
    connect(lblShowLog, &TLinkLabel::clicked, this, guarded(&TfmWingharbourClientMain::lblShowLogClick));
    connect(btnSelectAll, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnSelectAllClick));
    connect(btnSelectNew, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnSelectNewClick));
    connect(btnSelectUpdated, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnSelectUpdatedClick));
    connect(btnSelectInstalled, &QPushButton::clicked, this,
            guarded(&TfmWingharbourClientMain::btnSelectInstalledClick));
    connect(btnInvertSelection, &QPushButton::clicked, this,
            guarded(&TfmWingharbourClientMain::btnInvertSelectionClick));
    connect(btnDeselectAll, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnDeselectAllClick));
    connect(btnInstall, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnInstallClick));
    connect(btnDeinstall, &QPushButton::clicked, this, guarded(&TfmWingharbourClientMain::btnDeinstallClick));
    connect(FModel, &TAircraftListModel::rowChanged, this, guarded(&TfmWingharbourClientMain::lvAircraftChange));
    connect(lvAircraft->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { Guarded([this, column] { lvAircraftColumnClick(column); }); });
    FFilter->SetChangeHandler([this] { UpdateSelectionStatus(); });
    static_cast<TAircraftListView*>(lvAircraft)->SetTickKeyHandler([this] {
        Guarded([this] { lvAircraftTickKey(); });
    });
    connect(lvAircraft, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { Guarded([this, position] { lvAircraftContextPopup(position); }); });
    connect(actTickRows, &QAction::triggered, this,
            [this] { Guarded([this] { MarkedRowsTicks(TWHTickChange::Tick); }); });
    connect(actUntickRows, &QAction::triggered, this,
            [this] { Guarded([this] { MarkedRowsTicks(TWHTickChange::Untick); }); });
    connect(actOpenAircraftFolder, &QAction::triggered, this,
            guarded(&TfmWingharbourClientMain::OpenAircraftFolderClick));
    connect(actCopyRows, &QAction::triggered, this, guarded(&TfmWingharbourClientMain::CopyRowsClick));
    // Enter on the Welcome page is Next, as in a dialog; a widget window has no default button.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), nbPages->widget(static_cast<int>(TWizardPage::Welcome)));
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            // The focus moves first, as with a click, so that edURL is left.
            if (btnNext->isEnabled()) {
                btnNext->setFocus(Qt::ShortcutFocusReason);
                btnNext->click();
            }
        });
    }
    edURL->installEventFilter(this);
    btnInstall->installEventFilter(this);
    btnDeinstall->installEventFilter(this);
    lvAircraft->installEventFilter(this);
    WhenPaletteChanges(*this, [this] { ApplyThemeColours(); });
    lvAircraft->viewport()->installEventFilter(this);
}

void TfmWingharbourClientMain::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const EOperationCancelled&) {
        // The user asked to close; the operation already logged why it stopped.
    } catch (const std::exception& error) {
        ShowErrorBox(this, FTitle, error.what());
    }
    // Only now, so that an operation's error box is read before the window goes.
    if (FCloseRequested && FOperationDepth == 0) {
        FCloseRequested = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

bool TfmWingharbourClientMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && (watched == btnInstall || watched == btnDeinstall))
        SetActionToolTips();
    // The list keeps scrolling and repainting during an operation, but no
    // click or key may tick a row.
    if (FOperationDepth > 0 && (watched == lvAircraft || watched == lvAircraft->viewport())) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    // A context menu or another program taking the focus does not leave the
    // edit: the text stays as typed until the focus moves to another control.
    if (watched == edURL && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            Guarded([this] { edURLExit(); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Start-up and shutdown ----

void TfmWingharbourClientMain::FormCreate() {
    const TCommandLine commandLine = ParseCommandLine(FOptions.Arguments);
    if (commandLine.UnknownArgument) {
        ShowPlainMessage(nullptr, FTitle, UnknownParameterMessage(*commandLine.UnknownArgument));
        FStartupEnded = true;
        return;
    }
    FIgnoreStatus = commandLine.IgnoreStatus;
    lblVersion->setText(Wide(ProgramVersionText()));
    try {
        const TProgramFiles files = ProgramFiles(FOptions.ProgramPath);
        FLog = std::make_unique<TLogFile>(files.Log);
        FLogView->Clear();
        ReportUnzipVersion();
        FSortOrder.Column = -1;
        FSettings = std::make_unique<TIniFile>(files.Settings);
        ShowPage(TWizardPage::Welcome);
        LoadSettings();
        RestoreLayout();
        HideProgress();
    } catch (const std::exception& error) {
        // Without a log no status can be written and no settings were read:
        // the program cannot work, so it ends after saying why.
        ShowErrorBox(nullptr, FTitle, error.what());
        FSettings.reset();
        FStartupEnded = true;
        FExitCode = 1;
    }
}

void TfmWingharbourClientMain::FormDestroy() {
    if (!FSettings)
        return;
    Guarded([this] {
        SaveSettings();
        SaveLayout();
    });
    FSettings.reset();
}

void TfmWingharbourClientMain::closeEvent(QCloseEvent* event) {
    if (FOperationDepth > 0) {
        FCloseRequested = true;
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

TWelcomeSettings TfmWingharbourClientMain::WelcomePage() const {
    TWelcomeSettings page;
    page.LocalDir = rbLocalDir->isChecked();
    page.PackageFile = Narrow(edPackageFile->text());
    page.URL = rbURL->isChecked();
    page.URLText = Narrow(edURL->text());
    page.FSDir = Narrow(edFSDir->text());
    page.ZapFiles = cbZapFiles->isChecked();
    page.FakeManufacturer = cbFakeManufacturer->isChecked();
    return page;
}

void TfmWingharbourClientMain::LoadSettings() {
    const TWelcomeSettings page = LoadWelcomeSettings(*FSettings, DefaultSourceURL());
    SetRadioChecked(rbLocalDir, page.LocalDir);
    edPackageFile->setText(Wide(page.PackageFile));
    SetRadioChecked(rbURL, page.URL);
    edURL->setText(Wide(page.URLText));
    edFSDir->setText(Wide(page.FSDir));
    cbZapFiles->setChecked(page.ZapFiles);
    cbFakeManufacturer->setChecked(page.FakeManufacturer);
    UpdateNavigation();
}

void TfmWingharbourClientMain::SaveSettings() { SaveWelcomeSettings(*FSettings, WelcomePage()); }

void TfmWingharbourClientMain::RestoreLayout() {
    QHeaderView* header = lvAircraft->header();
    TLayoutLimits limits{minimumWidth(), minimumHeight(), header->count(), {}};
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        limits.Screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    const std::optional<TWindowLayout> layout = ReadWindowLayout(*FSettings, limits);
    if (!layout)
        return;
    setGeometry(layout->Left, layout->Top, layout->Width, layout->Height);
    if (layout->Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    for (int column = 0; column < header->count(); ++column)
        header->resizeSection(column, layout->ColumnWidths[static_cast<std::size_t>(column)]);
    for (int visual = 0; visual < header->count(); ++visual)
        header->moveSection(header->visualIndex(layout->ColumnOrder[static_cast<std::size_t>(visual)]), visual);
    FColumnWidthsRestored = true;
}

// The normal geometry, so that a maximized window comes back to its place
// when it is restored.
void TfmWingharbourClientMain::SaveLayout() {
    const QRect normal = normalGeometry();
    TWindowLayout layout{normal.x(), normal.y(), normal.width(), normal.height(), isMaximized(), {}, {}};
    const QHeaderView* header = lvAircraft->header();
    for (int column = 0; column < header->count(); ++column) {
        layout.ColumnWidths.push_back(header->sectionSize(column));
        layout.ColumnOrder.push_back(header->logicalIndex(column));
    }
    WriteWindowLayout(*FSettings, layout);
}

void TfmWingharbourClientMain::lblVersionMouseEnter() {
    QFont font = lblVersion->font();
    font.setUnderline(true);
    lblVersion->setFont(font);
}

void TfmWingharbourClientMain::lblVersionMouseLeave() {
    QFont font = lblVersion->font();
    font.setUnderline(false);
    lblVersion->setFont(font);
}

void TfmWingharbourClientMain::lblVersionClick() { OpenURL(HomePageURL()); }

void TfmWingharbourClientMain::OpenURL(const std::string& url) {
    if (FOptions.OpenURL)
        FOptions.OpenURL(url);
    else
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

// ---- Log, status line and indicator ----

void TfmWingharbourClientMain::LogLine(const std::string& text) {
    FLogView->Append(Wide(text));
    PumpWhenDue();
    if (!FLog)
        throw EInOutError("The log file is not open");
    FLog->WriteLine(text);
}

void TfmWingharbourClientMain::SetStatus(const std::string& text) {
    if (!text.empty()) {
        lblProgress->setText(Wide(text));
        LogLine("Status: " + text);
    }
    StepProgress();
}

void TfmWingharbourClientMain::ShowProgress() {
    StepProgress();
    pnlZipStatus->SetIndicatorVisible(true);
    ProcessMessages();
}

void TfmWingharbourClientMain::HideProgress() {
    pnlZipStatus->SetIndicatorVisible(false);
    ProcessMessages();
}

void TfmWingharbourClientMain::StepProgress() {
    MoveProgress();
    PumpWhenDue();
}

void TfmWingharbourClientMain::MoveProgress() { pnlZipStatus->StepIndicator(); }

void TfmWingharbourClientMain::ProcessMessages() {
    FLogView->Flush();
    QCoreApplication::processEvents();
}

void TfmWingharbourClientMain::PumpWhenDue() {
    if (FPumps.Due())
        ProcessMessages();
}

void TfmWingharbourClientMain::SetBusyCursor(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++FBusyCursorDepth;
    } else if (FBusyCursorDepth > 0) {
        QApplication::restoreOverrideCursor();
        --FBusyCursorDepth;
    }
}

void TfmWingharbourClientMain::ClearStatus() { lblProgress->clear(); }

TWHOperationProgress& TfmWingharbourClientMain::OperationProgress() { return pnlZipStatus->OperationProgress(); }

void TfmWingharbourClientMain::ReportUnzipVersion() {
    for (const std::string& line : UnzipVersionReport(*UzpVersion()))
        LogLine(line);
}

// ---- Source settings ----

bool TfmWingharbourClientMain::LocalDirSelected() const { return rbLocalDir->isChecked(); }
std::string TfmWingharbourClientMain::PackageFileText() const { return Narrow(edPackageFile->text()); }
bool TfmWingharbourClientMain::URLSelected() const { return rbURL->isChecked(); }
std::string TfmWingharbourClientMain::URLText() const { return Narrow(edURL->text()); }

// ---- The aircraft list ----

void TfmWingharbourClientMain::BeginUpdate() {
    if (!FRowContext.Begin())
        return;
    lvAircraft->setUpdatesEnabled(false);
    FModel->BeginLoad();
}

void TfmWingharbourClientMain::EndUpdate() {
    if (!FRowContext.End())
        return;
    FModel->EndLoad();
    lvAircraft->setUpdatesEnabled(true);
    if (FColumnWidthsRestored)
        return;
    for (int column : {0, 1, 4})
        lvAircraft->resizeColumnToContents(column);
}

void TfmWingharbourClientMain::Clear() { FModel->Clear(); }

void TfmWingharbourClientMain::Add(std::unique_ptr<TWHAircraft> aircraft) {
    const TWHRowContext context = FRowContext.Context();
    FModel->SetThousandsSeparator(context.ThousandsSeparator);
    const auto texts = RefreshedRowTexts(*aircraft, context, FRowContext.Snapshot());
    FModel->Append(std::move(aircraft), texts);
}

TWHRowContext TfmWingharbourClientMain::CurrentRowContext() const {
    return {Narrow(edFSDir->text()), WorkingDir(), Narrow(QLocale().groupSeparator())};
}

void TfmWingharbourClientMain::RefreshAircraftRow(int index) {
    const TWHRowContext context = FRowContext.Context();
    FModel->SetThousandsSeparator(context.ThousandsSeparator);
    FModel->SetTexts(index, RefreshedRowTexts(FModel->Record(index), context));
}

TWHAircraftRows& TfmWingharbourClientMain::AircraftRows() { return *FRows; }

void TfmWingharbourClientMain::SortAircraftRows() {
    if (FSortOrder.Column < 0)
        return;
    std::vector<std::string> texts;
    texts.reserve(FModel->RecordCount());
    for (int i = 0; i < FModel->RecordCount(); ++i)
        texts.push_back(FModel->Text(i, FSortOrder.Column));
    FModel->Arrange(SortedRowOrder(texts, FSortOrder, TLocaleCollator()));
}

void TfmWingharbourClientMain::LoadCatalogue() {
    ReadCatalogue(*this, *this, *this, FIgnoreStatus);
    FSortOrder.Reset();
    SortAircraftRows();
    UpdateSelectionStatus();
    lblProgress->clear();
    HideProgress();
}

// ---- The selection ----

void TfmWingharbourClientMain::UpdateSelectionStatus() {
    FCounts = CountSelection(*FRows);
    const TWHSelectionStatus status = SelectionStatus(FCounts);
    lblSelectionStatus->setText(Wide(status.Summary));
    btnInstall->setText(QLatin1Char('&') + Wide(status.InstallCaption));
    btnInstall->setEnabled(status.InstallEnabled && FOperationDepth == 0);
    btnDeinstall->setText(QLatin1Char('&') + Wide(status.DeinstallCaption));
    btnDeinstall->setEnabled(status.DeinstallEnabled && FOperationDepth == 0);
}

// Set when a tooltip is about to show rather than at every recount: a second
// walk over the rows, and setToolTip itself, would double a recount's time.
void TfmWingharbourClientMain::SetActionToolTips() {
    btnInstall->setToolTip(Wide(InstallToolTip(FetchVolume(*FRows), Narrow(QLocale().decimalPoint()))));
    btnDeinstall->setToolTip(Wide(DeinstallToolTip(FCounts.Remove)));
}

void TfmWingharbourClientMain::btnDeinstallClick() {
    if (FOperationDepth > 0 || !AskWarningYesNo(this, FTitle, DeinstallQuestion(FCounts.Remove)))
        return;
    TOperationScope scope(*this);
    DeinstallTickedAircraft(*FRows, *this, {AppendSeparator(Narrow(edFSDir->text()), '\\'), WorkingDir()},
                            [this] { return FCloseRequested; });
}

void TfmWingharbourClientMain::SelectionButtonClick(TWHSelectionButton button) {
    ApplySelectionButton(*FRows, button);
    UpdateSelectionStatus();
}

void TfmWingharbourClientMain::lvAircraftChange() {
    // A selection button and a load each recount once when their walk is done.
    if (FRows->ChangesBracketed() || FRowContext.IsOpen())
        return;
    UpdateSelectionStatus();
}

std::vector<int> TfmWingharbourClientMain::MarkedRows() const {
    std::vector<int> positions;
    for (const QModelIndex& index : lvAircraft->selectionModel()->selectedRows())
        positions.push_back(FModel->PositionOf(index));
    if (positions.empty())
        positions.push_back(FModel->PositionOf(lvAircraft->currentIndex()));
    std::erase(positions, -1);
    std::sort(positions.begin(), positions.end());
    return positions;
}

void TfmWingharbourClientMain::MarkedRowsTicks(TWHTickChange change) {
    if (FOperationDepth > 0)
        return;
    ChangeTicks(*FRows, MarkedRows(), change);
    UpdateSelectionStatus();
}

std::string TfmWingharbourClientMain::CurrentAircraftFolder() const {
    const int position = FModel->PositionOf(lvAircraft->currentIndex());
    if (position < 0)
        return {};
    const std::string folder =
        AircraftFolderPath(AppendSeparator(Narrow(edFSDir->text()), '\\'), FModel->Record(position).Directory);
    return DirectoryExists(folder) ? folder : std::string();
}

void TfmWingharbourClientMain::lvAircraftContextPopup(const QPoint& position) {
    if (FOperationDepth > 0)
        return;
    const bool marked = !MarkedRows().empty();
    for (QAction* action : {actTickRows, actUntickRows, actCopyRows})
        action->setEnabled(marked);
    actOpenAircraftFolder->setEnabled(!CurrentAircraftFolder().empty());
    mnAircraft->popup(lvAircraft->viewport()->mapToGlobal(position));
}

void TfmWingharbourClientMain::OpenAircraftFolderClick() {
    const std::string folder = CurrentAircraftFolder();
    if (!folder.empty())
        OpenURL(QUrl::fromLocalFile(OsText(folder)).toString(QUrl::FullyEncoded).toStdString());
}

// The columns as the header shows them, moved ones included.
void TfmWingharbourClientMain::CopyRowsClick() {
    const QHeaderView* header = lvAircraft->header();
    std::vector<std::vector<std::string>> rows;
    const std::vector<int> marked = MarkedRows();
    if (marked.empty())
        return;
    for (const int position : marked) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (int visual = 0; visual < header->count(); ++visual)
            if (!header->isSectionHidden(header->logicalIndex(visual)))
                cells.push_back(FModel->Text(position, header->logicalIndex(visual)));
    }
    QGuiApplication::clipboard()->setText(Wide(TabSeparatedRows(rows)));
}

void TfmWingharbourClientMain::lvAircraftColumnClick(int column) {
    if (FOperationDepth > 0)
        return;
    FSortOrder.ClickColumn(column);
    SortAircraftRows();
}

// ---- Installing ----

TWHInstallOptions TfmWingharbourClientMain::InstallOptions() const {
    return {WorkingDir(), AppendSeparator(Narrow(edFSDir->text()), '\\'), cbZapFiles->isChecked(),
            cbFakeManufacturer->isChecked()};
}

// A close asked for meanwhile lets the livery in hand finish, then the walk
// stops and Guarded closes the window, which writes the settings.
void TfmWingharbourClientMain::btnInstallClick() {
    if (FOperationDepth > 0)
        return;
    const TWHInstallOptions options = InstallOptions();
    if (!InstallRoomAgreed(options))
        return;
    TOperationScope scope(*this);
    InstallTickedRows(*FRows, options, *this, *this, [this] { return FCloseRequested; });
}

bool TfmWingharbourClientMain::InstallRoomAgreed(const TWHInstallOptions& options) {
    const auto place = [this](const std::string& folder) {
        return TWHRoomPlace{folder, FOptions.FreeSpace ? FOptions.FreeSpace(folder) : FreeSpaceOf(folder)};
    };
    const TWHRoomPlace work = place(options.WorkingDir), simulator = place(options.FSDir + "aircraft");
    const TWHInstallRoom room =
        CheckInstallRoom(*FRows, PlanBases(*FRows, options), work, simulator, Narrow(QLocale().decimalPoint()));
    return room.Warning.empty() || AskWarningYesNo(this, FTitle, room.Warning);
}

// ---- Navigation ----

TWizardPage TfmWingharbourClientMain::CurrentPage() const { return static_cast<TWizardPage>(nbPages->currentIndex()); }

void TfmWingharbourClientMain::ShowPage(TWizardPage page) { nbPages->setCurrentIndex(static_cast<int>(page)); }

void TfmWingharbourClientMain::UpdateNavigation() {
    // A running operation owns the navigation until it ends.
    if (FOperationDepth > 0) {
        FNavigationPending = true;
        return;
    }
    const TWizardPage page = CurrentPage();
    bool welcomeValid = false;
    if (page == TWizardPage::Welcome) {
        edPackageFile->setEnabled(rbLocalDir->isChecked());
        edURL->setEnabled(rbURL->isChecked());
        btnPrev->setEnabled(false);
        welcomeValid = WelcomePageValid(WelcomePage());
    }
    const TNavigationState state = NavigationFor(page, welcomeValid);
    btnPrev->setEnabled(state.BackEnabled);
    btnNext->setEnabled(state.NextEnabled);
    if (page == TWizardPage::Selection)
        UpdateSelectionStatus();
}

void TfmWingharbourClientMain::btnNextClick() {
    if (FOperationDepth > 0)
        return;
    const TWizardPage page = CurrentPage();
    if (page == TWizardPage::Welcome) {
        {
            TOperationScope scope(*this);
            LoadCatalogue();
        }
        ShowPage(PageAfterNext(page));
    } else {
        ShowPage(PageAfterNext(page));
    }
    UpdateNavigation();
}

void TfmWingharbourClientMain::btnPrevClick() {
    ShowPage(PageAfterBack(CurrentPage()));
    UpdateNavigation();
}

void TfmWingharbourClientMain::btnCloseClick() { close(); }

void TfmWingharbourClientMain::SourceRadioClick() { UpdateNavigation(); }

void TfmWingharbourClientMain::WelcomeEditChange() { UpdateNavigation(); }

void TfmWingharbourClientMain::PathPickerClosed() { UpdateNavigation(); }

void TfmWingharbourClientMain::edURLExit() {
    const QString normalised = Wide(AppendSeparator(Narrow(edURL->text()), '/'));
    if (normalised != edURL->text())
        edURL->setText(normalised);
}

void TfmWingharbourClientMain::lblShowLogClick() {
    ShowPage(TWizardPage::Action);
    UpdateNavigation();
}

void TfmWingharbourClientMain::PickPackageFile() {
    const std::string start = PackagePickerStart(PackageFileText());
    const QString chosen = PickFile(this, start.empty() ? QString() : OsText(start),
                                    QStringLiteral("package files (packages.lst);;all files (*)"));
    PathPickerClosed();
    if (!chosen.isEmpty())
        edPackageFile->setText(Wide(PackagePickerResult(Narrow(chosen))));
}

void TfmWingharbourClientMain::PickFSDir() {
    const QString chosen = PickFolder(this, OsText(FolderPickerStart(Narrow(edFSDir->text()))));
    PathPickerClosed();
    if (!chosen.isEmpty())
        edFSDir->setText(Wide(Narrow(chosen)));
}

} // namespace wh
