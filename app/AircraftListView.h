#pragma once

#include <QTreeView>

namespace wh {

// lvAircraft: a tree view whose repaint after a change of many rows at once
// (a selection button's ticks) costs the same for 10 rows as for 10,000.
class TAircraftListView final : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
};

} // namespace wh
