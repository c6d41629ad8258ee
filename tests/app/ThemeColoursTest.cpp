#include <cmath>

#include <gtest/gtest.h>

#include "app/ThemeColours.h"

namespace wh {
namespace {

// The contrast ratio of two colours by WCAG 2; 4.5 is the least for text.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// On a light palette the colours are the ones the pictures were made with;
// on the dark one every text colour keeps its contrast.
TEST(ThemeColours, KeepTheLightColoursAndTheContrastOnDark) {
    const QColor white(Qt::white), grey(0xef, 0xef, 0xef);
    EXPECT_EQ(GridLineColour(white, Qt::black), QColor(0xd4, 0xd4, 0xd4));
    EXPECT_EQ(ActionTextColour(grey), QColor(Qt::red));
    EXPECT_EQ(LinkColour(grey), QColor(Qt::blue));
    EXPECT_EQ(IndicatorColour(grey), QColor(Qt::blue));

    const QPalette dark = DarkPalette();
    const QColor window = dark.color(QPalette::Window), button = dark.color(QPalette::Button);
    ASSERT_TRUE(IsDark(window));
    EXPECT_GE(Contrast(ActionTextColour(button), button), 4.5);
    EXPECT_GE(Contrast(LinkColour(window), window), 4.5);
    EXPECT_GE(Contrast(IndicatorColour(window), window), 3.0); // a shape, not text
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::HighlightedText})
        EXPECT_GE(Contrast(dark.color(role), dark.color(role == QPalette::Text              ? QPalette::Base
                                                        : role == QPalette::HighlightedText ? QPalette::Highlight
                                                                                            : QPalette::Window)),
                  3.0)
            << role;
    const QColor base = dark.color(QPalette::Base);
    EXPECT_GE(Contrast(GridLineColour(base, dark.color(QPalette::Text)), base), 1.5);
}

} // namespace
} // namespace wh
