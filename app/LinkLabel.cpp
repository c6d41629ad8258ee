#include "app/LinkLabel.h"

#include <QApplication>
#include <QMouseEvent>

#include "app/ThemeColours.h"

namespace wh {

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    ApplyColours();
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::ApplyColours() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, LinkColour(QApplication::palette(this).color(QPalette::Window)));
    setPalette(colours);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit mouseEntered();
}

void TLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit mouseLeft();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace wh
