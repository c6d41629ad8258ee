#include "catalogue/AircraftState.h"

#include <sys/stat.h>

#include <cmath>
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

std::string SizeText(std::int32_t archiveSize, const std::string& thousandsSeparator) {
    if (archiveSize < 0)
        return "";
    const auto kilobytes = static_cast<std::int64_t>(std::floor(archiveSize / 1024.0 + 0.5));
    const std::string digits = std::to_string(kilobytes);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += thousandsSeparator;
        text += digits[i];
    }
    return text + "KB";
}

std::array<std::string, 8> AircraftRowTexts(const TWHAircraft& aircraft, const std::string& thousandsSeparator) {
    return {aircraft.Airline,
            aircraft.UIType,
            StateText(aircraft.State),
            aircraft.Installed ? "yes" : "no",
            aircraft.Designer,
            aircraft.Model,
            SizeText(aircraft.ArchiveSize, thousandsSeparator),
            aircraft.Inclusion};
}

} // namespace wh
