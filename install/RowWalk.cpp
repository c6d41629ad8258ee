#include "install/RowWalk.h"

#include "activity/Activity.h"
#include "catalogue/AircraftRows.h"

namespace wh {

namespace {

// Holds the operation's progress open for the walk, on every path out.
class TOperationReport {
public:
    TOperationReport(TWHOperationProgress& progress, int rows) : FProgress(progress) { FProgress.OperationBegun(rows); }
    ~TOperationReport() { FProgress.OperationEnded(); }
    TOperationReport(const TOperationReport&) = delete;
    TOperationReport& operator=(const TOperationReport&) = delete;

private:
    TWHOperationProgress& FProgress;
};

} // namespace

bool WalkTickedRows(TWHAircraftRows& rows, TWHActivity& activity, const std::function<bool(const TWHAircraft&)>& wanted,
                    const std::function<void(TWHAircraft&)>& handle, const std::function<bool()>& stopRequested) {
    const auto due = [&](int i) { return rows.RowChecked(i) && wanted(rows.RowAircraft(i)); };
    int total = 0;
    for (int i = 0; i < rows.RowCount(); ++i)
        total += due(i);
    TWHOperationProgress& progress = activity.OperationProgress();
    const TOperationReport report(progress, total);
    int number = 0;
    for (int i = 0; i < rows.RowCount(); ++i) {
        if (!due(i))
            continue;
        if (stopRequested && stopRequested())
            return false;
        progress.RowBegun(++number);
        handle(rows.RowAircraft(i));
        rows.SetRowChecked(i, false);
        rows.RefreshRow(i);
    }
    activity.HideProgress();
    activity.ClearStatus();
    return true;
}

} // namespace wh
