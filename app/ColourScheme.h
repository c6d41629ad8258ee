#pragma once

namespace wh {

// Whether the desktop asks programs for dark colours: GTK_THEME naming its
// ":dark" variant (GTK's own way to force it), else the freedesktop portal's
// colour scheme, which GNOME and KDE Plasma set from their appearance settings.
bool DesktopPrefersDark();

// Before the window is made: Fusion with dark colours when the desktop
// prefers them and the platform theme gave Qt light ones.
void FollowDesktopColourScheme();

} // namespace wh
