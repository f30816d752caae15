#pragma once

// The window's taskbar button. With a system tray the program needs none
// (the tray icon is the way back): on X11 the window then carries the
// window-manager states _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER.
// The window type stays "normal", so the window manager still frames,
// focuses and places it as any other window. Without a tray the button
// stays, so the window can always be reached. Elsewhere (Wayland,
// offscreen) nothing is done.

#include <QColor>

class QWidget;

namespace vx {

// Asks the window manager to add (or remove) the two skip states of the
// shown top-level window `w`.
void SetSkipTaskbar(QWidget* w, bool skip);

// Whether the X11 window manager keeps windows above the others: it lists
// _NET_WM_STATE_ABOVE among what it supports (_NET_SUPPORTED). Some do not
// (the XWayland of some compositors), and there Always Visible would
// silently do nothing. True off X11.
bool WindowManagerKeepsAbove();

// The foreground colour the X11 system tray asks its icons to draw in
// (_NET_SYSTEM_TRAY_COLORS of the tray's manager, as GTK's and Xfce's trays
// set it); invalid where no tray says one.
QColor TrayForegroundColor();

}  // namespace vx
