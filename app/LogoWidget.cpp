#include "app/LogoWidget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace wh {

TLogoWidget::TLogoWidget(QWidget* parent) : QWidget(parent) { setFixedWidth(Width); }

namespace {

// The logo on w x h of the painter's coordinates.
void PaintLogo(QPainter& p, qreal w, qreal h);

} // namespace

void DrawLogoSquare(QPaintDevice& device, int side) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(side) / TLogoWidget::Width, qreal(side) / TLogoWidget::Width);
    PaintLogo(painter, TLogoWidget::Width, TLogoWidget::Width);
}

QIcon LogoIcon() {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        DrawLogoSquare(pixmap, side);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void TLogoWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    PaintLogo(p, width(), height());
}

namespace {

void PaintLogo(QPainter& p, qreal w, qreal h) {
    const qreal horizon = h * 0.62;

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(0x0b, 0x2a, 0x5c));
    sky.setColorAt(1, QColor(0x6f, 0xa8, 0xdc));
    p.fillRect(QRectF(0, 0, w, horizon), sky);

    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0, QColor(0x1d, 0x5a, 0x9e));
    sea.setColorAt(1, QColor(0x08, 0x1f, 0x45));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);

    // The harbour: a breakwater with a small light at its head.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x2b, 0x4f));
    p.drawRect(QRectF(0, horizon - 6, w * 0.55, 8));
    p.setBrush(QColor(0xd8, 0xe8, 0xf8));
    p.drawRect(QRectF(w * 0.50, horizon - 22, 6, 16));

    // Waves.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x9c, 0xc7, 0xf0, 160), 1.5));
    for (int row = 0; row < 4; ++row) {
        QPainterPath wave;
        const qreal y = horizon + 18 + row * (h - horizon) / 5;
        wave.moveTo(0, y);
        for (qreal x = 0; x < w; x += 20)
            wave.quadTo(x + 5, y - 4, x + 10, y), wave.quadTo(x + 15, y + 4, x + 20, y);
        p.drawPath(wave);
    }

    // The wing: a swept aerofoil crossing the sky.
    QPainterPath wing;
    wing.moveTo(w * 0.06, h * 0.36);
    wing.cubicTo(w * 0.35, h * 0.22, w * 0.70, h * 0.16, w * 0.96, h * 0.14);
    wing.lineTo(w * 0.90, h * 0.19);
    wing.cubicTo(w * 0.62, h * 0.24, w * 0.34, h * 0.32, w * 0.06, h * 0.36);
    QLinearGradient metal(0, h * 0.14, 0, h * 0.36);
    metal.setColorAt(0, QColor(0xf2, 0xf7, 0xff));
    metal.setColorAt(1, QColor(0x8d, 0xb4, 0xe2));
    p.setPen(QPen(QColor(0x0b, 0x2a, 0x5c), 1));
    p.setBrush(metal);
    p.drawPath(wing);

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(0xe6, 0xf0, 0xff));
    p.drawText(QRectF(0, h * 0.42, w, 30), Qt::AlignCenter, QStringLiteral("Wingharbour"));
}

} // namespace

} // namespace wh
