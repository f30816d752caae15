#include <gtest/gtest.h>

#include <linux/if.h>
#include <linux/if_arp.h>

#include "netconfig/ipv4.h"
#include "netconfig/network_configuration.h"
#include "support/fake_link_source.h"

namespace vx {
namespace {

using test::TFakeLinkSource;

std::uint32_t ip(const char* text) { return StrToIPv4(text); }

// A machine with a wired and a wireless adapter, as the kernel reports it.
class NetworkConfigurationTest : public ::testing::Test {
protected:
    std::shared_ptr<TFakeLinkSource> fake = std::make_shared<TFakeLinkSource>();
    TNetworkConfiguration config{fake};

    void SetUp() override {
        TLink& eth = fake->AddLink(2, " eth0 ", TLinkKind::Physical);
        eth.Driver = " e1000e ";
        eth.Alias = "Wired";
        eth.Address = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
        eth.Speed = 1000000000;
        eth.Mtu = 9000;
        eth.DhcpServer = "192.168.1.1";
        eth.DnsServers = {"8.8.4.4"};
        eth.DnsSuffix = "lan";
        TLink& wlan = fake->AddLink(3, "wlan0");
        wlan.Driver = "iwlwifi";
        wlan.Wireless = true;
        wlan.Flags = IFF_UP;  // no carrier
        wlan.OperState = IF_OPER_DOWN;
        wlan.Address = {0, 0, 0, 0, 0, 0};
        wlan.Ipv6Enabled = true;
        fake->SetCounters(2, 5000000000ull, 7);

        fake->addresses = {{2, ip("192.168.1.5"), 24, false, true, false}, {2, ip("10.0.0.7"), 8, true, false, true}};
        fake->gateways = {{2, ip("192.168.1.1")}};
        fake->neighbours = {{2, ip("192.168.1.1"), {0xAA, 0xBB, 0xCC, 0x00, 0x11, 0x22}, TNeighbourState::Dynamic}};
        fake->route = 2;
        fake->host = {"box", "example.org", {"1.1.1.1", "9.9.9.9", "9.9.9.9", "8.8.8.8"}, true, false};
    }
};

TEST_F(NetworkConfigurationTest, RefreshBuildsTheAdapters) {
    config.RefreshData();
    ASSERT_EQ(config.AdapterCount(), 2);
    const TAdapter eth = config.Adapter(0);
    EXPECT_EQ(eth.Name, "eth0");
    EXPECT_EQ(eth.Description, "e1000e");
    EXPECT_EQ(eth.Alias, "Wired");
    EXPECT_EQ(eth.MACAddress, "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(eth.MaxSpeed, 1000000000u);
    EXPECT_EQ(eth.MTU, 9000u);
    EXPECT_EQ(eth.Typ, atEthernet);
    EXPECT_EQ(eth.IfType, 6u);
    EXPECT_EQ(eth.AdminStatus, aasUp);
    EXPECT_EQ(eth.OperStatus, aosOperational);
    EXPECT_EQ(eth.IfOperStatus, 5u);
    EXPECT_EQ(eth.Kind, TLinkKind::Physical);
    EXPECT_TRUE(eth.DHCPEnabled);  // one of its addresses has a lifetime
    EXPECT_EQ(*eth.IPAddress, (TStringList{"192.168.1.5=255.255.255.0", "10.0.0.7=255.0.0.0"}));
    EXPECT_EQ(*eth.Gateways, (TStringList{"192.168.1.1=255.255.255.255"}));
    EXPECT_EQ(*eth.DHCPServers, (TStringList{"192.168.1.1=255.255.255.255"}));
    EXPECT_EQ(*eth.PrimaryWINS, (TStringList{"0.0.0.0=0.0.0.0"}));
    EXPECT_FALSE(eth.HaveWINS);
    EXPECT_EQ(*eth.DNSServers, (TStringList{"8.8.4.4"}));
    EXPECT_EQ(eth.DNSSuffix, "lan");
    EXPECT_TRUE(eth.IPv4Enabled);
    EXPECT_FALSE(eth.IPv6Enabled);
    EXPECT_EQ(eth.IntfIdx, 2u);

    const TAdapter wlan = config.Adapter(1);
    EXPECT_EQ(wlan.MACAddress, "");  // all zeros: none shown
    EXPECT_EQ(wlan.Typ, atIEEE80211);
    EXPECT_EQ(wlan.IfType, 71u);
    EXPECT_EQ(wlan.OperStatus, aosDisconnected);
    EXPECT_EQ(*wlan.IPAddress, (TStringList{"0.0.0.0=0.0.0.0"}));
    EXPECT_EQ(*wlan.DHCPServers, (TStringList{"0.0.0.0=0.0.0.0"}));  // no lease without a dynamic address
    EXPECT_TRUE(wlan.IPv6Enabled);

    ASSERT_EQ(config.AdressRecordCount(), 2);
    EXPECT_EQ(config.AddressRecord(0).IP, "192.168.1.5");
    EXPECT_EQ(config.AddressRecord(0).Mask, "255.255.255.0");
    EXPECT_EQ(config.AddressRecord(0).Typ, (1u << atPrimary) | (1u << atDynamic));
    EXPECT_EQ(config.AddressRecord(1).Typ, 1u << atTransient);
    ASSERT_EQ(config.ARPRecordCount(), 1);
    EXPECT_EQ(config.ARPRecord(0).Mask, "255.255.255.0");
    EXPECT_EQ(config.ARPRecord(0).Physical, "AA:BB:CC:00:11:22");
    EXPECT_EQ(config.ARPRecord(0).ARPType, 3u);  // dynamic
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);

    EXPECT_EQ(config.HostName(), "box");
    EXPECT_EQ(config.DomainName(), "example.org");
    EXPECT_TRUE(config.RoutingEnabled());
    EXPECT_EQ(config.PrimaryDNSSuffix(), "1.1.1.1");
    EXPECT_EQ(config.DNSServers(), (TStringList{"1.1.1.1", "9.9.9.9"}));  // stops at the repeated address
}

// Each state the kernel reports gives the status the list filters on and
// the pictures show.
TEST_F(NetworkConfigurationTest, KernelStatesMapToTheAdapterStatus) {
    const struct {
        std::uint8_t operState;
        unsigned flags;
        std::uint32_t number;
    } cases[] = {
        {IF_OPER_UP, IFF_UP, 5},
        {IF_OPER_DORMANT, IFF_UP, 3},
        {IF_OPER_DOWN, IFF_UP, 2},
        {IF_OPER_LOWERLAYERDOWN, IFF_UP, 2},
        {IF_OPER_NOTPRESENT, 0, 0},
        {IF_OPER_TESTING, IFF_UP, 1},
        {IF_OPER_UNKNOWN, IFF_UP | IFF_LOWER_UP, 5},  // loopback, tun: up with a carrier
        {IF_OPER_UNKNOWN, IFF_UP, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.operState) << " " << c.flags);
        fake->links[0].OperState = c.operState;
        fake->links[0].Flags = c.flags;
        config.RefreshData();
        EXPECT_EQ(config.Adapter(0).IfOperStatus, c.number);
        EXPECT_EQ(config.Adapter(0).OperStatus, static_cast<TAdapterOperationalStatus>(c.number));
        EXPECT_EQ(config.Adapter(0).AdminStatus, (c.flags & IFF_UP) ? aasUp : aasDown);
        // An address on a link that is not operational is disconnected.
        EXPECT_EQ((config.AddressRecord(0).Typ >> atDisconnected) & 1u, c.number == 5 ? 0u : 1u);
    }
    const struct {
        std::uint16_t arpType;
        bool wireless;
        TAdapterType type;
    } types[] = {{ARPHRD_ETHER, false, atEthernet},  {ARPHRD_ETHER, true, atIEEE80211}, {ARPHRD_LOOPBACK, false, atLoopback},
                 {ARPHRD_PPP, false, atPPP},         {ARPHRD_NONE, false, atTunnel},     {ARPHRD_SIT, false, atTunnel},
                 {ARPHRD_IEEE1394, false, atIEEE1394}, {ARPHRD_RAWIP, false, atWWANPP},  {ARPHRD_CAN, false, atOther}};
    for (const auto& t : types) {
        SCOPED_TRACE(t.arpType);
        EXPECT_EQ(AdapterTypeOf(InterfaceTypeOf(t.arpType, t.wireless)), t.type);
    }
}

TEST_F(NetworkConfigurationTest, EmptyAddressTableEndsTheRefresh) {
    fake->addresses.clear();
    config.RefreshData();
    EXPECT_EQ(config.AdapterCount(), 2);
    EXPECT_EQ(config.AdressRecordCount(), 0);
    EXPECT_EQ(config.ARPRecordCount(), 0);
    EXPECT_EQ(config.BestInterfaceIdx(), 0u);  // even though a best interface exists
    EXPECT_EQ(fake->countOf("Neighbours"), 0);
    EXPECT_EQ(fake->countOf("RouteTo"), 0);

    // An empty ARP table does not hide the best interface.
    fake->addresses = {{2, ip("192.168.1.5"), 24}};
    fake->neighbours.clear();
    config.RefreshData();
    EXPECT_EQ(config.AdressRecordCount(), 1);
    EXPECT_EQ(config.ARPRecordCount(), 0);
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
}

// A reading that fails leaves its share empty; the others still arrive.
TEST_F(NetworkConfigurationTest, AFailedReadingLeavesItsShareEmpty) {
    const auto denied = std::make_error_code(std::errc::operation_not_permitted);
    fake->failWith["Gateways"] = denied;
    fake->failWith["Neighbours"] = denied;
    config.RefreshData();
    ASSERT_EQ(config.AdapterCount(), 2);
    EXPECT_EQ(*config.Adapter(0).Gateways, (TStringList{"0.0.0.0=0.0.0.0"}));
    EXPECT_EQ(config.ARPRecordCount(), 0);
    EXPECT_EQ(config.AdressRecordCount(), 2);
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
}

TEST_F(NetworkConfigurationTest, BestInterfaceFallsBackToTheFirstOperational) {
    fake->route.reset();
    config.RefreshData();
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
    fake->links[0].OperState = IF_OPER_DOWN;  // nothing operational: the first adapter with an address
    config.RefreshData();
    EXPECT_EQ(config.FindFirstOperational(), 0);
    fake->addresses = {{3, 0, 0}};  // wlan0's only address is 0.0.0.0
    config.RefreshData();
    EXPECT_EQ(config.FindFirstOperational(), -1);
    EXPECT_EQ(config.BestInterfaceIdx(), 0u);
}

TEST_F(NetworkConfigurationTest, NameFallsBackToTheDriver) {
    fake->links[0].Name = "";
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).Name, "e1000e");
}

