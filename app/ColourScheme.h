#pragma once

#include <functional>

class QObject;
class QString;
class QVariant;

namespace wh {

// Whether the desktop asks programs for dark colours: GTK_THEME naming its
// ":dark" variant (GTK's own way to force it), else the freedesktop portal's
// colour scheme, which GNOME and KDE Plasma set from their appearance settings.
bool DesktopPrefersDark();

// Before the window is made: Fusion with dark colours when the desktop
// prefers them and the platform theme gave Qt light ones.
void FollowDesktopColourScheme();

// Dark: as above, unless the colours are dark already. Light: back to the
// style and colours the desktop gave, when the program had made them dark.
// Every widget hears of it (QEvent::ApplicationPaletteChange).
void ApplyDesktopColourScheme(bool dark);

// From now on, while owner lives, a change of the portal's colour scheme is
// followed, unless GTK_THEME names a theme: that one holds.
void WatchDesktopColourScheme(QObject& owner);
// Calls react, while owner lives, whenever the application's colours change:
// by the desktop's platform theme or by the scheme above.
void WhenPaletteChanges(QObject& owner, std::function<void()> react);
// What the watch does with one of the portal's SettingChanged signals.
void DesktopSettingChanged(const QString& group, const QString& key, const QVariant& value);

} // namespace wh
