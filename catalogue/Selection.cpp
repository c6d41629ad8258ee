#include "catalogue/Selection.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/AircraftRows.h"

namespace wh {

namespace {

std::string Format(const char* format, auto... numbers) {
    char text[160];
    std::snprintf(text, sizeof text, format, numbers...);
    return text;
}

// "select new", "select updated" and "select installed": the rows they tick.
bool Adds(TWHSelectionButton button, const TWHAircraft& aircraft) {
    switch (button) {
    case TWHSelectionButton::SelectNew:
        return aircraft.State == asNew;
    case TWHSelectionButton::SelectUpdated:
        return aircraft.State == asUpdated;
    case TWHSelectionButton::SelectInstalled:
        return aircraft.Installed;
    default:
        return false;
    }
}

} // namespace

TWHSelectionCounts CountSelection(const TWHAircraftRows& rows) {
    TWHSelectionCounts counts;
    counts.Rows = rows.RowCount();
    for (int i = 0; i < counts.Rows; ++i) {
        if (!rows.RowChecked(i))
            continue;
        const TWHAircraft& aircraft = rows.RowAircraft(i);
        ++counts.Selected;
        counts.Install += aircraft.State == asNew;
        counts.Update += aircraft.State == asUpdated;
        counts.Remove += aircraft.Installed;
        counts.Hidden += !rows.RowShown(i);
    }
    return counts;
}

TWHSelectionStatus SelectionStatus(const TWHSelectionCounts& counts) {
    const int fetch = counts.Install + counts.Update;
    std::string summary = Format(" %d aircraft\r\n %d selected\r\n %d to install\r\n %d to update\r\n %d to remove",
                                 counts.Rows, counts.Selected, counts.Install, counts.Update, counts.Remove);
    if (counts.Hidden > 0)
        summary += Format("\r\n %d hidden by the filter", counts.Hidden);
    return {std::move(summary), Format("Fetch %d", fetch), fetch > 0, Format("Remove %d", counts.Remove),
            counts.Remove > 0};
}

void ApplySelectionButton(TWHAircraftRows& rows, TWHSelectionButton button) {
    const TWHRowChanges changes(rows);
    for (int i = 0; i < rows.RowCount(); ++i) {
        if (!rows.RowShown(i))
            continue;
        const bool ticked = rows.RowChecked(i);
        bool wanted = ticked;
        if (button == TWHSelectionButton::SelectAll)
            wanted = true;
        else if (button == TWHSelectionButton::DeselectAll)
            wanted = false;
        else if (button == TWHSelectionButton::Invert)
            wanted = !ticked;
        else if (!ticked) // the adding buttons read the record only where they might tick
            wanted = Adds(button, rows.RowAircraft(i));
        // An unchanged tick raises no change notification anyway.
        if (wanted != ticked)
            rows.SetRowChecked(i, wanted);
    }
}

void ChangeTicks(TWHAircraftRows& rows, const std::vector<int>& indexes, TWHTickChange change) {
    bool wanted = change == TWHTickChange::Tick;
    if (change == TWHTickChange::Toggle)
        wanted = std::any_of(indexes.begin(), indexes.end(), [&](int i) { return !rows.RowChecked(i); });
    const TWHRowChanges changes(rows);
    for (const int i : indexes)
        if (rows.RowChecked(i) != wanted)
            rows.SetRowChecked(i, wanted);
}

} // namespace wh
