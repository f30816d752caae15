// The kernel counter against real traffic: two applications' scopes under
// a test slice of the machine's cgroup v2 hierarchy, a process in each, one
// sending UDP over the lab's veth pair, the other TCP over loopback. Each
// application's counts are what it sent, by the documented rule (IP-layer
// bytes); the interface's counters are the attributed bytes plus 14 bytes
// of Ethernet header a frame, plus what no socket sent.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "appnet/cgroup_counter.h"
#include "netconfig/namespace_fixture.h"

namespace vx {
namespace {

using test::TKernelLab;

std::uint64_t sysfsCounter(const std::string& name) {
    std::ifstream in("/sys/class/net/vxa/statistics/" + name);
    std::uint64_t value = 0;
    in >> value;
    return value;
}

class CgroupCounterKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        VX_REQUIRE_KERNEL_LAB();
        FRoot = TKernelLab::CgroupV2Root();
        if (FRoot.empty()) GTEST_SKIP() << "this machine has no cgroup v2 hierarchy; skipped";
        if (const std::string why = FCounter.Attach(FRoot); !why.empty())
            GTEST_SKIP() << "the counter cannot run here (" << why << "); skipped";
        FSlice = FRoot + "/vantrix-test-" + std::to_string(::getpid()) + ".slice";
        ASSERT_EQ(::mkdir(FSlice.c_str(), 0755), 0) << FSlice;
        for (const char* app : {"app-test-alpha-1.scope", "app-test-beta-1.scope"}) {
            const std::string dir = FSlice + "/" + app;
            ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0) << dir;
            FScopes.push_back(dir);
        }
    }
    void TearDown() override {
        for (const std::string& dir : FScopes) ::rmdir(dir.c_str());
        if (!FSlice.empty()) ::rmdir(FSlice.c_str());
    }

    static std::uint64_t cgroupId(const std::string& dir) {
        struct stat st {};
        return ::stat(dir.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    // Runs `work` in a child process that first joins the cgroup `dir`
    // (sockets keep the cgroup they were made in).
    static pid_t startIn(const std::string& dir, const std::function<void()>& work) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::ofstream procs(dir + "/cgroup.procs");
            procs << "0" << std::endl;
            if (!procs) ::_exit(2);
            work();
            ::_exit(0);
        }
        return child;
    }
    static void finish(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a child failed: " << status;
    }
    static void runIn(const std::string& dir, const std::function<void()>& work) { finish(startIn(dir, work)); }
    TCgroupTraffic countsOf(std::uint64_t id) const {
        for (const TCgroupTraffic& t : FCounter.Read())
            if (t.Cgroup == id) return t;
        return {};
    }

    TCgroupTrafficCounter FCounter;
    std::string FRoot, FSlice;
    std::vector<std::string> FScopes;
};

