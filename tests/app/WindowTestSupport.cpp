#include "WindowTestSupport.h"

#include <QFileDialog>
#include <QLocale>

#include <filesystem>

#include "app/DialogAnswerer.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {

TDialogAnswers::TDialogAnswers() {
    SetDialogAnswerer([this](QDialog& dialog) -> int {
        if (OnDialog)
            OnDialog();
        if (auto* picker = qobject_cast<QFileDialog*>(&dialog)) {
            Pickers.push_back({picker->directory().absolutePath(), picker->nameFilters(), picker->selectedFiles()});
            if (Pickers.size() > Picks.size() || Picks[Pickers.size() - 1].isEmpty())
                return QDialog::Rejected;
            picker->selectFile(Picks[Pickers.size() - 1]);
            return QDialog::Accepted;
        }
        auto& box = dynamic_cast<QMessageBox&>(dialog);
        Boxes.push_back(
            {box.windowTitle(), box.text(), box.icon(), box.button(QMessageBox::Ok) != nullptr, box.textFormat()});
        if (box.button(QMessageBox::Ok))
            return QMessageBox::Ok;
        return Yes ? QMessageBox::Yes : QMessageBox::No;
    });
}

TDialogAnswers::~TDialogAnswers() { SetDialogAnswerer(nullptr); }

TWindowTest::TWindowTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

void TWindowTest::WriteSettings(const std::map<std::string, std::string>& keys) const {
    std::string text = "[Welcome]\r\n";
    for (const auto& [key, value] : keys)
        text += key + "=" + value + "\r\n";
    WriteFile(IniPath(), text);
}

std::string TWindowTest::BuildCollection(const std::string& folder, const TTestCollection& packages) const {
    const std::filesystem::path root = ProgramDir.Path() / folder;
    std::vector<std::string> directories;
    for (const auto& [directory, liveries] : packages) {
        directories.push_back(directory);
        WriteFile(root / directory / "aircraft.lst", AircraftListText(liveries));
    }
    const std::string packagesLst = PackagesListText(directories);
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
