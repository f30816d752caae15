// Interface kinds as the kernel reports them, and the uplink total against
// real traffic through a bridge and a VLAN on one "physical" interface.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "netconfig/kernel_link_source.h"
#include "netconfig/namespace_fixture.h"
#include "netconfig/network_configuration.h"
#include "netconfig/uplink_link_source.h"

namespace vx {
namespace {

using test::TKernelLab;

TEST(InterfaceKindKernelTest, TheKindsTheKernelMakes) {
    VX_REQUIRE_KERNEL_LAB();
    // What this kernel can make (some leave out VLANs, bonds, WireGuard or dummies).
    const struct {
        const char* name;
        const char* command;
        TLinkKind expected;
    } cases[] = {
        {"lo", "true", TLinkKind::Loopback},
        {"vxa", "true", TLinkKind::Veth},
        {"vxbr", "ip link add vxbr type bridge", TLinkKind::Bridge},
        {"vxmv", "ip link add link vxa name vxmv type macvlan", TLinkKind::Vlan},
        {"vxa.7", "ip link add link vxa name vxa.7 type vlan id 7", TLinkKind::Vlan},
        {"vxtun", "ip tuntap add dev vxtun mode tun", TLinkKind::Tun},
        {"vxtap", "ip tuntap add dev vxtap mode tap", TLinkKind::Tun},
        {"vxbond", "ip link add vxbond type bond", TLinkKind::Bond},
        {"vxwg", "ip link add vxwg type wireguard", TLinkKind::WireGuard},
        {"vxdum", "ip link add vxdum type dummy", TLinkKind::Other},
    };
    std::vector<std::pair<std::string, TLinkKind>> made;
    for (const auto& c : cases)
        if (TKernelLab::Run(std::string(c.command) + " 2>/dev/null")) made.emplace_back(c.name, c.expected);
    ASSERT_GE(made.size(), 5u) << "loopback, veth, bridge, macvlan and tun at least";
    TKernelLinkSource source;
    std::vector<TLink> links;
    ASSERT_FALSE(source.Links(links));
    for (const auto& [name, expected] : made) {
        SCOPED_TRACE(name);
        const auto link = std::find_if(links.begin(), links.end(), [&](const TLink& l) { return l.Name == name; });
        ASSERT_NE(link, links.end());
        EXPECT_EQ(link->Index, ::if_nametoindex(name.c_str()));
        EXPECT_EQ(link->Kind, expected);
    }
    // The adapter records carry it.
    TNetworkConfiguration config;
    config.RefreshData();
    const int bridge = config.FindAdapter(std::string("vxbr"));
    ASSERT_GE(bridge, 0);
    EXPECT_EQ(config.Adapter(static_cast<std::uint16_t>(bridge)).Kind, TLinkKind::Bridge);
}

// No device stands behind an interface in a namespace: vxa is taken for
// the machine's network card here, everything else is as the kernel says.
class TVxaIsPhysical : public TKernelLinkSource {
public:
    std::error_code Links(std::vector<TLink>& out) override {
        const std::error_code error = TKernelLinkSource::Links(out);
        for (TLink& link : out)
            if (link.Name == "vxa") link.Kind = TLinkKind::Physical;
        return error;
    }
};

std::string gStacked;  // the VLAN (or MAC VLAN) of the test

struct TSent {
    std::uint64_t uplink = 0, card = 0, bridge = 0, vlan = 0;
};

TSent sentNow(TNetworkConfiguration& config) {
    TSent s;
    std::uint64_t received = 0;
    config.GetTraffic(kUplinkIndex, received, s.uplink);
    config.GetTraffic(::if_nametoindex("vxa"), received, s.card);
    config.GetTraffic(::if_nametoindex("vxbr"), received, s.bridge);
    config.GetTraffic(::if_nametoindex(gStacked.c_str()), received, s.vlan);
    return s;
}

void sendUdp(const char* address, int count, int bytes) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    ::inet_pton(AF_INET, address, &to.sin_addr);
    const std::string payload(static_cast<std::size_t>(bytes), 'v');
    for (int i = 0; i < count; ++i)
        ::sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    ::close(fd);
}

// Bytes sent through a bridge that has the card as its port, and through a
// VLAN on the card, pass the card too: the uplink total counts them there,
// once, while adding up every row would count them twice.
TEST(UplinkKernelTest, BridgeAndVlanTrafficIsCountedOnce) {
    VX_REQUIRE_KERNEL_LAB();
    for (const char* command : {"ip link add vxbr type bridge", "ip link set vxbr up", "ip link set vxa master vxbr",
                                "ip addr flush dev vxa", "ip addr add 10.200.0.1/24 dev vxbr"})
        ASSERT_TRUE(TKernelLab::Run(command)) << command;
    // A VLAN on the card where the kernel has them, else a MAC VLAN on the
    // bridge (its frames pass the bridge and the card: three rows, one wire).
    gStacked = TKernelLab::Run("ip link add link vxa name vxa.7 type vlan id 7 2>/dev/null") ? "vxa.7" : "vxmv";
    if (gStacked == "vxmv") {
        ASSERT_TRUE(TKernelLab::Run("ip link add link vxbr name vxmv type macvlan mode bridge"));
    }
    for (const std::string& command : {"ip addr add 10.209.0.1/24 dev " + gStacked, "ip link set " + gStacked + " up",
                                      // the far end does not answer on it: frames are sent, never answered
                                      "ip neigh replace 10.209.0.2 lladdr 02:00:00:00:09:02 dev " + gStacked +
                                          " nud permanent"})
        ASSERT_TRUE(TKernelLab::Run(command)) << command;
    ASSERT_TRUE(TKernelLab::WaitUntilUp("vxbr"));
    TNetworkConfiguration config(std::make_shared<TUplinkLinkSource>(std::make_shared<TVxaIsPhysical>()));
    config.RefreshData();
    ASSERT_GE(config.FindAdapter(std::int64_t{kUplinkIndex}), 0) << "the uplink total is listed";

    const TSent before = sentNow(config);
    TKernelLab::SendUdpToPeer(200, 1000);  // through the bridge
    sendUdp("10.209.0.2", 200, 1000);      // through the VLAN (and, for a MAC VLAN, the bridge)
    const TSent after = sentNow(config);
    const std::uint64_t uplink = after.uplink - before.uplink, card = after.card - before.card,
                        bridge = after.bridge - before.bridge, vlan = after.vlan - before.vlan;
    std::printf("sent: card %llu, bridge %llu, %s %llu; uplink %llu\n", static_cast<unsigned long long>(card),
                static_cast<unsigned long long>(bridge), gStacked.c_str(), static_cast<unsigned long long>(vlan),
                static_cast<unsigned long long>(uplink));
    EXPECT_GE(bridge, 200u * 1000);
    EXPECT_GE(vlan, 200u * 1000);
    EXPECT_GE(card + 2000, 400u * 1000);  // the card carried all of it
    // The uplink is the card's bytes: read a moment apart, a stray frame may differ.
    EXPECT_NEAR(static_cast<double>(uplink), static_cast<double>(card), 1500.0);
    EXPECT_LT(uplink + 350u * 1000, card + bridge + vlan) << "not the sum of every row";
}

}  // namespace
}  // namespace vx
