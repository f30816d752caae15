// vantrix-appnet: counts every application's network traffic in the kernel
// and tells each user what is theirs. Started by systemd on the first
// connection to /run/vantrix-appnet.sock (socket activation), or by hand as
// root, when it makes that socket itself. It takes no arguments; it ends
// after some minutes without a client, and everything it attached goes
// with it. One runs at a time.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "appnet/appnet_protocol.h"
#include "appnet/appnet_server.h"
#include "appnet/cgroup_counter.h"
#include "appnet/cgroup_owner.h"
#include "appnet/traffic_book.h"

namespace {

// In the service's runtime folder (the only place its sandbox may write).
constexpr const char* kRuntimeFolder = "/run/vantrix-appnet";
constexpr const char* kLockFile = "/run/vantrix-appnet/lock";
constexpr int kIdleMinutes = 5;
volatile bool gStop = false;

void onSignal(int) { gStop = true; }

// The socket systemd passed (LISTEN_FDS=1 for this process: fd 3).
int activatedSocket() {
    const char* pid = std::getenv("LISTEN_PID");
    const char* fds = std::getenv("LISTEN_FDS");
    if (!pid || !fds || std::strtol(pid, nullptr, 10) != ::getpid() || std::strcmp(fds, "1") != 0) return -1;
    ::fcntl(3, F_SETFD, FD_CLOEXEC);
    return 3;
}

int ownSocket() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un at{};
    at.sun_family = AF_UNIX;
    std::strncpy(at.sun_path, vx::kAppNetSocket, sizeof at.sun_path - 1);
    ::unlink(vx::kAppNetSocket);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(fd, 16) != 0) return -1;
    ::chmod(vx::kAppNetSocket, 0666);  // every user may ask; the answer depends on who asks
    return fd;
}

}  // namespace

int main(int argc, char**) {
    if (argc > 1) {
        std::fprintf(stderr, "vantrix-appnet takes no arguments\n");
        return 2;
    }
    ::mkdir(kRuntimeFolder, 0700);  // systemd made it already; by hand, made here
    const int lock = ::open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        std::fprintf(stderr, "vantrix-appnet: another counter is running (%s is held)\n", kLockFile);
        return 1;
    }
    std::ifstream mounts("/proc/self/mountinfo");
    std::stringstream text;
    text << mounts.rdbuf();
    const std::optional<std::string> root = vx::CgroupV2Root(text.str());
    if (!root) {
        std::fprintf(stderr, "vantrix-appnet: this system has no cgroup v2 hierarchy\n");
        return 1;
    }
    vx::TCgroupTrafficCounter counter;
    if (const std::string why = counter.Attach(*root); !why.empty()) {
        std::fprintf(stderr, "vantrix-appnet: %s\n", why.c_str());
        return 1;
    }
    const bool activated = activatedSocket() == 3;
    const int listener = activated ? 3 : ownSocket();
    if (listener < 0) {
        std::fprintf(stderr, "vantrix-appnet: cannot listen on %s: %s\n", vx::kAppNetSocket, std::strerror(errno));
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    std::chrono::milliseconds idle = std::chrono::minutes(kIdleMinutes);
    if (const char* seconds = std::getenv("VANTRIX_APPNET_IDLE_SECONDS"))  // for tests
        idle = std::chrono::seconds(std::max(1L, std::strtol(seconds, nullptr, 10)));
    const std::string instance =
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch()).count()) +
        "." + std::to_string(::getpid());
    vx::TTrafficBook book(*root, vx::ResolveCgroups, vx::CgroupExists);
    vx::TAppNetServer(listener, counter, book, instance).Run(idle, &gStop);
    if (!activated) ::unlink(vx::kAppNetSocket);
    return 0;
}
