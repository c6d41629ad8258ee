#include "bench/support/LargeCollectionWindow.h"

#include <filesystem>
#include <string>
#include <vector>

#include <QPushButton>
#include <QTreeView>

#include "catalogue/AircraftRows.h"

#include "tests/support/CatalogueText.h"
#include "tests/support/ZipBuilder.h"

namespace wh::bench {

namespace {

namespace fs = std::filesystem;

std::string PackageDir(int p) { return "b" + std::to_string(1000 + p).substr(1); }

} // namespace

TLargeCollectionWindow::TLargeCollectionWindow(int packages, bool load) : PackageCount(packages) {
    WorkingDir = std::make_unique<test::TWorkingDirOverride>(Root / "appdata");
    const fs::path source = Root.Path() / "source";
    std::vector<std::string> directories;
    for (int p = 0; p < PackageCount; ++p) {
        const std::string dir = PackageDir(p);
        directories.push_back(dir);
        std::vector<test::TTestLivery> liveries;
        for (int n = 0; n < LiveriesPerPackage; ++n) {
            const std::string id = dir + "_" + std::to_string(n);
            const bool installed = n % 10 == 0;
            liveries.push_back({.Airline = "Airline " + std::to_string((p * 7919 + n * 104729) % 100003),
                                .Type = "Type " + std::to_string((p * 31 + n) % 97),
                                .Designer = "D" + std::to_string(n % 7),
                                .Model = "PSS",
                                .Texture = id,
                                .Size = 1000L * ((p * 13 + n) % 900),
                                .Timestamp = installed && n % 20 == 0 ? "2147483647" : "1"});
            if (installed) {
                fs::create_directories(Root.Path() / "fs/aircraft" / dir / ("texture." + id));
                test::WriteFile(Root.Path() / "appdata/Wingharbour" / dir / (id + ".zip"), "zip");
            }
        }
        test::WriteFile(source / dir / "aircraft.lst", test::AircraftListText(liveries));
    }
    const std::string packagesLst = test::PackagesListText(directories);
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
