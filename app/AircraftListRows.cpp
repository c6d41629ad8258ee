#include "app/AircraftListRows.h"

#include <QTreeWidget>

#include "app/AircraftRow.h"

namespace wh {

int TAircraftListRows::RowCount() const { return FList.topLevelItemCount(); }

TWHAircraftRow& TAircraftListRows::Row(int index) const {
    return *static_cast<TWHAircraftRow*>(FList.topLevelItem(index));
}

TWHAircraft& TAircraftListRows::RowAircraft(int index) const { return Row(index).Aircraft(); }

bool TAircraftListRows::RowChecked(int index) const { return Row(index).checkState(0) == Qt::Checked; }

void TAircraftListRows::SetRowChecked(int index, bool checked) {
    Row(index).setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void TAircraftListRows::RefreshRow(int index) { FRefresh(Row(index)); }

bool TAircraftListRows::RowShown(int index) const { return !Row(index).FilteredOut(); }

// A notification per tick costs the view more than the walk itself: inside
// a bracket the model stays silent, and its end repaints the list once. Only
// check boxes change inside, so nothing else needs to hear of it.
void TAircraftListRows::BeginRowChanges() {
    if (FChangeDepth++ == 0)
        FModelWasBlocked = FList.model()->blockSignals(true);
}

void TAircraftListRows::EndRowChanges() {
    if (FChangeDepth == 0 || --FChangeDepth > 0)
        return;
    FList.model()->blockSignals(FModelWasBlocked);
    FList.viewport()->update();
}

void TAircraftListRows::Arrange(const std::vector<int>& order) {
    // The list's own sort moves every row in one layout change; taking the
    // rows out and back would tell the view of 10,000 removals.
    for (std::size_t k = 0; k < order.size(); ++k)
        Row(order[k]).SetSortRank(static_cast<int>(k));
    FList.sortItems(0, Qt::AscendingOrder);
}

} // namespace wh
