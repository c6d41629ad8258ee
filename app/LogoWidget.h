#pragma once

#include <QIcon>
#include <QWidget>

namespace wh {

// The picture along the window's left edge, drawn rather than loaded: a wing
// over a harbour in shades of blue, with the project's name.
class TLogoWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 164;

    explicit TLogoWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The logo in a square of side pixels on device: the window's width of it,
// which keeps the wing, the harbour and the name.
void DrawLogoSquare(QPaintDevice& device, int side);

// The window's icon: the logo in a square, drawn anew for each size a
// desktop asks for, so that it stays sharp on a screen of any density.
QIcon LogoIcon();

} // namespace wh
