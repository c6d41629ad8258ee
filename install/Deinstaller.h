#pragma once

#include <functional>
#include <string>

#include "activity/Activity.h"
#include "catalogue/Aircraft.h"
#include "catalogue/AircraftRows.h"

namespace wh {

// Where a deinstall removes from, read by the window at the click.
struct TWHDeinstallPlaces {
    std::string FSDir;      // the simulator folder, ending with "\"
    std::string WorkingDir; // WorkingDir(), ending with the separator
};

// The confirmation asked before anything is removed.
std::string DeinstallQuestion(int removeCount);

// Removes one livery: its texture folder (links inside removed, never
// followed; what cannot be removed stays), its archive copy, then its
// section in aircraft.cfg (found by any of its LiveryLines, in a "fltsim."
// section only), with the other "fltsim." sections renumbered in the same write.
// A missing section raises EWingharbour after the files are gone; a missing
// or unwritable cfg raises the file error of the line list or profile store.
void DeinstallAircraft(const TWHAircraft& aircraft, const TWHDeinstallPlaces& places);

// btnDeinstallClick after a Yes: every ticked installed row in display order
// (install/RowWalk.h). Returns false when stopRequested ended it early.
bool DeinstallTickedAircraft(TWHAircraftRows& rows, TWHActivity& activity, const TWHDeinstallPlaces& places,
                             const std::function<bool()>& stopRequested = {});

} // namespace wh
