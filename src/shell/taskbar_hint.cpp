#include "shell/taskbar_hint.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vx {
namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return a;
}

}  // namespace

QColor TrayForegroundColor() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return {};
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return {};
    const int screen = 0;
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, selection.c_str())), nullptr);
    const xcb_window_t manager = owner ? owner->owner : XCB_WINDOW_NONE;
    std::free(owner);
    if (manager == XCB_WINDOW_NONE) return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, manager, atom(c, "_NET_SYSTEM_TRAY_COLORS"), XCB_ATOM_CARDINAL, 0, 12), nullptr);
    QColor color;
    // Twelve 16-bit channels: foreground, error, warning, success.
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 12) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        color = QColor::fromRgba64(static_cast<quint16>(v[0]), static_cast<quint16>(v[1]), static_cast<quint16>(v[2]));
    }
    std::free(reply);
    return color;
}

bool WindowManagerKeepsAbove() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return true;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return true;
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    // The list of what the window manager supports, 1024 atoms at most.
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 1024), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count && !found; ++i) found = atoms[i] == above;
    }
    std::free(reply);
    return found;
}

void SetSkipTaskbar(QWidget* w, bool skip) {
    if (!w || !w->isWindow() || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return;
    // _NET_WM_STATE client message: action (1 add, 0 remove), two states,
    // source 1 (a normal application).
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    // The window behind the widget now: a flag change re-creates it, and
    // QWidget::winId() keeps the first one.
    if (!w->windowHandle()) return;
    event.window = static_cast<xcb_window_t>(w->windowHandle()->winId());
    event.type = atom(c, "_NET_WM_STATE");
    event.data.data32[0] = skip ? 1 : 0;
    event.data.data32[1] = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    event.data.data32[2] = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    event.data.data32[3] = 1;
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

}  // namespace vx
