#include "app/AircraftListView.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "app/ThemeColours.h"

namespace wh {

namespace {

// Fusion outlines a check box in a darker shade of the window's colour,
// which on a dark palette is the list's own background: the box of an
// unticked row vanishes. There the outline comes from the text's colour.
class TCheckOutlineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (IsDark(option->palette.color(QPalette::Base)))
            option->palette.setColor(QPalette::Window, option->palette.color(QPalette::Text));
    }
};

} // namespace

TAircraftListView::TAircraftListView(QWidget* parent) : QTreeView(parent) {
    setItemDelegate(new TCheckOutlineDelegate(this));
}

// For a range the view works out the rectangle of every row in it, however
// far off the page; with rows of one height the whole page is repainted
// instead. Assistive technology still hears of every row.
void TAircraftListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                    const QList<int>& roles) {
    if (topLeft.row() == bottomRight.row() || !uniformRowHeights()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

// Ctrl+Space, which marks the current row without ticking it, stays the view's.
void TAircraftListView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (FTickKey && event->key() == Qt::Key_Space && modifiers == Qt::NoModifier) {
        FTickKey();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace wh