TEST_F(CgroupCounterKernelTest, EachApplicationCountsWhatItSent) {
    const std::uint64_t alpha = cgroupId(FScopes[0]), beta = cgroupId(FScopes[1]);
    ASSERT_NE(alpha, 0u);
    // The neighbour is resolved first, so that the interface's count below
    // holds no ARP frames.
    TKernelLab::SendUdpToPeer(1, 10);
    const std::uint64_t txBefore = sysfsCounter("tx_bytes"), txPacketsBefore = sysfsCounter("tx_packets");

    // Alpha: 100 UDP datagrams of 1000 bytes over the veth pair.
    runIn(FScopes[0], [] { TKernelLab::SendUdpToPeer(100, 1000); });
    const std::uint64_t txBytes = sysfsCounter("tx_bytes") - txBefore;
    const std::uint64_t txPackets = sysfsCounter("tx_packets") - txPacketsBefore;

    // Beta: 200,000 bytes of TCP over loopback to a listener of this process.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof at;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &length), 0);
    constexpr std::size_t kTcpBytes = 200000;
    const pid_t sender = startIn(FScopes[1], [&] {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) ::_exit(3);
        const std::string chunk(10000, 'x');
        for (std::size_t sent = 0; sent < kTcpBytes; sent += chunk.size())
            if (::write(s, chunk.data(), chunk.size()) != static_cast<ssize_t>(chunk.size())) ::_exit(4);
        ::shutdown(s, SHUT_WR);
        char end;
        ::read(s, &end, 1);  // the listener closes once it has read everything
        ::close(s);
    });
    const int peer = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    ::close(listener);
    std::size_t received = 0;
    char buffer[65536];
    for (ssize_t n; (n = ::read(peer, buffer, sizeof buffer)) > 0;) received += static_cast<std::size_t>(n);
    ::close(peer);
    finish(sender);
    EXPECT_EQ(received, kTcpBytes);

    const TCgroupTraffic a = countsOf(alpha), b = countsOf(beta);
    // UDP: 20 bytes of IP header and 8 of UDP header each, nothing more.
    EXPECT_EQ(a.SentPackets, 100u);
    EXPECT_EQ(a.SentBytes, 100u * (1000 + 28));
    // The interface: the attributed bytes and 14 bytes of Ethernet header a
    // frame; nothing else went out meanwhile.
    EXPECT_EQ(txPackets, a.SentPackets);
    EXPECT_EQ(txBytes, a.SentBytes + 14 * a.SentPackets);
    // TCP: the payload and at least 40 bytes of headers a packet (a GSO
    // packet once, whole), at most 100 with options.
    EXPECT_GE(b.SentBytes, kTcpBytes + 40 * b.SentPackets);
    EXPECT_LE(b.SentBytes, kTcpBytes + 100 * b.SentPackets);
    EXPECT_GT(b.ReceivedPackets, 0u);  // the handshake and the acknowledgements
    EXPECT_LT(b.ReceivedBytes, 100 * b.ReceivedPackets);
}

// A cgroup that went away keeps its entries until they are forgotten; then
// the map has room again.
TEST_F(CgroupCounterKernelTest, AForgottenCgroupLeavesTheMap) {
    const std::uint64_t alpha = cgroupId(FScopes[0]);
    runIn(FScopes[0], [] { TKernelLab::SendUdpToPeer(3, 100); });
    EXPECT_EQ(countsOf(alpha).SentPackets, 3u);
    ASSERT_EQ(::rmdir(FScopes[0].c_str()), 0);
    EXPECT_EQ(countsOf(alpha).SentPackets, 3u);  // the kernel removes nothing
    FCounter.Forget(alpha);
    EXPECT_EQ(countsOf(alpha).Cgroup, 0u);
}

// Dropped, the counter leaves nothing attached: a new one starts from zero.
TEST_F(CgroupCounterKernelTest, ACounterThatEndsLeavesNothingBehind) {
    const std::uint64_t alpha = cgroupId(FScopes[0]);
    {
        TCgroupTrafficCounter second;
        ASSERT_EQ(second.Attach(FRoot), "");
        runIn(FScopes[0], [] { TKernelLab::SendUdpToPeer(2, 100); });
        EXPECT_EQ(countsOf(alpha).SentPackets, 2u);
    }
    TCgroupTrafficCounter third;
    ASSERT_EQ(third.Attach(FRoot), "");
    runIn(FScopes[0], [] { TKernelLab::SendUdpToPeer(1, 100); });
    std::uint64_t seenByThird = 0;
    for (const TCgroupTraffic& t : third.Read())
        if (t.Cgroup == alpha) seenByThird = t.SentPackets;
    EXPECT_EQ(seenByThird, 1u);
    EXPECT_EQ(countsOf(alpha).SentPackets, 3u);
}

TEST(CgroupCounterTest, AttachingWhereThereIsNoCgroupHierarchySaysWhy) {
    TCgroupTrafficCounter counter;
    EXPECT_NE(counter.Attach("/tmp"), "");
    EXPECT_NE(counter.Attach("/nonexistent-vantrix"), "");
    EXPECT_FALSE(counter.Attached());
    EXPECT_TRUE(counter.Read().empty());
}

}  // namespace
}  // namespace vx
