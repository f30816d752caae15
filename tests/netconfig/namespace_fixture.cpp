#include "netconfig/namespace_fixture.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <thread>

namespace vx::test {
namespace {

bool gReady = false;
std::string gWhy = "the kernel lab was not set up";
pid_t gPeer = -1;
int gToPeer = -1;
int gFromPeer = -1;

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// The peer: waits for one-letter commands on a pipe and answers each.
[[noreturn]] void peerMain(int in, int out) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    char ready = ::unshare(CLONE_NEWNET) == 0 ? 'r' : 'x';
    (void)!::write(out, &ready, 1);
    for (;;) {
        char command = 0;
        if (::read(in, &command, 1) != 1) ::_exit(0);
        char answer = 'k';
        if (command == 'c') {
            answer = run("ip link set lo up && ip addr add 10.200.0.2/24 dev vxb && ip link set vxb up") ? 'k' : 'x';
        } else if (command == 'u') {
            int count = 0, bytes = 0;
            (void)!::read(in, &count, sizeof count);
            (void)!::read(in, &bytes, sizeof bytes);
            const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(9);
            ::inet_pton(AF_INET, "10.200.0.1", &to.sin_addr);
            std::string payload(static_cast<std::size_t>(bytes), 'v');
            for (int i = 0; i < count; ++i)
                if (::sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
                    answer = 'x';
            ::close(fd);
        } else if (command == 'q') {
            ::_exit(0);
        }
        (void)!::write(out, &answer, 1);
    }
}

char askPeer(char command) {
    if (::write(gToPeer, &command, 1) != 1) return 'x';
    char answer = 'x';
    if (::read(gFromPeer, &answer, 1) != 1) return 'x';
    return answer;
}

}  // namespace

namespace {

std::string gCgroupRoot;

// The first cgroup2 mount of /proc/self/mountinfo ("... mount-point ... - cgroup2 ..."),
// kept open: the lab's remount of /sys takes the path away.
void openCgroupV2Root() {
    std::ifstream in("/proc/self/mountinfo");
    for (std::string line; std::getline(in, line);) {
        if (line.find(" - cgroup2 ") == std::string::npos) continue;
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        if (!(fields >> id >> parent >> device >> root >> mountPoint)) continue;
        const int fd = ::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) gCgroupRoot = "/proc/self/fd/" + std::to_string(fd);
        return;
    }
}

}  // namespace

const std::string& TKernelLab::CgroupV2Root() { return gCgroupRoot; }

bool TKernelLab::Setup(std::string& why) {
    if (::geteuid() != 0) {
        why = "kernel tests need root to make a network namespace; skipped";
        return false;
    }
    if (std::system("command -v ip >/dev/null 2>&1") != 0) {
        why = "the ip command (iproute2) is missing; skipped";
        return false;
    }
    openCgroupV2Root();  // before the new /sys hides it
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        why = std::string("cannot make a network namespace: ") + std::strerror(errno) + "; skipped";
        return false;
    }
    // A /sys of our own, so that sysfs shows this namespace's interfaces.
    ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    ::umount2("/sys", MNT_DETACH);
    if (::mount("sysfs", "/sys", "sysfs", 0, nullptr) != 0) {
        why = std::string("cannot mount sysfs in the namespace: ") + std::strerror(errno);
        return false;
    }
    int down[2], up[2];
    if (::pipe(down) != 0 || ::pipe(up) != 0) {
        why = "pipe failed";
        return false;
    }
    gPeer = ::fork();
    if (gPeer == 0) {
        ::close(down[1]);
        ::close(up[0]);
        peerMain(down[0], up[1]);
    }
    ::close(down[0]);
    ::close(up[1]);
    gToPeer = down[1];
    gFromPeer = up[0];
    char ready = 0;
    if (::read(gFromPeer, &ready, 1) != 1 || ready != 'r') {
        why = "the peer namespace could not be made";
        return false;
    }
    const std::string peer = std::to_string(gPeer);
    if (!run("ip link set lo up") || !run("ip link add vxa type veth peer name vxb") ||
        !run("ip link set vxb netns " + peer) || askPeer('c') != 'k' ||
        !run("ip addr add 10.200.0.1/24 dev vxa") || !run("ip addr add 10.201.0.1/16 dev vxa") ||
        !run("ip link set vxa address 02:00:00:aa:bb:01") || !run("ip link set vxa mtu 1400") ||
        !run("ip link set dev vxa alias 'Vantrix test'") || !run("ip link set vxa up") || !WaitUntilUp("vxa") ||
        !run("ip route add default via 10.200.0.2 dev vxa")) {
        why = "could not build the veth pair in the namespace";
        return false;
    }
    gReady = true;
    return true;
}

bool TKernelLab::Ready() { return gReady; }
const std::string& TKernelLab::WhyNot() { return gWhy; }
bool TKernelLab::Run(const std::string& command) { return run(command); }

bool TKernelLab::PeerSendsUdp(int count, int bytes) {
    const char command = 'u';
    if (::write(gToPeer, &command, 1) != 1 || ::write(gToPeer, &count, sizeof count) != sizeof count ||
        ::write(gToPeer, &bytes, sizeof bytes) != sizeof bytes)
        return false;
    char answer = 'x';
    return ::read(gFromPeer, &answer, 1) == 1 && answer == 'k';
}

void TKernelLab::SendUdpToPeer(int count, int bytes) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    ::inet_pton(AF_INET, "10.200.0.2", &to.sin_addr);
    const std::string payload(static_cast<std::size_t>(bytes), 'x');
    for (int i = 0; i < count; ++i)
        ::sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

bool TKernelLab::WaitUntilUp(const std::string& name) {
    for (int i = 0; i < 100; ++i) {
        std::ifstream in("/sys/class/net/" + name + "/operstate");
        std::string state;
        in >> state;
        if (state == "up") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace vx::test

// The lab is built before anything else starts threads; listing the tests
// builds nothing.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    if (!listing) {
        std::string why;
        if (!vx::test::TKernelLab::Setup(why)) vx::test::gWhy = why;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        char dir[] = "/tmp/vx-runtime-XXXXXX";
        if (::mkdtemp(dir)) ::setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    if (vx::test::gPeer > 0) {
        ::kill(vx::test::gPeer, SIGKILL);
        ::waitpid(vx::test::gPeer, nullptr, 0);
    }
    return result;
}
