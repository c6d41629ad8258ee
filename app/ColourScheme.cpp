#include "app/ColourScheme.h"

#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStyle>
#include <QStyleFactory>

#include "app/ThemeColours.h"

namespace wh {

namespace {

constexpr int PortalTimeoutMs = 500;

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString ColourSchemeKey = QStringLiteral("color-scheme");

// The session bus, when one is named: without an address the bus library
// may start a bus of its own for the X display.
std::optional<QDBusConnection> SessionBus() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address == nullptr || *address == '\0')
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    return bus;
}

// 1 is "prefer dark", 2 "prefer light", 0 no preference. The value comes
// wrapped in a variant, by some portals in two.
bool MeansDark(QVariant value) {
    while (value.canConvert<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value.toUInt() == 1;
}

bool GtkThemeNamed() {
    const char* theme = std::getenv("GTK_THEME");
    return theme != nullptr && *theme != '\0';
}

// What the desktop gave before the program made its colours dark; empty
// while it has not.
QString& LightStyleName() {
    static QString name;
    return name;
}

class TSchemeWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
        DesktopSettingChanged(group, key, QVariant::fromValue(value));
    }
};

// The application hears of new colours first, and hears of nothing else here.
class TPaletteWatch : public QObject {
public:
    TPaletteWatch(QObject& owner, std::function<void()> react) : QObject(&owner), FReact(std::move(react)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
            FReact();
        return false;
    }

private:
    std::function<void()> FReact;
};

bool PortalPrefersDark() {
    const auto bus = SessionBus();
    if (!bus)
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(PortalService, PortalPath, PortalSettings, QStringLiteral("Read"));
    call << AppearanceGroup << ColourSchemeKey;
    const QDBusMessage reply = bus->call(call, QDBus::Block, PortalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return MeansDark(reply.arguments().constFirst());
}

} // namespace

bool DesktopPrefersDark() {
    if (GtkThemeNamed())
        return std::string_view(std::getenv("GTK_THEME")).ends_with(":dark");
    return PortalPrefersDark();
}

void FollowDesktopColourScheme() {
    // Dark already: no need to ask the bus.
    if (!IsDark(QApplication::palette().color(QPalette::Window)) && DesktopPrefersDark())
        ApplyDesktopColourScheme(true);
}

void ApplyDesktopColourScheme(bool dark) {
    QString& lightStyle = LightStyleName();
    if (dark) {
        if (!lightStyle.isEmpty() || IsDark(QApplication::palette().color(QPalette::Window)))
            return;
        lightStyle = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    } else if (!lightStyle.isEmpty()) {
        QApplication::setStyle(QStyleFactory::create(lightStyle));
        // A palette that sets no colour of its own is the style's and the desktop's.
        QApplication::setPalette(QPalette());
        lightStyle.clear();
    }
}

void WatchDesktopColourScheme(QObject& owner) {
    const auto bus = SessionBus();
    if (!bus || GtkThemeNamed())
        return;
    auto* watch = new TSchemeWatch(&owner);
    QDBusConnection(*bus).connect(PortalService, PortalPath, PortalSettings, QStringLiteral("SettingChanged"), watch,
                                  SLOT(SettingChanged(QString, QString, QDBusVariant)));
}

void WhenPaletteChanges(QObject& owner, std::function<void()> react) { new TPaletteWatch(owner, std::move(react)); }

void DesktopSettingChanged(const QString& group, const QString& key, const QVariant& value) {
    if (group == AppearanceGroup && key == ColourSchemeKey)
        ApplyDesktopColourScheme(MeansDark(value));
}

} // namespace wh

#include "ColourScheme.moc"
