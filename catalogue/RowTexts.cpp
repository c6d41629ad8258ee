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

std::string AircraftRowText(const TWHAircraft& aircraft, int column, const std::string& thousandsSeparator) {
    switch (column) {
    case 0:
        return aircraft.Airline;
    case 1:
        return aircraft.UIType;
    case 2:
        return StateText(aircraft.State);
    case 3:
        return aircraft.Installed ? "yes" : "no";
    case 4:
        return aircraft.Designer;
    case 5:
        return aircraft.Model;
    case 6:
        return SizeText(aircraft.ArchiveSize, thousandsSeparator);
    case 7:
        return aircraft.Inclusion;
    default:
        return "";
    }
}

std::array<std::string, 8> AircraftRowTexts(const TWHAircraft& aircraft, const std::string& thousandsSeparator) {
    std::array<std::string, 8> texts;
    for (int column = 0; column < 8; ++column)
        texts[column] = AircraftRowText(aircraft, column, thousandsSeparator);
    return texts;
}

std::string TabSeparatedRows(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const auto& cells : rows) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += '\t';
            for (const char c : cells[i])
                text += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        }
        text += '\n';
    }
    return text;
}

} // namespace wh
