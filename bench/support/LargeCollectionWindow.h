#pragma once

#include <memory>
#include <string>

#include "app/WingharbourClientMain.h"
#include "tests/support/TempDir.h"

class QPushButton;
class QTreeView;

namespace wh::bench {

// The real window (offscreen) on its Selection page after loading a local
// collection of 200 packages x 50 liveries (or as many packages as asked
// for): one in ten installed, half of those with a newer archive in the
// catalogue. Without load the window stays on its Welcome page.
struct TLargeCollectionWindow {
    static constexpr int Packages = 200;
    static constexpr int LiveriesPerPackage = 50;

    explicit TLargeCollectionWindow(int packages = Packages, bool load = true);

    // A new window on the collection, shown on its Welcome page.
    void OpenWindow();
    // From now on the windows load the source's files from url (which ends
    // with "/"), a server that serves Root / "source".
    void ServeFrom(const std::string& url);
    QPushButton* Button(const char* name) const;
    QTreeView* List() const;
    // Every row is in the list, whether the filter shows it or not.
    bool Loaded() const;

    void WriteSettings(const std::string& sourceLines);

    int PackageCount;
    test::TTempDir Root;
    std::unique_ptr<test::TWorkingDirOverride> WorkingDir;
    std::unique_ptr<TfmWingharbourClientMain> Window;
};

} // namespace wh::bench
