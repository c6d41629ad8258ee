#pragma once

#include <string>

#include "catalogue/Aircraft.h"

namespace wh {

// Works out Installed and State from the simulator and working directories.
void UpdateAircraftState(TWHAircraft& aircraft, const std::string& fsDir, const std::string& workingDir);

} // namespace wh
