#pragma once

// The desktop id that names the program's desktop entry, icon and AppStream
// component.
inline constexpr char kDesktopId[] = KARV_DESKTOP_ID;

// Gives the application the installed icon, compiled in so that it shows
// from the build tree too, and the desktop id by which Wayland compositors
// match its windows to the desktop entry.
void applyDesktopIdentity();
