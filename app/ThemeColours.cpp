#include "app/ThemeColours.h"

namespace wh {

namespace {

// Of 255 parts, how much of the text's colour a grid line takes.
constexpr int GridTextShare = 0xff - 0xd4;

int Blend(int base, int text) { return (base * (0xff - GridTextShare) + text * GridTextShare + 127) / 0xff; }

} // namespace

bool IsDark(const QColor& background) { return background.lightness() < 128; }

QColor GridLineColour(const QColor& base, const QColor& text) {
    return QColor(Blend(base.red(), text.red()), Blend(base.green(), text.green()), Blend(base.blue(), text.blue()));
}

// The lighter tones keep a contrast of 4.5 to 1 on Fusion's dark grey.
QColor ActionTextColour(const QColor& button) { return IsDark(button) ? QColor(0xff, 0x70, 0x70) : QColor(Qt::red); }

QColor LinkColour(const QColor& window) { return IsDark(window) ? QColor(0x7f, 0xb5, 0xff) : QColor(Qt::blue); }

QColor IndicatorColour(const QColor& window) { return IsDark(window) ? QColor(0x5c, 0x9c, 0xff) : QColor(Qt::blue); }

QPalette DarkPalette() {
    const QColor grey(0x35, 0x35, 0x35), dim(0x80, 0x80, 0x80);
    QPalette palette(grey, grey);
    palette.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    palette.setColor(QPalette::AlternateBase, grey);
    palette.setColor(QPalette::ToolTipBase, grey);
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, LinkColour(grey));
    palette.setColor(QPalette::PlaceholderText, dim);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dim);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x50));
    return palette;
}

} // namespace wh
