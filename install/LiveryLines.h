#pragma once

#include "catalogue/Aircraft.h"
#include "install/CfgSections.h"

namespace wh {

// The lines by which aircraft.cfg names the livery: "texture=<name>", and the
// texture line of its catalogue section as the installer copies it, when the
// catalogue writes it otherwise ("texture = abc"). Without the second, such a
// livery would gain a section at every update and could not be removed.
TLiveryLines LiveryLines(const TWHAircraft& aircraft, const TCfgLines& catalogue);

// The same from the catalogue file, when it can be read; else the first line only.
TLiveryLines LiveryLines(const TWHAircraft& aircraft, const std::string& catalogueFile);

// EWingharbour "fltsim.* section for livery '<texture>' not found in '<cfg>'.".
[[noreturn]] void RaiseLiverySectionNotFound(const TWHAircraft& aircraft, const std::string& cfgFile);

} // namespace wh
