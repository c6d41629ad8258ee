#pragma once

#include <functional>

#include "catalogue/AircraftRows.h"

namespace wh {

class TAircraftListModel;

// lvAircraft's rows as the core walks them: every row of the model in display
// order, the ones the filter hides included.
class TAircraftListRows final : public TWHAircraftRows {
public:
    using TRefresh = std::function<void(int index)>;
    TAircraftListRows(TAircraftListModel& model, TRefresh refresh) : FModel(model), FRefresh(std::move(refresh)) {}

    int RowCount() const override;
    TWHAircraft& RowAircraft(int index) const override;
    bool RowChecked(int index) const override;
    void SetRowChecked(int index, bool checked) override;
    void RefreshRow(int index) override;
    bool RowShown(int index) const override;
    void BeginRowChanges() override;
    void EndRowChanges() override;
    bool ChangesBracketed() const;

private:
    TAircraftListModel& FModel;
    TRefresh FRefresh;
};

} // namespace wh
