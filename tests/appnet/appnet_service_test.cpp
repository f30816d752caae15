// The counter service as a system would run it: the real vantrix-appnet,
// handed a listening socket the way systemd's socket activation does, two
// applications' scopes below a test slice of the machine's cgroup v2
// hierarchy (as user 0's), traffic over loopback only. Needs root and BPF;
// skips otherwise.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "appnet/appnet_protocol.h"
#include "appnet/cgroup_counter.h"
#include "appnet/cgroup_owner.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

using namespace std::chrono_literals;

std::string cgroupRoot() {
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return CgroupV2Root(text.str()).value_or("");
}

// Asks once, as the calling process; "" when there is no answer.
std::string ask(const std::string& socketPath, std::string_view request = kAppNetRequest) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un at{};
    at.sun_family = AF_UNIX;
    std::strncpy(at.sun_path, socketPath.c_str(), sizeof at.sun_path - 1);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        timeval wait{3, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        char buffer[4096];
        for (ssize_t n; answer.find("END\n") == std::string::npos && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return answer;
}

const TTrafficRow* rowOf(const TAppNetAnswer& a, TRowKind kind, const std::string& id) {
    for (const TTrafficRow& r : a.Rows)
        if (r.Kind == kind && r.Id == id) return &r;
    return nullptr;
}

class AppNetServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "the counter service needs root; skipped";
        FRoot = cgroupRoot();
        if (FRoot.empty()) GTEST_SKIP() << "this machine has no cgroup v2 hierarchy; skipped";
        if (const std::string why = TCgroupTrafficCounter().Attach(FRoot); !why.empty())
            GTEST_SKIP() << "the counter cannot run here (" << why << "); skipped";
        FSlice = FRoot + "/vantrix-test-" + std::to_string(::getpid()) + ".slice";
        FUser = FSlice + "/user-0.slice";
        for (const std::string& dir : {FSlice, FUser, FUser + "/app-test-alpha-1.scope", FUser + "/app-test-beta-1.scope"})
            ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0) << dir;
        ::chmod(FDir.path().c_str(), 0755);  // another user reaches the socket
        FSocket = FDir.file("appnet.sock");
        start();
    }
    void TearDown() override {
        stop();
        for (const std::string& dir : {FUser + "/app-test-alpha-1.scope", FUser + "/app-test-beta-1.scope", FUser, FSlice})
            ::rmdir(dir.c_str());
    }

    // The service, on a socket made here and handed over as fd 3.
    void start(const char* idleSeconds = "60") {
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un at{};
        at.sun_family = AF_UNIX;
        std::strncpy(at.sun_path, FSocket.c_str(), sizeof at.sun_path - 1);
        ::unlink(FSocket.c_str());
        ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
        ASSERT_EQ(::listen(listener, 64), 0);
        ::chmod(FSocket.c_str(), 0666);
        FService = ::fork();
        if (FService == 0) {
            ::dup2(listener, 3);
            ::setenv("LISTEN_FDS", "1", 1);
            ::setenv("LISTEN_PID", std::to_string(::getpid()).c_str(), 1);
            ::setenv("VANTRIX_APPNET_IDLE_SECONDS", idleSeconds, 1);
            ::execl(VX_APPNET_PROGRAM, "vantrix-appnet", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(listener);
        for (int i = 0; i < 100 && ask(FSocket).empty(); ++i) std::this_thread::sleep_for(20ms);
    }
    int stop(int signal = SIGTERM) {
        if (FService <= 0) return -1;
        ::kill(FService, signal);
        int status = 0;
        ::waitpid(FService, &status, 0);
        FService = -1;
        return status;
    }
    TAppNetAnswer answer() {
        std::this_thread::sleep_for(150ms);  // answers may be up to 100 ms old
        const auto parsed = ParseAppNetAnswer(ask(FSocket));
        EXPECT_TRUE(parsed);
        return parsed.value_or(TAppNetAnswer{});
    }
    // Runs `work` in a child that first joins the scope (sockets keep the
    // cgroup they were made in).
    void runIn(const std::string& scope, const std::function<void()>& work) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::ofstream procs(FUser + "/" + scope + "/cgroup.procs");
            procs << "0" << std::endl;
            if (!procs) ::_exit(2);
            work();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    static void sendUdp(int count, int bytes) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(9);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const std::string payload(static_cast<std::size_t>(bytes), 'x');
        for (int i = 0; i < count; ++i)
            ::sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        ::close(fd);
    }

    test::TTempDir FDir;
    std::string FRoot, FSlice, FUser, FSocket;
    pid_t FService = -1;
};

