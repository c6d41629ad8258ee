#include "catalogue/AircraftState.h"

#include <sys/stat.h>

#include <cstdint>
#include <optional>

#include "catalogue/CollectionLayout.h"
#include "files/InstallRecord.h"
#include "platform/Codepage.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The status of an existing entry of that kind; one path resolution each,
// as this runs for every row of the catalogue.
std::optional<struct stat> StatusIf(const std::string& path, mode_t kind) {
    struct stat st;
    if (!OsStatus(path, st) || (st.st_mode & S_IFMT) != kind)
        return std::nullopt;
    return st;
}

} // namespace

void UpdateAircraftState(TWHAircraft& aircraft, const std::string& fsDir, const std::string& workingDir) {
    // The archive copy only counts beside an existing texture folder.
    std::optional<struct stat> archiveCopy;
    if (StatusIf(TextureFolderPath(aircraft, fsDir), S_IFDIR))
        archiveCopy = StatusIf(ArchiveCopyPath(aircraft, workingDir), S_IFREG);
    aircraft.Installed = archiveCopy.has_value();

    aircraft.State = asNone;
    if (AnsiLowerCase(aircraft.CatalogueStatus) != "ok")
        return;
    if (!aircraft.Installed)
        aircraft.State = asNew;
    else if (const TPackedDateTime age = PackedFromTime(archiveCopy->st_mtim.tv_sec);
             age < aircraft.ArchiveTimestamp || IsPendingInstallAge(age))
        aircraft.State = asUpdated;   // an install that did not finish is never current
}

} // namespace wh
