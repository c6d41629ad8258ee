#pragma once

#include <QLabel>

namespace wh {

// A label that reads as a link: blue, hand cursor, and it reports the mouse
// entering, leaving and clicking so the window can react.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);
    // Its blue from the desktop's background, again when the desktop's colours change.
    void ApplyColours();

signals:
    void clicked();
    void mouseEntered();
    void mouseLeft();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace wh
