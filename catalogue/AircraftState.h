#pragma once

#include <string>

#include "catalogue/Aircraft.h"

namespace wh {

class TPathSnapshot;

// Works out Installed and State from the simulator and working directories,
// asking the snapshot when given (a load's rows), else the disk itself.
void UpdateAircraftState(TWHAircraft& aircraft, const std::string& fsDir, const std::string& workingDir,
                         TPathSnapshot* snapshot = nullptr);

} // namespace wh
