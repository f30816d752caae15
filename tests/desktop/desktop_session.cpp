#include "desktop_session.h"

#include "own_display.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace vx::test {
namespace {

TDesktop gDesktop;
std::vector<pid_t> gChildren;

bool onPath(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

std::string RunOnDisplay(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer;
        while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), p)) out.append(buffer.data(), n);
        ::pclose(p);
    }
    return out;
}

// Xvfb on a free display, then icewm; sets gDesktop.running or .why.
static void startServerAndManager() {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        gDesktop.why = "no pipe";
        return;
    }
    const pid_t xvfb = ::fork();
    if (xvfb == 0) {
        ::setpgid(0, 0);
        ::close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 2);
        // -noreset: without it the server resets whenever its last client
        // leaves (each xprop below), refusing a client that comes meanwhile.
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                 "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    gChildren.push_back(xvfb);
    char number[16] = {};
    const ssize_t n = ::read(pipeFds[0], number, sizeof number - 1);
    ::close(pipeFds[0]);
    if (n <= 0) {
        gDesktop.why = "Xvfb did not start";
        return;
    }
    std::string display = ":" + std::string(number, static_cast<std::size_t>(n));
    while (!display.empty() && (display.back() == '\n' || display.back() == ' ')) display.pop_back();
    ::setenv("DISPLAY", display.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    // The window manager is up once it names itself on the root window; one
    // that exits early (it could not connect) is started again.
    pid_t wm = SpawnQuietly({"icewm"});
    for (int i = 0; i < 300 && !gDesktop.running; ++i) {
        if (RunOnDisplay("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") != std::string::npos) {
            gDesktop.running = true;
            break;
        }
        if (::waitpid(wm, nullptr, WNOHANG) == wm) wm = SpawnQuietly({"icewm"});
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    gChildren.push_back(wm);
    if (!gDesktop.running) {
        gDesktop.why = "icewm did not start on " + display + (::waitpid(xvfb, nullptr, WNOHANG) == xvfb ? " (Xvfb ended)" : "");
        return;
    }
}

TDesktop& StartDesktop(bool withTray) {
    for (const char* tool : {"Xvfb", "icewm", "xprop", "xdotool"})
        if (!onPath(tool)) {
            gDesktop.why = std::string(tool) + " is not installed (scripts/setup.sh installs it)";
            return gDesktop;
        }
    // Now and then a fresh Xvfb ends right after naming its display: the
    // whole start is tried again then.
    for (int attempt = 0; attempt < 3 && !gDesktop.running; ++attempt) {
        if (attempt > 0) {
            StopDesktop();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        startServerAndManager();
    }
    if (!gDesktop.running) return gDesktop;
    if (withTray && onPath("trayer")) {
        gChildren.push_back(SpawnQuietly({"trayer", "--edge", "bottom"}));
        for (int i = 0; i < 100 && !gDesktop.tray; ++i) {
            gDesktop.tray =
                RunOnDisplay("xprop -root 2>/dev/null | grep -c _NET_SYSTEM_TRAY_S0 || true").find('0') != 0 ||
                RunOnDisplay("xdotool search --name trayer 2>/dev/null").size() > 0;
            if (!gDesktop.tray) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return gDesktop;
}

void StopDesktop() {
    for (auto it = gChildren.rbegin(); it != gChildren.rend(); ++it) {
        ::kill(-*it, SIGTERM);
        ::kill(*it, SIGTERM);
        ::waitpid(*it, nullptr, 0);
    }
    gChildren.clear();
    gDesktop.running = false;
}

const TDesktop& Desktop() { return gDesktop; }

}  // namespace vx::test

namespace vx::test {

TCpuHog::TCpuHog() {
    const long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
    for (long i = 0; i < std::max(1L, cores); ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            (void)!::nice(10);
            for (;;) asm volatile("");  // spins, and is not optimised away
        }
        FPids.push_back(pid);
    }
}

TCpuHog::~TCpuHog() {
    for (int pid : FPids) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

bool IsViewable(unsigned long window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return false;
    xcb_connection_t* c = x11->connection();
    xcb_get_window_attributes_reply_t* reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window)), nullptr);
    const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return viewable;
}

namespace {

xcb_connection_t* connection() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

}  // namespace

unsigned Atom(const char* name) {
    xcb_connection_t* c = connection();
    if (!c) return 0;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const unsigned atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

std::vector<unsigned> RootAtoms(const char* property) {
    std::vector<unsigned> atoms;
    xcb_connection_t* c = connection();
    if (!c) return atoms;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root(c), Atom(property), XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return atoms;
}

void SetRootAtoms(const char* property, const std::vector<unsigned>& atoms) {
    xcb_connection_t* c = connection();
    if (!c) return;
    std::vector<xcb_atom_t> values(atoms.begin(), atoms.end());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root(c), Atom(property), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
    xcb_flush(c);
}

bool SetTrayForeground(int red, int green, int blue) {
    xcb_connection_t* c = connection();
    if (!c) return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, Atom("_NET_SYSTEM_TRAY_S0")), nullptr);
    const xcb_window_t manager = owner ? owner->owner : XCB_WINDOW_NONE;
    std::free(owner);
    if (manager == XCB_WINDOW_NONE) return false;
    if (red < 0) {
        xcb_delete_property(c, manager, Atom("_NET_SYSTEM_TRAY_COLORS"));
    } else {
        const auto channel = [](int v) { return static_cast<std::uint32_t>(v * 257); };
        std::vector<std::uint32_t> colors(12, 0);
        colors[0] = channel(red);
        colors[1] = channel(green);
        colors[2] = channel(blue);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, manager, Atom("_NET_SYSTEM_TRAY_COLORS"), XCB_ATOM_CARDINAL, 32,
                            static_cast<std::uint32_t>(colors.size()), colors.data());
    }
    xcb_flush(c);
    return true;
}

}  // namespace vx::test
