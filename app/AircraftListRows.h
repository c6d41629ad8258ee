#pragma once

#include <functional>
#include <vector>

#include "catalogue/AircraftRows.h"

class QTreeWidget;

namespace wh {

class TWHAircraftRow;

// lvAircraft's rows as the core walks them. Every top-level item of the list
// is a TWHAircraftRow.
class TAircraftListRows final : public TWHAircraftRows {
public:
    using TRefresh = std::function<void(TWHAircraftRow&)>;
    TAircraftListRows(QTreeWidget& list, TRefresh refresh) : FList(list), FRefresh(std::move(refresh)) {}

    int RowCount() const override;
    TWHAircraft& RowAircraft(int index) const override;
    bool RowChecked(int index) const override;
    void SetRowChecked(int index, bool checked) override;
    void RefreshRow(int index) override;
    bool RowShown(int index) const override;
    void BeginRowChanges() override;
    void EndRowChanges() override;
    bool ChangesBracketed() const { return FChangeDepth > 0; }

    TWHAircraftRow& Row(int index) const;
    // Shows the rows in this order: element k is the current index of the row
    // to show at k.
    void Arrange(const std::vector<int>& order);

private:
    QTreeWidget& FList;
    TRefresh FRefresh;
    int FChangeDepth = 0;
    bool FModelWasBlocked = false;
};

} // namespace wh
