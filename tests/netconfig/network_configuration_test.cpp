#include <gtest/gtest.h>

#include <arpa/inet.h>

#include "netconfig/ipv4.h"
#include "netconfig/network_configuration.h"
#include "support/fake_ip_helper.h"

namespace vx {
namespace {

using test::Chain;
using test::TFakeIpHelper;

std::uint32_t net(const char* ip) { return IPv4ToNetwork(StrToIPv4(ip)); }

// A machine with a wired and a wireless adapter, as the platform reports it.
class NetworkConfigurationTest : public ::testing::Test {
protected:
    std::shared_ptr<TFakeIpHelper> fake = std::make_shared<TFakeIpHelper>();
    TNetworkConfiguration config{fake};

    void SetUp() override {
        TIpAdapterInfo eth;
        eth.AdapterName = " eth0 ";
        eth.Description = " e1000e ";
        eth.Address = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
        eth.Index = 2;
        eth.Type = 6;
        eth.DhcpEnabled = true;
        eth.IpAddressList = Chain({{"192.168.1.5", "255.255.255.0"}, {"10.0.0.7", "255.0.0.0"}});
        eth.GatewayList = Chain({{"192.168.1.1", "255.255.255.255"}});
        eth.DhcpServer = Chain({{"192.168.1.1", "255.255.255.255"}});
        eth.PrimaryWinsServer = Chain({{"0.0.0.0", "0.0.0.0"}});
        eth.SecondaryWinsServer = Chain({{"0.0.0.0", "0.0.0.0"}});
        TIpAdapterInfo wlan = eth;
        wlan.AdapterName = "wlan0";
        wlan.Description = "iwlwifi";
        wlan.Address = {};
        wlan.Index = 3;
        wlan.Type = 71;
        wlan.IpAddressList = Chain({{"0.0.0.0", "0.0.0.0"}});
        fake->adapters = {eth, wlan};
        fake->interfaces = {{2, "eth0"}, {3, "wlan0"}};

        TMibIfRow row;
        row.wszName.assign("eth0", 4);
        row.dwSpeed = 100000000;
        row.dwMtu = 1500;
        row.dwAdminStatus = 1;
        row.dwOperStatus = 5;
        row.dwInOctets = 4000000000u;
        fake->rows[2] = row;
        TMibIfRow2 row2;
        row2.Description.assign("eth0", 4);
        row2.Alias.assign("Wired", 5);
        row2.TransmitLinkSpeed = 1000000000;
        row2.Mtu = 9000;
        row2.InOctets = 5000000000ull;
        row2.OutOctets = 7;
        fake->rows2[2] = row2;

        fake->addrTable = {{net("192.168.1.5"), 2, net("255.255.255.0"), 0, kMibIpAddrPrimary | kMibIpAddrDynamic},
                           {net("10.0.0.7"), 2, net("255.0.0.0"), 0, kMibIpAddrTransient}};
        TMibIpNetRow arp;
        arp.dwIndex = 2;
        arp.dwAddr = net("192.168.1.1");
        arp.dwPhysAddrLen = 6;
        arp.bPhysAddr = {0xAA, 0xBB, 0xCC, 0x00, 0x11, 0x22};
        arp.dwType = kIpNetTypeDynamic;
        fake->netTable = {arp};
        fake->bestInterface = 2;
    }
};

TEST_F(NetworkConfigurationTest, RefreshBuildsTheAdapters) {
    config.RefreshData();
    ASSERT_EQ(config.AdapterCount(), 2);
    const TAdapter eth = config.Adapter(0);
    EXPECT_EQ(eth.Name, "eth0");  // from the 64-bit row
    EXPECT_EQ(eth.Description, "e1000e");
    EXPECT_EQ(eth.Alias, "Wired");
    EXPECT_EQ(eth.MACAddress, "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(eth.MaxSpeed, 1000000000u);
    EXPECT_EQ(eth.MTU, 9000u);
    EXPECT_EQ(eth.Typ, atEthernet);
    EXPECT_EQ(eth.AdminStatus, aasUp);
    EXPECT_EQ(eth.OperStatus, aosOperational);
    EXPECT_EQ(eth.IfOperStatus, 5u);
    EXPECT_TRUE(eth.DHCPEnabled);
    EXPECT_EQ(*eth.IPAddress, (TStringList{"192.168.1.5=255.255.255.0", "10.0.0.7=255.0.0.0"}));
    EXPECT_EQ(*eth.Gateways, (TStringList{"192.168.1.1=255.255.255.255"}));
    EXPECT_EQ(eth.IntfIdx, 2u);

    const TAdapter wlan = config.Adapter(1);
    EXPECT_EQ(wlan.MACAddress, "");
    EXPECT_EQ(wlan.Typ, atIEEE80211);
    EXPECT_EQ(wlan.Name, "wlan0");  // no rows: the adapter name stays
    EXPECT_EQ(wlan.MaxSpeed, 0u);
    EXPECT_EQ(wlan.OperStatus, aosNonOperational);

    ASSERT_EQ(config.AdressRecordCount(), 2);
    EXPECT_EQ(config.AddressRecord(0).IP, "192.168.1.5");
    EXPECT_EQ(config.AddressRecord(0).Typ, (1u << atPrimary) | (1u << atDynamic));
    EXPECT_EQ(config.AddressRecord(1).Typ, 1u << atTransient);
    ASSERT_EQ(config.ARPRecordCount(), 1);
    EXPECT_EQ(config.ARPRecord(0).Mask, "255.255.255.0");
    EXPECT_EQ(config.ARPRecord(0).Physical, "AA:BB:CC:00:11:22");
    EXPECT_EQ(config.ARPRecord(0).ARPType, kIpNetTypeDynamic);
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
}

TEST_F(NetworkConfigurationTest, BuffersGrowUntilTheyFit) {
    fake->extraNeeded["GetAdaptersInfo"] = {100, 900};
    fake->extraNeeded["GetNetworkParams"] = {16};
    config.RefreshData();
    EXPECT_EQ(config.AdapterCount(), 2);
    // 640 first; then what was asked (2 * 640 + 100) plus 640; then 2 * 640 + 900 + 640.
    EXPECT_EQ(fake->sizesOf("GetAdaptersInfo"), (std::vector<std::uint32_t>{640, 2020, 2820}));
    EXPECT_EQ(fake->sizesOf("GetInterfaceInfo"), (std::vector<std::uint32_t>{520}));
    EXPECT_EQ(fake->sizesOf("GetNetworkParams"), (std::vector<std::uint32_t>{584, 600}));  // exactly what it asked
    EXPECT_EQ(fake->sizesOf("GetIpAddrTable"), (std::vector<std::uint32_t>{0, 48}));
}

TEST_F(NetworkConfigurationTest, AServiceThatAlwaysWantsMoreDoesNotHang) {
    std::vector<std::uint32_t> ever(1000);
    for (std::uint32_t i = 0; i < ever.size(); ++i) ever[i] = (i + 1) << 20;  // more each time
    fake->extraNeeded["GetAdaptersInfo"] = ever;
    config.RefreshData();
    EXPECT_EQ(config.AdapterCount(), 0);
    EXPECT_LT(fake->countOf("GetAdaptersInfo"), 100);
    EXPECT_EQ(config.AdressRecordCount(), 2);  // the next steps still ran
}

TEST_F(NetworkConfigurationTest, EmptyAddressTableEndsTheRefresh) {
    fake->addrTable.clear();
    config.RefreshData();
    EXPECT_EQ(config.AdressRecordCount(), 0);
    EXPECT_EQ(config.ARPRecordCount(), 0);
    EXPECT_EQ(config.BestInterfaceIdx(), 0u);  // even though a best interface exists
    EXPECT_EQ(fake->countOf("GetIpNetTable"), 0);
    EXPECT_EQ(fake->countOf("GetBestInterface"), 0);

    // An empty ARP table does not hide the best interface.
    fake->addrTable = {{net("192.168.1.5"), 2, net("255.255.255.0"), 0, 1}};
    fake->netTable.clear();
    config.RefreshData();
    EXPECT_EQ(config.AdressRecordCount(), 1);
    EXPECT_EQ(config.ARPRecordCount(), 0);
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
}

TEST_F(NetworkConfigurationTest, BestInterfaceFallsBackToTheFirstOperational) {
    fake->bestInterface.reset();
    config.RefreshData();
    EXPECT_EQ(config.BestInterfaceIdx(), 2u);
    fake->rows[2].dwOperStatus = 2;  // nothing operational: the first adapter with an address
    config.RefreshData();
    EXPECT_EQ(config.FindFirstOperational(), 0);
    fake->adapters[0].IpAddressList = Chain({{"0.0.0.0", "0.0.0.0"}});
    config.RefreshData();
    EXPECT_EQ(config.FindFirstOperational(), -1);
    EXPECT_EQ(config.BestInterfaceIdx(), 0u);
    fake->adapters[1].IpAddressList = Chain({{"1.2.3", "255.0.0.0"}});
    EXPECT_THROW(config.RefreshData(), EIPv4Error);
}

TEST_F(NetworkConfigurationTest, SelfLinkedAndLoopingChainsEnd) {
    fake->adapters[0].GatewayList = {{"192.168.1.1", "255.255.255.255", 0}};  // names itself
    fake->adapters[0].DhcpServer = {{"10.0.0.1", "m", 1}, {"10.0.0.2", "m", 0}};  // a loop of two
    fake->params.DnsServerList = {{"1.1.1.1", "", 1}, {"9.9.9.9", "", 2}, {"9.9.9.9", "", -1}};
    fake->adapterAddresses = {{2, kIpAdapterIpv4Enabled, "lan", {{StrToIPv4("8.8.4.4"), 0}}}};
    config.RefreshData();
    const TAdapter eth = config.Adapter(0);
    EXPECT_EQ(*eth.Gateways, (TStringList{"192.168.1.1=255.255.255.255"}));
    EXPECT_EQ(*eth.DHCPServers, (TStringList{"10.0.0.1=m", "10.0.0.2=m"}));
    EXPECT_EQ(*eth.DNSServers, (TStringList{"8.8.4.4"}));
    EXPECT_EQ(eth.DNSSuffix, "lan");
    EXPECT_TRUE(eth.IPv4Enabled);
    EXPECT_FALSE(eth.IPv6Enabled);
    EXPECT_EQ(config.DNSServers(), (TStringList{"1.1.1.1", "9.9.9.9"}));  // stops at the repeated address
}

TEST_F(NetworkConfigurationTest, InterfaceIndexComesFromTheNameTable) {
    fake->interfaces = {{7, "  ETH0}tail "}, {3, "wlan0"}};
    fake->rows2[2].Description.assign("eth0}", 5);
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).IntfIdx, 7u);  // "eth0}" matched without regard to case, cut after "}"
    EXPECT_EQ(config.Adapter(1).IntfIdx, 3u);
    fake->interfaces.clear();
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).IntfIdx, 2u);  // not in the table: the adapter's own index
}