TEST_F(NetworkConfigurationTest, TypeNumbersOutsideTheTableAreOther) {
    struct Case {
        std::uint32_t number;
        TAdapterType type;
    };
    for (const Case c : {Case{1, atOther}, Case{9, atTokenRing}, Case{23, atPPP}, Case{24, atLoopback},
                         Case{131, atTunnel}, Case{144, atIEEE1394}, Case{237, atIEEE80216_WMAN},
                         Case{243, atWWANPP}, Case{244, atWWANPP2}, Case{0, atOther}})
        EXPECT_EQ(AdapterTypeOf(c.number), c.type) << c.number;
}

TEST_F(NetworkConfigurationTest, MarksAndImagesAreClearedByARefresh) {
    config.RefreshData();
    config.SetAdapterMark(0, true);
    config.SetAdapterImageIndex(1, 9);
    const TAdapter copy = config.Adapter(0);
    config.RefreshData();
    EXPECT_FALSE(config.AdapterMark(0));
    EXPECT_EQ(config.AdapterImageIndex(1), 0);
    EXPECT_EQ(copy.IPAddress->size(), 2u);  // a copy's lists stay readable after the refresh
}

TEST_F(NetworkConfigurationTest, NoLinksGiveAnEmptySnapshot) {
    config.RefreshData();
    fake->failWith["Links"] = std::make_error_code(std::errc::address_family_not_supported);
    config.RefreshData();
    EXPECT_EQ(config.AdapterCount(), 0);
    EXPECT_EQ(config.AdressRecordCount(), 0);
    EXPECT_EQ(config.FindFirstOperational(), -1);
    EXPECT_EQ(config.FindFirstOperationalIntfIdx(), 0u);
    EXPECT_EQ(config.BestInterfaceIdx(), 0u);
    EXPECT_EQ(config.SetIP(2, true, "1.2.3.4", "255.0.0.0", ""), -1);
    EXPECT_EQ(config.SetDNS(2, false, "", ""), -1);
}

