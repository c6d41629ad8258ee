#pragma once

#include <functional>

namespace wh {

class TWHActivity;
class TWHAircraft;
class TWHAircraftRows;

// The walk of an action button over the list: rows by index in display
// order; each ticked row whose record `wanted` accepts is handled, then
// unticked (which recounts the selection) and refreshed from the disk. Other
// ticked rows are skipped and stay ticked. After the last row the indicator
// is hidden and the status line cleared.
//
// An error of `handle` leaves the walk at that row: the row stays ticked and
// is not refreshed, later rows are not visited, the closing steps do not run.
// stopRequested is asked before each row that would be handled; when it says
// so the walk ends there (the window is closing), without the closing steps.
// Returns false when it stopped that way.
//
// The activity's operation progress hears of the walk (the number of rows it
// will handle, each row as it begins) and of its end on every path.
//
// The installer and the deinstaller share it; each passes its own test and
// its own handling of one record.
bool WalkTickedRows(TWHAircraftRows& rows, TWHActivity& activity, const std::function<bool(const TWHAircraft&)>& wanted,
                    const std::function<void(TWHAircraft&)>& handle, const std::function<bool()>& stopRequested);

} // namespace wh