TEST_F(NetworkConfigurationTest, AliasAndNameFallbacks) {
    fake->rows2[2].Alias.assign("", 0);
    fake->aliases[2] = "From LUID";
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).Alias, "From LUID");
    fake->hasLuid = false;
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).Alias, "");

    fake->rows.clear();
    fake->rows2.clear();
    fake->adapters[0].AdapterName = "";
    config.RefreshData();
    EXPECT_EQ(config.Adapter(0).Name, "e1000e");  // no name anywhere: the description
}

TEST_F(NetworkConfigurationTest, TypeNumbersOutsideTheTableAreOther) {
    fake->adapters[1].Type = 53;
    config.RefreshData();
    EXPECT_EQ(config.Adapter(1).Typ, atOther);
    EXPECT_EQ(config.Adapter(1).IfType, 53u);
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

TEST_F(NetworkConfigurationTest, MissingServiceGivesAnEmptySnapshot) {
    config.RefreshData();
    fake->present = false;
    config.RefreshData();
    EXPECT_EQ(config.AdapterCount(), 0);
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

TEST_F(NetworkConfigurationTest, TrafficPrefersTheWideCounters) {
    std::uint64_t in = 1, out = 1;
    config.GetTraffic(2, in, out);  // no refresh needed
    EXPECT_EQ(in, 5000000000ull);
    EXPECT_EQ(out, 7u);
    fake->failWith["GetIfEntry2"] = kErrorNotFound;
    config.GetTraffic(2, in, out);
    EXPECT_EQ(in, 4000000000u);  // the 32-bit row
    fake->hasIfEntry2 = false;
    fake->rows[2].dwInOctets = 4294967295u;
    config.GetTraffic(2, in, out);
    EXPECT_EQ(in, 4294967295u);
    in = out = 99;
    config.GetTraffic(42, in, out);
    EXPECT_EQ(in, 0u);
    EXPECT_EQ(out, 0u);
}

}  // namespace
}  // namespace vx
