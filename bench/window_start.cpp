// Start-up to a mapped window, measured without polling from a shell:
//   vx_window_start TITLE PROGRAM [ARGS...]
// starts PROGRAM, watches the X server for a viewable window titled exactly
// TITLE (checked every 0.5 ms over one connection), prints the milliseconds
// from the start to that moment, then ends the program with SIGTERM and
// waits for it. Exits 1 when no such window appears within 10 s.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}

std::string title(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netName, xcb_atom_t utf8) {
    for (const auto& [property, type] : {std::pair{netName, utf8}, std::pair{xcb_atom_t{XCB_ATOM_WM_NAME}, xcb_atom_t{XCB_ATOM_STRING}}}) {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr);
        std::string text;
        if (r && r->value_len > 0)
            text.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
        std::free(r);
        if (!text.empty()) return text;
    }
    return {};
}

bool viewable(xcb_connection_t* c, xcb_window_t w) {
    xcb_get_window_attributes_reply_t* r = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool yes = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(r);
    return yes;
}

// Whether a window titled `wanted` is viewable among the root's children
// down to four levels (a window manager's frame holds the program's window,
// sometimes inside a container of its own).
bool found(xcb_connection_t* c, xcb_window_t root, const std::string& wanted, xcb_atom_t netName, xcb_atom_t utf8) {
    std::vector<xcb_window_t> level{root};
    for (int depth = 0; depth < 4; ++depth) {
        std::vector<xcb_window_t> next;
        for (xcb_window_t parent : level) {
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
            if (!tree) continue;
            const xcb_window_t* kids = xcb_query_tree_children(tree);
            next.insert(next.end(), kids, kids + xcb_query_tree_children_length(tree));
            std::free(tree);
        }
        for (xcb_window_t w : next)
            if (title(c, w, netName, utf8) == wanted && viewable(c, w)) return true;
        level = std::move(next);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME"), utf8 = atom(c, "UTF8_STRING");
    const std::string wanted = argv[1];

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::perror(argv[2]);
        return 2;
    }
    int rc = 1;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        if (found(c, root, wanted, netName, utf8)) {
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            std::printf("%.1f\n", ms);
            rc = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    return rc;
}
