#pragma once

#include <string>
#include <vector>

namespace wh {

class TWHAircraftRows;

// The summary's numbers: all rows, and of the ticked rows those selected, new,
// updated and installed (FSelectedCount, FInstallCount, FUpdateCount,
// FRemoveCount). A ticked updated row is installed, so it counts twice.
// Hidden rows count as every other row; Hidden says how many ticked ones the
// filter hides.
struct TWHSelectionCounts {
    int Rows = 0;
    int Selected = 0;
    int Install = 0;
    int Update = 0;
    int Remove = 0;
    int Hidden = 0;
    bool operator==(const TWHSelectionCounts&) const = default;
};

TWHSelectionCounts CountSelection(const TWHAircraftRows& rows);

// What the Selection page shows for the counts: the five-line summary (a
// sixth line while the filter hides ticked rows) and the two action buttons'
// captions and enabled states.
struct TWHSelectionStatus {
    std::string Summary;
    std::string InstallCaption;
    bool InstallEnabled = false;
    std::string DeinstallCaption;
    bool DeinstallEnabled = false;
    bool operator==(const TWHSelectionStatus&) const = default;
};

TWHSelectionStatus SelectionStatus(const TWHSelectionCounts& counts);

// The six selection buttons.
enum class TWHSelectionButton { SelectAll, SelectNew, SelectUpdated, SelectInstalled, Invert, DeselectAll };

// Sets the ticks the button names, first row to last, inside one change
// bracket: the caller recounts once afterwards. "select new", "select
// updated" and "select installed" only add ticks. Rows the filter hides keep
// their ticks.
void ApplySelectionButton(TWHAircraftRows& rows, TWHSelectionButton button);

// What Space and the list's menu do to the rows the user marked. Toggle ticks
// them all unless every one is ticked already, so that a mixed selection
// comes out alike rather than inverted.
enum class TWHTickChange { Tick, Untick, Toggle };

// Sets the ticks of the rows at these indexes inside one change bracket: the
// caller recounts once afterwards.
void ChangeTicks(TWHAircraftRows& rows, const std::vector<int>& indexes, TWHTickChange change);

} // namespace wh
