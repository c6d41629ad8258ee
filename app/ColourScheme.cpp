#include "app/ColourScheme.h"

#include <cstdlib>
#include <string_view>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStyleFactory>

#include "app/ThemeColours.h"

namespace wh {

namespace {

constexpr int PortalTimeoutMs = 500;

// 1 is "prefer dark", 2 "prefer light", 0 no preference.
bool PortalPrefersDark() {
    // Without an address the bus library may start a bus of its own for the X display.
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address == nullptr || *address == '\0')
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    const QDBusMessage reply = bus.call(call, QDBus::Block, PortalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    // The value comes wrapped in a variant, by some portals in two.
    QVariant value = reply.arguments().constFirst();
    while (value.canConvert<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value.toUInt() == 1;
}

} // namespace

bool DesktopPrefersDark() {
    if (const char* theme = std::getenv("GTK_THEME"); theme != nullptr && *theme != '\0')
        return std::string_view(theme).ends_with(":dark");
    return PortalPrefersDark();
}

void FollowDesktopColourScheme() {
    if (IsDark(QApplication::palette().color(QPalette::Window)) || !DesktopPrefersDark())
        return;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
}

} // namespace wh