// Root sees its two applications in full, with their cgroups; another user
// sees none of them, only one total for everybody else.
TEST_F(AppNetServiceTest, EachUserSeesWhatIsTheirs) {
    runIn("app-test-alpha-1.scope", [] { sendUdp(50, 1000); });
    runIn("app-test-beta-1.scope", [] { sendUdp(20, 500); });
    const TAppNetAnswer mine = answer();
    const TTrafficRow* alpha = rowOf(mine, TRowKind::Application, "alpha");
    const TTrafficRow* beta = rowOf(mine, TRowKind::Application, "beta");
    ASSERT_TRUE(alpha && beta);
    EXPECT_EQ(alpha->Totals.SentBytes, 50u * (1000 + 28));  // IP and UDP headers
    EXPECT_EQ(alpha->Totals.SentPackets, 50u);
    EXPECT_EQ(beta->Totals.SentBytes, 20u * (500 + 28));
    ASSERT_EQ(alpha->Cgroups.size(), 1u);
    EXPECT_NE(alpha->Cgroups[0].find("/user-0.slice/app-test-alpha-1.scope"), std::string::npos);

    // Asked by uid 4242 (no such user needs to exist: the kernel says who).
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t other = ::fork();
    if (other == 0) {
        ::close(pipe[0]);
        if (::setresgid(4242, 4242, 4242) != 0 || ::setresuid(4242, 4242, 4242) != 0) ::_exit(2);
        std::this_thread::sleep_for(150ms);
        const std::string text = ask(FSocket);
        ::write(pipe[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe[0]);
    ::waitpid(other, nullptr, 0);
    const auto theirs = ParseAppNetAnswer(text);
    ASSERT_TRUE(theirs) << text;
    for (const TTrafficRow& r : theirs->Rows) {
        EXPECT_NE(r.Kind, TRowKind::Application) << r.Id;
        EXPECT_TRUE(r.Cgroups.empty());
    }
    const TTrafficRow* others = rowOf(*theirs, TRowKind::OtherUsers, "");
    ASSERT_TRUE(others);
    EXPECT_GE(others->Totals.SentBytes, alpha->Totals.SentBytes + beta->Totals.SentBytes);
    EXPECT_EQ(text.find("alpha"), std::string::npos);
}

// A flood of connections and an oversized request are turned away; the
// service goes on answering.
TEST_F(AppNetServiceTest, AFloodAndAnOversizedRequestAreRefused) {
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 4096);
    ::setrlimit(RLIMIT_NOFILE, &files);
    std::vector<int> flood;
    for (int i = 0; i < 1000; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un at{};
        at.sun_family = AF_UNIX;
        std::strncpy(at.sun_path, FSocket.c_str(), sizeof at.sun_path - 1);
        ::connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
        flood.push_back(fd);
    }
    std::this_thread::sleep_for(200ms);
    for (const int fd : flood) ::close(fd);
    EXPECT_TRUE(ParseAppNetAnswer(ask(FSocket)));

    const std::string huge(1 << 20, 'A');
    EXPECT_EQ(ask(FSocket, huge), "");  // closed without an answer
    EXPECT_EQ(ask(FSocket, "SHUTDOWN\n"), "");
    EXPECT_TRUE(ParseAppNetAnswer(ask(FSocket)));
    int status = 0;
    EXPECT_EQ(::waitpid(FService, &status, WNOHANG), 0);  // still running
}

// Killed and started again, the service is another instance: a client
// sees that the counts began anew. One runs at a time.
TEST_F(AppNetServiceTest, ARestartIsSaidAndOneRunsAtATime) {
    runIn("app-test-alpha-1.scope", [] { sendUdp(10, 1000); });
    const TAppNetAnswer before = answer();
    ASSERT_TRUE(rowOf(before, TRowKind::Application, "alpha"));

    const pid_t second = ::fork();
    if (second == 0) {
        ::execl(VX_APPNET_PROGRAM, "vantrix-appnet", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(second, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;  // the first holds the lock

    stop(SIGKILL);
    start();
    runIn("app-test-alpha-1.scope", [] { sendUdp(1, 1000); });
    const TAppNetAnswer after = answer();
    EXPECT_NE(after.Instance, before.Instance);
    const TTrafficRow* alpha = rowOf(after, TRowKind::Application, "alpha");
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->Totals.SentPackets, 1u);  // nothing of the killed one's programs counts on
}

TEST_F(AppNetServiceTest, ItEndsWhenIdleAndTakesNoArguments) {
    stop();
    start("1");
    const auto began = std::chrono::steady_clock::now();
    int status = 0;
    while (::waitpid(FService, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() - began < 10s)
        std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    FService = -1;

    const pid_t withArgument = ::fork();
    if (withArgument == 0) {
        ::execl(VX_APPNET_PROGRAM, "vantrix-appnet", "/etc/shadow", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::waitpid(withArgument, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

}  // namespace
}  // namespace vx
