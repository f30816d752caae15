#pragma once

// A private Wayland compositor (weston's headless backend, drawing with
// pixman so that screenshots work) for the tests of the native Wayland
// platform. Started by the test program's main() before the application
// object; tests skip with a message when it could not start.

#include <QImage>
#include <string>

namespace vx::test {

struct TWayland {
    bool running = false;
    std::string why;     // why it is not running
    std::string socket;  // WAYLAND_DISPLAY
};

// Starts weston on a socket of its own in $XDG_RUNTIME_DIR; sets
// WAYLAND_DISPLAY and unsets DISPLAY.
const TWayland& StartWayland();
void StopWayland();
const TWayland& Wayland();

// The compositor's whole output now.
QImage WaylandScreenshot();

}  // namespace vx::test
