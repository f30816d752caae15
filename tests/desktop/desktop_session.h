#pragma once

// A private X display with a real window manager (icewm) and tray host
// (trayer) for the tests of what a window manager does to frames, states
// and placement. Started by the test program's main() before the
// application object; tests skip with a message when it could not start.

#include <string>
#include <vector>

namespace vx::test {

struct TDesktop {
    bool running = false;
    bool tray = false;
    std::string why;  // why it is not running
};

// Starts Xvfb, icewm and, when `withTray`, trayer; sets DISPLAY.
TDesktop& StartDesktop(bool withTray);
void StopDesktop();
const TDesktop& Desktop();

// Runs a command on the private display; its standard output.
std::string RunOnDisplay(const std::string& command);

}  // namespace vx::test

#define VX_REQUIRE_DESKTOP()                                                      \
    do {                                                                          \
        if (!::vx::test::Desktop().running)                                      \
            GTEST_SKIP() << "no X desktop: " << ::vx::test::Desktop().why;       \
    } while (0)

namespace vx::test {

// Keeps every core busy with nice'd spinning processes while it lives, so
// that races between the program and the window manager show.
class TCpuHog {
public:
    TCpuHog();
    ~TCpuHog();
    TCpuHog(const TCpuHog&) = delete;
    TCpuHog& operator=(const TCpuHog&) = delete;

private:
    std::vector<int> FPids;
};

// Whether the X window is mapped and viewable now.
bool IsViewable(unsigned long window);

// The atoms of a property of the root window (ATOM list), and a new list
// for it, through the application's own X connection.
std::vector<unsigned> RootAtoms(const char* property);
void SetRootAtoms(const char* property, const std::vector<unsigned>& atoms);
unsigned Atom(const char* name);

// Sets the foreground colour the tray asks its icons for
// (_NET_SYSTEM_TRAY_COLORS on the tray's manager window); red < 0 removes
// it. False without a tray.
bool SetTrayForeground(int red, int green, int blue);

}  // namespace vx::test
