#pragma once

#include <QColor>
#include <QPalette>

namespace wh {

// The few colours the window sets itself, made from the palette's, so that
// texts stay readable under a dark colour scheme as under a light one. On a
// light palette they are the colours of old: pure red, pure blue, and grid
// lines of #d4d4d4 on white.
bool IsDark(const QColor& background);
// Between the list's background and its text, nearer the background.
QColor GridLineColour(const QColor& base, const QColor& text);
// The action buttons' red, the links' and the indicator's blue on that background.
QColor ActionTextColour(const QColor& button);
QColor LinkColour(const QColor& window);
QColor IndicatorColour(const QColor& window);

// Fusion's colours for a dark desktop whose platform theme gives Qt none.
QPalette DarkPalette();

} // namespace wh
