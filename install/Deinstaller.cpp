#include "install/Deinstaller.h"

#include <cstdio>

#include "catalogue/CollectionLayout.h"
#include "files/FolderDeletion.h"
#include "install/CfgSections.h"
#include "install/RowWalk.h"
#include "platform/Errors.h"
#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"

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
    const std::string section = FindLiverySection(cfgFile, LiveryKey, aircraft.Texture);
    if (section.empty())
        throw EWingharbour("fltsim.* section for livery '" + aircraft.Texture + "' not found in '" +
                           NativePath(cfgFile) + "'.");
    TIniFile(cfgFile).EraseSection(section);
    RenumberSections(cfgFile, LiverySectionPrefix);
}

bool DeinstallTickedAircraft(TWHAircraftRows& rows, TWHActivity& activity, const TWHDeinstallPlaces& places,
                             const std::function<bool()>& stopRequested) {
    return WalkTickedRows(
        rows, activity, [](const TWHAircraft& aircraft) { return aircraft.Installed; },
        [&places](TWHAircraft& aircraft) { DeinstallAircraft(aircraft, places); }, stopRequested);
}

} // namespace wh
