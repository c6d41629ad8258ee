#include "catalogue/AircraftState.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "catalogue/CollectionLayout.h"
#include "files/InstallRecord.h"
#include "platform/Codepage.h"
#include "platform/FileStatus.h"
#include "platform/FileTimes.h"
#include "platform/PathSnapshot.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The status of an existing entry of that kind; one path resolution each,
// as this runs for every row of the catalogue.
std::optional<TFileStatus> StatusIf(const std::string& path, TFileStatus::TKind kind, TPathSnapshot* snapshot) {
    TFileStatus st;
    if (!(snapshot ? snapshot->Status(path, st) : OsStatus(path, st)) || st.Kind != kind)
        return std::nullopt;
    return st;
}

bool IsFolder(const std::string& path, TPathSnapshot* snapshot) {
    if (snapshot)
        return snapshot->Kind(path) == TFileStatus::TKind::Folder;
    return StatusIf(path, TFileStatus::TKind::Folder, nullptr).has_value();
}

} // namespace

void UpdateAircraftState(TWHAircraft& aircraft, const std::string& fsDir, const std::string& workingDir,
                         TPathSnapshot* snapshot) {
    // The archive copy only counts beside an existing texture folder.
    std::optional<TFileStatus> archiveCopy;
    if (IsFolder(TextureFolderPath(aircraft, fsDir), snapshot))
        archiveCopy = StatusIf(ArchiveCopyPath(aircraft, workingDir), TFileStatus::TKind::Regular, snapshot);
    aircraft.Installed = archiveCopy.has_value();

    aircraft.State = asNone;
    if (AnsiLowerCase(aircraft.CatalogueStatus) != "ok")
        return;
    if (!aircraft.Installed)
        aircraft.State = asNew;
    else if (const TPackedDateTime age = PackedFromTime(archiveCopy->Modified.tv_sec);
             age < aircraft.ArchiveTimestamp || IsPendingInstallAge(age))
        aircraft.State = asUpdated; // an install that did not finish is never current
}

} // namespace wh
