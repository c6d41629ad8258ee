#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>

#include <filesystem>

#include "tests/support/ZipBuilder.h"

namespace wh::test {

TMessageBoxAnswerer::TMessageBoxAnswerer() {
    FTimer.setInterval(10);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Answer(); });
    FTimer.start();
}

void TMessageBoxAnswerer::Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    Boxes.push_back({box->windowTitle(), box->text(), box->icon(), ok != nullptr, box->textFormat()});
    if (ok)
        ok->click();
    else
        box->reject();
}

TWindowTest::TWindowTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

void TWindowTest::WriteSettings(const std::map<std::string, std::string>& keys) const {
    std::string text = "[Welcome]\r\n";
    for (const auto& [key, value] : keys)
        text += key + "=" + value + "\r\n";
    WriteFile(IniPath(), text);
}

std::string TWindowTest::BuildCollection(const std::string& folder, const TTestCollection& packages) const {
    const std::filesystem::path root = ProgramDir.Path() / folder;
    std::string packagesLst;
    for (std::size_t n = 0; n < packages.size(); ++n) {
        const auto& [directory, liveries] = packages[n];
        packagesLst += "[package." + std::to_string(n) + "]\r\ndirectory=" + directory + "\r\n";
        std::string aircraftLst;
        for (std::size_t i = 0; i < liveries.size(); ++i) {
            const TTestLivery& l = liveries[i];
            aircraftLst += "[fltsim." + std::to_string(i) + "]\r\nwh_airline=" + l.Airline + "\r\nui_type=" + l.Type +
                           "\r\nwh_designer=" + l.Designer + "\r\nwh_model=" + l.Model + "\r\nwh_status=" + l.Status +
                           "\r\ntexture=" + l.Texture + "\r\nwh_filename=" + l.Texture + ".zip" +
                           "\r\nwh_inclusion=" + l.Inclusion + "\r\nwh_archivesize=" + std::to_string(l.Size) + "\r\n";
        }
        WriteFile(root / directory / "aircraft.lst", aircraftLst);
    }
    WriteFile(root / "packages.lst", packagesLst);
    BuildZip((root / "packages.zip").string(), {{"packages.lst", packagesLst}});
    std::filesystem::create_directories(FSDir() + "/aircraft");
    return (root / "packages.lst").string();
}

void TWindowTest::UseLocalSource(const std::string& packageFile) const {
    std::filesystem::create_directories(FSDir() + "/aircraft");
    WriteSettings({{"rbLocalDir", "1"}, {"rbURL", "0"}, {"edPackageFile", packageFile}, {"FSDir", FSDir()}});
}

std::unique_ptr<TfmWingharbourClientMain> TWindowTest::Start(std::vector<std::string> arguments) {
    TMainOptions options;
    options.ProgramPath = ProgramPath();
    options.Arguments = std::move(arguments);
    options.OpenURL = [this](const std::string& url) { OpenedURLs.push_back(url); };
    options.FreeSpace = FreeSpace;
    return std::make_unique<TfmWingharbourClientMain>(std::move(options));
}

std::vector<std::string> TWindowTest::LogFileLines() const {
    const std::string text = ReadFile(LogPath());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

QTreeView* AircraftList(const QWidget& window) { return Child<QTreeView>(window, "lvAircraft"); }

int ListRowCount(const QWidget& window) { return AircraftList(window)->model()->rowCount(); }

QString ListText(const QWidget& window, int row, int column) {
    return AircraftList(window)->model()->index(row, column).data().toString();
}

bool ListChecked(const QWidget& window, int row) {
    return AircraftList(window)->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void SetListChecked(const QWidget& window, int row, bool checked) {
    AircraftList(window)->model()->setData(AircraftList(window)->model()->index(row, 0),
                                           checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

} // namespace wh::test
