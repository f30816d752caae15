#include "wayland_session.h"

#include "own_display.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace vx::test {
namespace {

namespace fs = std::filesystem;

TWayland gWayland;
pid_t gWeston = -1;

}  // namespace

const TWayland& StartWayland() {
    if (std::system("command -v weston >/dev/null 2>&1") != 0) {
        gWayland.why = "weston is not installed (scripts/setup.sh installs it)";
        return gWayland;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime) {
        gWayland.why = "no XDG_RUNTIME_DIR";
        return gWayland;
    }
    gWayland.socket = "vx-test-" + std::to_string(::getpid());
    // --debug lets weston-screenshooter take pictures of the output.
    gWeston = SpawnQuietly({"weston", "--backend=headless-backend.so", "--use-pixman", "--socket=" + gWayland.socket,
                     "--idle-time=0", "--debug", "--width=1024", "--height=768"});
    const fs::path socket = fs::path(runtime) / gWayland.socket;
    for (int i = 0; i < 200 && !fs::exists(socket); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    if (!fs::exists(socket)) {
        gWayland.why = "weston did not start";
        return gWayland;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // its shell client comes up
    ::setenv("WAYLAND_DISPLAY", gWayland.socket.c_str(), 1);
    ::unsetenv("DISPLAY");
    gWayland.running = true;
    return gWayland;
}

void StopWayland() {
    if (gWeston > 0) {
        ::kill(-gWeston, SIGTERM);
        ::kill(gWeston, SIGTERM);
        ::waitpid(gWeston, nullptr, 0);
    }
    gWeston = -1;
    gWayland.running = false;
}

const TWayland& Wayland() { return gWayland; }

QImage WaylandScreenshot() {
    const fs::path folder = fs::temp_directory_path() / ("vx-shot-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const pid_t shooter = SpawnQuietly({"weston-screenshooter"}, folder.string());
    int status = 0;
    for (int i = 0; i < 200 && ::waitpid(shooter, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ::kill(shooter, SIGKILL);
    ::waitpid(shooter, nullptr, WNOHANG);
    QImage image;
    for (const auto& entry : fs::directory_iterator(folder)) image.load(QString::fromStdString(entry.path().string()));
    fs::remove_all(folder);
    return image;
}

}  // namespace vx::test
