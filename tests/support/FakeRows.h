#pragma once

#include <string>
#include <vector>

#include "catalogue/AircraftRows.h"
#include "catalogue/AircraftState.h"

namespace wh::test {

// The list without widgets: records, ticks and the filter as plain vectors,
// and what a walk did to them. A refresh works the state out from FSDir and
// WorkDir.
class TFakeRows : public TWHAircraftRows {
public:
    std::vector<TWHAircraft> Records;
    std::vector<bool> Checked;
    std::vector<bool> Shown; // empty: no filter
    std::vector<int> Unticked;
    std::vector<int> Refreshed;
    std::string FSDir, WorkDir;
    int Depth = 0;            // open change brackets
    int UnbracketedTicks = 0; // ticks set outside a bracket

    int RowCount() const override { return static_cast<int>(Records.size()); }
    TWHAircraft& RowAircraft(int index) const override { return const_cast<TWHAircraft&>(Records.at(index)); }
    bool RowChecked(int index) const override { return Checked.at(index); }
    bool RowShown(int index) const override { return Shown.empty() || Shown.at(index); }
    void SetRowChecked(int index, bool checked) override {
        Checked.at(index) = checked;
        UnbracketedTicks += Depth == 0;
        if (!checked)
            Unticked.push_back(index);
    }
    void RefreshRow(int index) override {
        UpdateAircraftState(Records.at(index), FSDir, WorkDir);
        Refreshed.push_back(index);
    }
    void BeginRowChanges() override { ++Depth; }
    void EndRowChanges() override { --Depth; }
};

} // namespace wh::test
