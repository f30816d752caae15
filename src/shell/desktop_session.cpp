#include "shell/desktop_session.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <string_view>

#include "persistence/desktop_metrics.h"
#include "shell/taskbar_hint.h"

namespace vx {
namespace {

bool set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

}  // namespace

bool PreferXWayland() {
    if (set("QT_QPA_PLATFORM")) return false;  // the user's choice stands
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = set("WAYLAND_DISPLAY") || (session && std::string_view(session) == "wayland");
    if (!wayland || !set("DISPLAY")) return false;
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}

QString PlacementUnavailableReason() {
    return QCoreApplication::translate("vx::DesktopSession", "On Wayland a program cannot keep its window above the others. Start Vantrix with XWayland "
                          "(QT_QPA_PLATFORM=xcb) for this.");
}

QString StayOnTopUnavailableReason() {
    if (!WindowsArePlaced()) return PlacementUnavailableReason();
    if (!WindowManagerKeepsAbove())
        return QCoreApplication::translate("vx::DesktopSession", "The window manager cannot keep a window above the others (it does not offer "
                              "_NET_WM_STATE_ABOVE).");
    return {};
}

bool PlatformCanUnminimize() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace vx
