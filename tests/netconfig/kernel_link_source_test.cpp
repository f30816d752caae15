// The kernel's real values arriving in the network snapshot.
#include <gtest/gtest.h>
#include <net/if.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "netconfig/kernel_link_source.h"
#include "netconfig/namespace_fixture.h"
#include "netconfig/network_configuration.h"

// Counts heap allocations, so a test can show that reading counters makes
// none. ThreadSanitizer keeps its own allocator: there the count is off.
#if defined(__SANITIZE_THREAD__)
#define VX_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VX_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef VX_COUNT_ALLOCATIONS
#define VX_COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<long> gAllocations{0};
}
#if VX_COUNT_ALLOCATIONS
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++gAllocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace vx {
namespace {

using test::TKernelLab;

bool contains(const TStringList& list, const std::string& line) {
    return std::find(list.begin(), list.end(), line) != list.end();
}


TEST(KernelLinkSourceTest, SnapshotHoldsTheKernelsValues) {
    VX_REQUIRE_KERNEL_LAB();
    TNetworkConfiguration config;
    config.RefreshData();
    const int i = config.FindAdapter(std::string("vxa"));
    ASSERT_GE(i, 0);
    const TAdapter a = config.Adapter(static_cast<std::uint16_t>(i));
    EXPECT_EQ(a.IntfIdx, ::if_nametoindex("vxa"));
    EXPECT_EQ(a.MACAddress, "02:00:00:AA:BB:01");
    EXPECT_EQ(a.MTU, 1400u);
    EXPECT_EQ(a.Typ, atEthernet);
    EXPECT_EQ(a.IfType, 6u);
    EXPECT_EQ(a.OperStatus, aosOperational);
    EXPECT_EQ(a.AdminStatus, aasUp);
    EXPECT_EQ(a.Alias, "Vantrix test");
    EXPECT_EQ(a.Description, "veth");
    EXPECT_EQ(a.MaxSpeed, 10000000000ull);  // veth reports 10000 Mb/s
    EXPECT_TRUE(contains(*a.IPAddress, "10.200.0.1=255.255.255.0"));
    EXPECT_TRUE(contains(*a.IPAddress, "10.201.0.1=255.255.0.0"));
    EXPECT_TRUE(contains(*a.Gateways, "10.200.0.2=255.255.255.255"));
    EXPECT_FALSE(a.DHCPEnabled);  // addresses set by hand live forever
    EXPECT_TRUE(a.IPv4Enabled);

    const int lo = config.FindAdapter(std::string("lo"));
    ASSERT_GE(lo, 0);
    EXPECT_EQ(config.Adapter(static_cast<std::uint16_t>(lo)).Typ, atLoopback);
    EXPECT_EQ(config.Adapter(static_cast<std::uint16_t>(lo)).MACAddress, "");

    EXPECT_EQ(config.BestInterfaceIdx(), ::if_nametoindex("vxa"));
    const int addr = config.FindAddress(std::string("10.200.0.1"));
    ASSERT_GE(addr, 0);
    EXPECT_EQ(config.AddressRecord(static_cast<std::uint16_t>(addr)).Mask, "255.255.255.0");
    EXPECT_EQ(config.AddressRecord(static_cast<std::uint16_t>(addr)).IntfIdx, ::if_nametoindex("vxa"));
    EXPECT_EQ(config.CurrentIP(), "10.200.0.1");
    EXPECT_EQ(config.CurrentNetwork(), "Vantrix test");
}

TEST(KernelLinkSourceTest, CountersGrowWithTraffic) {
    VX_REQUIRE_KERNEL_LAB();
    TNetworkConfiguration config;
    const std::uint32_t index = ::if_nametoindex("vxa");
    std::uint64_t in0 = 0, out0 = 0, in1 = 0, out1 = 0;
    config.GetTraffic(index, in0, out0);
    TKernelLab::SendUdpToPeer(20, 1000);
    ASSERT_TRUE(TKernelLab::PeerSendsUdp(10, 700));
    config.GetTraffic(index, in1, out1);
    EXPECT_GE(out1 - out0, 20u * 1000u);
    EXPECT_GE(in1 - in0, 10u * 700u);

    // One link's counters and every link's in one reading agree.
    ASSERT_TRUE(config.ReadTraffic());
    std::uint64_t inAll = 0, outAll = 0;
    config.TrafficOf(index, inAll, outAll);
    config.GetTraffic(index, in1, out1);
    EXPECT_EQ(inAll, in1);
    EXPECT_EQ(outAll, out1);
}

TEST(KernelLinkSourceTest, ReadingCountersAllocatesNothingOnceWarm) {
    VX_REQUIRE_KERNEL_LAB();
    if (!VX_COUNT_ALLOCATIONS) GTEST_SKIP() << "allocations are not counted under ThreadSanitizer";
    TNetworkConfiguration config;
    const std::uint32_t index = ::if_nametoindex("vxa");
    std::uint64_t in = 0, out = 0;
    TKernelLab::SendUdpToPeer(3, 100);
    config.GetTraffic(index, in, out);  // the first calls open the socket and size the reading
    config.ReadTraffic();
    const long before = gAllocations.load();
    for (int i = 0; i < 100; ++i) {
        config.GetTraffic(index, in, out);
        config.ReadTraffic();
    }
    EXPECT_EQ(gAllocations.load() - before, 0);
    EXPECT_GT(out, 0u);
}

TEST(KernelLinkSourceTest, ADeletedInterfaceReadsZero) {
    VX_REQUIRE_KERNEL_LAB();
    ASSERT_TRUE(TKernelLab::Run("ip link add vxc type veth peer name vxd && ip link set vxc up && ip link set vxd up"));
    const std::uint32_t index = ::if_nametoindex("vxc");
    ASSERT_NE(index, 0u);
    TNetworkConfiguration config;
    config.RefreshData();
    EXPECT_GE(config.FindAdapter(std::string("vxc")), 0);
    ASSERT_TRUE(TKernelLab::Run("ip link del vxc"));
    std::uint64_t in = 1, out = 1;
    config.GetTraffic(index, in, out);
    EXPECT_EQ(in, 0u);
    EXPECT_EQ(out, 0u);
    config.RefreshData();
    EXPECT_EQ(config.FindAdapter(std::string("vxc")), -1);
}

}  // namespace
}  // namespace vx
