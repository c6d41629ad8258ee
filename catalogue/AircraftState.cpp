#include "catalogue/AircraftState.h"

#include <cmath>
#include <cstdint>

#include "files/WHUtils.h"
#include "platform/Codepage.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"

namespace wh {

std::string TextureFolderPath(const TWHAircraft& aircraft, const std::string& fsDir) {
    return AppendSeparator(fsDir, '\\') + "aircraft\\" + aircraft.Directory + "\\texture." + aircraft.Texture;
}

std::string ArchiveCopyPath(const TWHAircraft& aircraft, const std::string& workingDir) {
    return workingDir + aircraft.Directory + "\\" + aircraft.Texture + ".zip";
}

void UpdateAircraftState(TWHAircraft& aircraft, const std::string& fsDir, const std::string& workingDir) {
    const std::string archiveCopy = ArchiveCopyPath(aircraft, workingDir);
    // The archive copy only counts beside an existing texture folder.
    aircraft.Installed = DirectoryExists(TextureFolderPath(aircraft, fsDir)) && FileExists(archiveCopy);

    aircraft.State = asNone;
    if (AnsiLowerCase(aircraft.CatalogueStatus) != "ok")
        return;
    if (!aircraft.Installed)
        aircraft.State = asNew;
    else if (FileAge(archiveCopy) < aircraft.ArchiveTimestamp)
        aircraft.State = asUpdated;
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
