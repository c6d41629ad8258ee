#include "bench/support/LargeCollectionWindow.h"

#include <filesystem>
#include <string>

#include <QPushButton>
#include <QTreeView>

#include "catalogue/AircraftRows.h"

#include "tests/support/ZipBuilder.h"

namespace wh::bench {

namespace {

namespace fs = std::filesystem;

std::string PackageDir(int p) { return "b" + std::to_string(1000 + p).substr(1); }

} // namespace

TLargeCollectionWindow::TLargeCollectionWindow(int packages, bool load) : PackageCount(packages) {
    WorkingDir = std::make_unique<test::TWorkingDirOverride>(Root / "appdata");
    const fs::path source = Root.Path() / "source";
    std::string packagesLst;
    for (int p = 0; p < PackageCount; ++p) {
        const std::string dir = PackageDir(p);
        packagesLst += "[package." + std::to_string(p) + "]\r\ndirectory=" + dir + "\r\n";
        std::string list;
        for (int n = 0; n < LiveriesPerPackage; ++n) {
            const std::string id = dir + "_" + std::to_string(n);
            const bool installed = n % 10 == 0;
            list += "[fltsim." + std::to_string(n) + "]\r\ntexture=" + id + "\r\nui_type=Type " +
                    std::to_string((p * 31 + n) % 97) + "\r\nwh_airline=Airline " +
                    std::to_string((p * 7919 + n * 104729) % 100003) + "\r\nwh_designer=D" + std::to_string(n % 7) +
                    "\r\nwh_model=PSS\r\nwh_status=ok\r\nwh_filename=" + id +
                    ".zip\r\nwh_archivesize=" + std::to_string(1000 * ((p * 13 + n) % 900)) +
                    "\r\nwh_archivetimestamp=" + (installed && n % 20 == 0 ? "2147483647" : "1") + "\r\n";
            if (installed) {
                fs::create_directories(Root.Path() / "fs/aircraft" / dir / ("texture." + id));
                test::WriteFile(Root.Path() / "appdata/Wingharbour" / dir / (id + ".zip"), "zip");
            }
        }
        test::WriteFile(source / dir / "aircraft.lst", list);
    }
    test::WriteFile(source / "packages.lst", packagesLst);
    test::BuildZip((source / "packages.zip").string(), {{"packages.lst", packagesLst}});
    WriteSettings("rbLocalDir=1\r\nrbURL=0\r\nedPackageFile=" + (source / "packages.lst").string());
    OpenWindow();
    if (load)
        Button("btnNext")->click();
}

void TLargeCollectionWindow::WriteSettings(const std::string& sourceLines) {
    test::WriteFile(Root.Path() / "program/WingharbourClient.ini",
                    "[Welcome]\r\n" + sourceLines + "\r\nFSDir=" + (Root / "fs") + "\r\n");
}

void TLargeCollectionWindow::ServeFrom(const std::string& url) {
    Window.reset(); // it keeps its own settings as it closes
    WriteSettings("rbLocalDir=0\r\nrbURL=1\r\nedURL=" + url);
    OpenWindow();
}

void TLargeCollectionWindow::OpenWindow() {
    Window.reset();
    TMainOptions options;
    options.ProgramPath = Root / "program/WingharbourClient";
    options.OpenURL = [](const std::string&) {};
    Window = std::make_unique<TfmWingharbourClientMain>(std::move(options));
    Window->show();
}

QPushButton* TLargeCollectionWindow::Button(const char* name) const { return Window->findChild<QPushButton*>(name); }

QTreeView* TLargeCollectionWindow::List() const { return Window->findChild<QTreeView*>("lvAircraft"); }

bool TLargeCollectionWindow::Loaded() const {
    return Window->AircraftRows().RowCount() == PackageCount * LiveriesPerPackage;
}

} // namespace wh::bench
