// main() of the desktop tests: a private X display with icewm and trayer,
// then the application on the xcb platform.
#include "desktop_session.h"
#include "own_display.h"

int main(int argc, char** argv) {
    return vx::test::RunOnOwnDisplay(
        argc, argv, "vx-desktop",
        [] { return vx::test::StartDesktop(true).running ? std::string("xcb") : std::string("offscreen"); },
        [] { vx::test::StopDesktop(); });
}
