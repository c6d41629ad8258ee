#include "install/RowWalk.h"

#include "catalogue/AircraftRows.h"
#include "files/Activity.h"

namespace wh {

bool WalkTickedRows(TWHAircraftRows& rows, TWHActivity& activity,
                    const std::function<bool(const TWHAircraft&)>& wanted,
                    const std::function<void(TWHAircraft&)>& handle,
                    const std::function<bool()>& stopRequested) {
    for (int i = 0; i < rows.RowCount(); ++i) {
        if (!rows.RowChecked(i) || !wanted(rows.RowAircraft(i)))
            continue;
        if (stopRequested && stopRequested())
            return false;
        handle(rows.RowAircraft(i));
        rows.SetRowChecked(i, false);
        rows.RefreshRow(i);
    }
    activity.HideProgress();
    activity.ClearStatus();
    return true;
}

} // namespace wh
