#include "install/LiveryLines.h"

#include "catalogue/CollectionLayout.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

TLiveryLines LiveryLines(const TWHAircraft& aircraft, const TCfgLines& catalogue) {
    TLiveryLines lines{std::string(LiveryKey) + "=" + aircraft.Texture};
    const std::string key = AnsiLowerCase(LiveryKey);
    bool inSection = false;
    for (const auto& line : catalogue) {
        if (IsSectionHeader(line)) {
            if (inSection)
                break;
            inSection = IsHeaderOf(line, aircraft.Section);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos && AnsiLowerCase(Trim(line.substr(0, equals))) == key) {
            if (AnsiLowerCase(line) != AnsiLowerCase(lines.front()))
                lines.push_back(line);
            break;
        }
    }
    return lines;
}

TLiveryLines LiveryLines(const TWHAircraft& aircraft, const std::string& catalogueFile) {
    try {
        return LiveryLines(aircraft, LoadLines(catalogueFile));
    } catch (const EFileError&) {
        // A deinstall works without the catalogue; the rule's own line remains.
        return LiveryLines(aircraft, TCfgLines{});
    }
}

void RaiseLiverySectionNotFound(const TWHAircraft& aircraft, const std::string& cfgFile) {
    throw EWingharbour("fltsim.* section for livery '" + aircraft.Texture + "' not found in '" + NativePath(cfgFile) +
                       "'.");
}

} // namespace wh