TEST_F(NetworkConfigurationTest, Lookups) {
    config.RefreshData();
    EXPECT_EQ(config.FindAdapter(std::string("ETH0")), 0);
    EXPECT_EQ(config.FindAdapter(std::string("")), -1);
    EXPECT_EQ(config.FindAdapter(std::int64_t{3}), 1);
    EXPECT_EQ(config.FindAdapter(std::int64_t{-1}), -1);
    EXPECT_EQ(config.FindAddress(std::string("10.0.0.7")), 1);
    EXPECT_EQ(config.FindAddress(std::uint32_t{3}), -1);
    EXPECT_EQ(config.CurrentIP(), "192.168.1.5");
    EXPECT_EQ(config.CurrentMAC(), "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(config.CurrentNetwork(), "Wired");
}

TEST_F(NetworkConfigurationTest, TrafficOfOneLinkAndOfAll) {
    std::uint64_t in = 1, out = 1;
    config.GetTraffic(2, in, out);  // no refresh needed
    EXPECT_EQ(in, 5000000000ull);
    EXPECT_EQ(out, 7u);
    in = out = 99;
    config.GetTraffic(42, in, out);
    EXPECT_EQ(in, 0u);
    EXPECT_EQ(out, 0u);

    fake->SetCounters(3, 11, 12);
    ASSERT_TRUE(config.ReadTraffic());
    EXPECT_EQ(fake->countOf("Counters"), 1);  // one reading for every row
    config.TrafficOf(3, in, out);
    EXPECT_EQ(in, 11u);
    config.TrafficOf(2, in, out);
    EXPECT_EQ(in, 5000000000ull);
    config.TrafficOf(42, in, out);
    EXPECT_EQ(in, 0u);
    fake->failWith["Counters"] = std::make_error_code(std::errc::no_buffer_space);
    EXPECT_FALSE(config.ReadTraffic());
    config.TrafficOf(2, in, out);
    EXPECT_EQ(in, 0u);  // nothing read: zeros, not the last reading
}

}  // namespace
}  // namespace vx
