#include "install/Deinstaller.h"

#include <cstdio>

#include "catalogue/CollectionLayout.h"
#include "files/FolderDeletion.h"
#include "install/CfgSections.h"
#include "install/LiveryLines.h"
#include "install/RowWalk.h"
#include "platform/Errors.h"
#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/Paths.h"
#include "profile/ProfileEdit.h"
#include "profile/ProfileStore.h"

namespace wh {

namespace {

// The texture folder goes with what it holds. A folder that is itself a link
// loses the link only: what it points at is not the livery's.
void RemoveTextureFolder(const std::string& folder) {
    const std::filesystem::path path = OsPath(folder);
    TFileStatus st;
    if (!LinkStatus(path, st))
        return;
    if (st.IsLink()) {
        RemoveFile(path);
        return;
    }
    if (!st.IsFolder())
        return;
    DeleteDirectoryContents(folder);
    RemoveFolder(path);
}

} // namespace

std::string DeinstallQuestion(int removeCount) {
    return "You are about to deinstall " + std::to_string(removeCount) +
           " aircraft from your flight simulator. Are you sure you want to continue?";
}

void DeinstallAircraft(const TWHAircraft& aircraft, const TWHDeinstallPlaces& places) {
    RemoveTextureFolder(TextureFolderPath(aircraft, places.FSDir));
    RemoveFile(OsPath(ArchiveCopyPath(aircraft, places.WorkingDir)));

    const std::string cfgFile = AircraftCfgPath(places.FSDir, aircraft.Directory);
    const TLiveryLines names = LiveryLines(aircraft, places.WorkingDir + AircraftListName(aircraft.Directory));
    const TCfgLines current = LoadLines(cfgFile);
    const auto header = FindInstalledSectionLine(current, names);
    if (!header)
        RaiseLiverySectionNotFound(aircraft, cfgFile);
    // Erased and renumbered in one write: a gap in the numbers hides every
    // later livery of the aircraft from the simulator.
    const auto document = LoadProfile(cfgFile);
    const auto erased = EraseProfileSection(*document, HeaderName(current[*header]));
    TCfgLines lines = SplitLines(erased ? *erased : document->Bytes());
    RenumberSectionLines(lines, LiverySectionPrefix);
    SaveLines(cfgFile, lines);
}

bool DeinstallTickedAircraft(TWHAircraftRows& rows, TWHActivity& activity, const TWHDeinstallPlaces& places,
                             const std::function<bool()>& stopRequested) {
    return WalkTickedRows(
        rows, activity, [](const TWHAircraft& aircraft) { return aircraft.Installed; },
        [&places](TWHAircraft& aircraft) { DeinstallAircraft(aircraft, places); }, stopRequested);
}

} // namespace wh
