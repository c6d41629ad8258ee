#pragma once

#include "catalogue/Aircraft.h"

namespace wh {

// The rows of the aircraft list in their display order, as the selection, the
// installer and the deinstaller walk them. The window implements it; the core
// never sees a widget.
class TWHAircraftRows {
public:
    virtual int RowCount() const = 0;
    // The record shown by the row at index, 0 <= index < RowCount().
    virtual TWHAircraft& RowAircraft(int index) const = 0;
    // The row's check box.
    virtual bool RowChecked(int index) const = 0;
    // Sets the check box; a change reaches the list's change handler as a
    // tick by hand does.
    virtual void SetRowChecked(int index, bool checked) = 0;
    // False while the list's filter hides the row.
    virtual bool RowShown(int) const { return true; }
    // RefreshAircraftRow: the record's state worked out anew from the disk and
    // the row's texts set from it.
    virtual void RefreshRow(int index) = 0;

    // A walk that sets many ticks brackets them: inside, the list's change
    // handler does not recount for each row, and the walker recounts once
    // when it is done. Brackets nest. A tick outside a bracket recounts at once.
    virtual void BeginRowChanges() {}
    virtual void EndRowChanges() {}

protected:
    ~TWHAircraftRows() = default;
};

// Holds a change bracket open for its life, on every path out.
class TWHRowChanges {
public:
    explicit TWHRowChanges(TWHAircraftRows& rows) : FRows(rows) { FRows.BeginRowChanges(); }
    ~TWHRowChanges() { FRows.EndRowChanges(); }
    TWHRowChanges(const TWHRowChanges&) = delete;
    TWHRowChanges& operator=(const TWHRowChanges&) = delete;

private:
    TWHAircraftRows& FRows;
};

} // namespace wh
