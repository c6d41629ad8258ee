#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "app/ColourScheme.h"
#include "app/ThemeColours.h"

namespace wh::test {
namespace {

using ColourSchemeWindowTest = TWindowTest;

// The colours the window sets itself, as a change of the portal's scheme
// leaves them: dark ones made from the dark palette, and the light ones back.
TEST_F(ColourSchemeWindowTest, WindowColoursFollowThePortalsScheme) {
    auto window = Start();
    struct TColours {
        QString Grid, Indicator;
        QColor Action, Link;
        bool operator==(const TColours&) const = default;
    };
    const auto colours = [&] {
        return TColours{Child<QTreeView>(*window, "lvAircraft")->styleSheet(),
                        Child<QFrame>(*window, "shProgress")->styleSheet(),
                        Child<QPushButton>(*window, "btnInstall")->palette().color(QPalette::ButtonText),
                        Child<QLabel>(*window, "lblVersion")->palette().color(QPalette::WindowText)};
    };
    const TColours light = colours();
    const auto restore = qScopeGuard([] { ApplyDesktopColourScheme(false); });
    const QString lightStyle = QApplication::style()->name();
    const QPalette dark = DarkPalette();
    const auto change = [](const char* key, unsigned value) {
        DesktopSettingChanged(QStringLiteral("org.freedesktop.appearance"), QString::fromLatin1(key), value);
    };

    change("contrast", 1);
    EXPECT_EQ(colours(), light) << "another setting";
    change("color-scheme", 1);
    const TColours now = colours();
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
    EXPECT_TRUE(now.Grid.contains(GridLineColour(dark.color(QPalette::Base), dark.color(QPalette::Text)).name()));
    EXPECT_TRUE(now.Indicator.contains(IndicatorColour(dark.color(QPalette::Window)).name()));
    EXPECT_EQ(now.Action, ActionTextColour(dark.color(QPalette::Button)));
    EXPECT_EQ(now.Link, LinkColour(dark.color(QPalette::Window)));
    change("color-scheme", 0);
    EXPECT_EQ(QApplication::style()->name(), lightStyle);
    EXPECT_EQ(colours(), light);
}

} // namespace
} // namespace wh::test
