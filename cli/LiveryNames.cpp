#include "cli/LiveryNames.h"

#include <algorithm>

#include "catalogue/AircraftRows.h"
#include "cli/StatusLines.h"
#include "platform/Codepage.h"

namespace wh {

std::vector<int> RowsNamed(const TWHAircraftRows& rows, const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    std::vector<int> named;
    for (int i = 0; i < rows.RowCount(); ++i) {
        const TWHAircraft& aircraft = rows.RowAircraft(i);
        const bool matches = separator == std::string::npos
                                 ? AnsiSameText(name, aircraft.Texture) || AnsiSameText(name, aircraft.Airline)
                                 : AnsiSameText(name.substr(0, separator), aircraft.Directory) &&
                                       AnsiSameText(name.substr(separator + 1), aircraft.Texture);
        if (matches)
            named.push_back(i);
    }
    return named;
}

std::string UniqueLiveryName(const TWHAircraftRows& rows, int index) {
    const TWHAircraft& aircraft = rows.RowAircraft(index);
    return aircraft.Directory + "/" + aircraft.Texture;
}

std::optional<std::vector<int>> ChosenRows(const TWHAircraftRows& rows, const std::vector<std::string>& names,
                                           TStatusLines& lines) {
    std::vector<int> chosen;
    bool understood = true;
    for (const std::string& given : names) {
        const std::string name = Utf8ToAnsi(given);
        const std::vector<int> named = RowsNamed(rows, name);
        if (named.size() == 1) {
            chosen.push_back(named.front());
            continue;
        }
        understood = false;
        if (named.empty()) {
            lines.Line("wingharbour: no livery is named '" + name + "'");
            continue;
        }
        lines.Line("wingharbour: '" + name + "' names " + std::to_string(named.size()) +
                   " liveries; name one of them as directory/texture:");
        for (int index : named) {
            const TWHAircraft& aircraft = rows.RowAircraft(index);
            lines.Line("  " + UniqueLiveryName(rows, index) + "  " + aircraft.Airline + " (" + aircraft.UIType + ")");
        }
    }
    if (!understood)
        return std::nullopt;
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return chosen;
}

} // namespace wh
