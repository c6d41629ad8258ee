#pragma once

#include <functional>

#include <QTreeView>

namespace wh {

// lvAircraft: a tree view whose repaint after a change of many rows at once
// (a selection button's ticks) costs the same for 10 rows as for 10,000.
// Space goes to the tick handler, which ticks every selected row, rather than
// to the current row's check box alone.
class TAircraftListView final : public QTreeView {
public:
    explicit TAircraftListView(QWidget* parent = nullptr);

    void SetTickKeyHandler(std::function<void()> handler) { FTickKey = std::move(handler); }

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> FTickKey;
};

} // namespace wh
