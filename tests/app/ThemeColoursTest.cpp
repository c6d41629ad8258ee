#include <cmath>

#include <gtest/gtest.h>

#include "app/ThemeColours.h"

namespace wh {
namespace {

// WCAG 2's contrast ratio; text needs 4.5.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF()) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

// Light: the colours the pictures were made with. Dark: readable ones.
TEST(ThemeColours, KeepTheLightColoursAndTheContrastOnDark) {
    const QColor grey(0xef, 0xef, 0xef);
    EXPECT_EQ(GridLineColour(Qt::white, Qt::black), QColor(0xd4, 0xd4, 0xd4));
    EXPECT_EQ(ActionTextColour(grey), QColor(Qt::red));
    EXPECT_EQ(LinkColour(grey), QColor(Qt::blue));
    EXPECT_EQ(IndicatorColour(grey), QColor(Qt::blue));

    const QPalette dark = DarkPalette();
    const QColor window = dark.color(QPalette::Window), base = dark.color(QPalette::Base);
    ASSERT_TRUE(IsDark(window));
    EXPECT_GE(Contrast(ActionTextColour(dark.color(QPalette::Button)), dark.color(QPalette::Button)), 4.5);
    EXPECT_GE(Contrast(LinkColour(window), window), 4.5);
    EXPECT_GE(Contrast(IndicatorColour(window), window), 3.0); // a shape, not text
    EXPECT_GE(Contrast(GridLineColour(base, dark.color(QPalette::Text)), base), 1.5);
}

} // namespace
} // namespace wh
