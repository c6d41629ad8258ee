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

void TAircraftListRows::Arrange(const std::vector<int>& order) {
    // Taken from the end, each take is cheap; the rows go back in one call.
    QList<QTreeWidgetItem*> current(FList.topLevelItemCount());
    for (int i = FList.topLevelItemCount() - 1; i >= 0; --i)
        current[i] = FList.takeTopLevelItem(i);
    QList<QTreeWidgetItem*> arranged;
    arranged.reserve(current.size());
    for (int index : order)
        arranged.append(current[index]);
    FList.addTopLevelItems(arranged);
}

} // namespace wh
