#include "catalogue/RowTexts.h"

#include <cmath>

namespace wh {

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
