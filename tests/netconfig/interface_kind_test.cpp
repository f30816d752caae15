// What an interface is, from the kernel's link kind and sysfs; and the
// uplink total that adds each physical byte once.
#include <gtest/gtest.h>
#include <linux/if_arp.h>

#include <filesystem>

#include "netconfig/interface_kind.h"
#include "netconfig/uplink_total.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

// The physical rule on a sysfs tree of the test's own: a device behind the
// interface makes it physical, unless the kernel names a link kind.
TEST(InterfaceKindTest, ClassifiedFromTheLinkKindThenSysfs) {
    test::TTempDir sys;
    const std::filesystem::path net = sys.path() / "class" / "net";
    for (const char* name : {"enp3s0", "wlp2s0", "usb0", "vethdev"}) std::filesystem::create_directories(net / name / "device");
    for (const char* name : {"br0", "veth1", "wg0"}) std::filesystem::create_directories(net / name);
    const struct {
        const char* name;
        const char* kind;
        std::uint16_t arpType;
        TLinkKind expected;
    } cases[] = {
        {"enp3s0", "", ARPHRD_ETHER, TLinkKind::Physical},
        {"wlp2s0", "", ARPHRD_ETHER, TLinkKind::Physical},
        {"usb0", "", ARPHRD_ETHER, TLinkKind::Physical},
        {"lo", "", ARPHRD_LOOPBACK, TLinkKind::Loopback},
        {"br0", "bridge", ARPHRD_ETHER, TLinkKind::Bridge},
        {"bond0", "bond", ARPHRD_ETHER, TLinkKind::Bond},
        {"enp3s0.7", "vlan", ARPHRD_ETHER, TLinkKind::Vlan},
        {"macvlan0", "macvlan", ARPHRD_ETHER, TLinkKind::Vlan},
        {"veth1", "veth", ARPHRD_ETHER, TLinkKind::Veth},
        {"vethdev", "veth", ARPHRD_ETHER, TLinkKind::Veth},  // the kernel's kind wins over a device
        {"tun0", "tun", ARPHRD_NONE, TLinkKind::Tun},
        {"sit0", "", ARPHRD_SIT, TLinkKind::Tun},
        {"wg0", "wireguard", ARPHRD_NONE, TLinkKind::WireGuard},
        {"dummy0", "dummy", ARPHRD_ETHER, TLinkKind::Other},
        {"nodevice", "", ARPHRD_ETHER, TLinkKind::Other},
        {"../../enp3s0", "", ARPHRD_ETHER, TLinkKind::Other},  // no path out of sysfs
        {"", "", ARPHRD_ETHER, TLinkKind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClassifyLink(c.name, c.kind, c.arpType, sys.path()), c.expected);
    }
}

// Each step: the physical interfaces' counters, and the total after them.
TEST(UplinkTotalTest, GrowsByEachInterfacesOwnDifferences) {
    TUplinkTotal total;
    const struct {
        const char* what;
        std::vector<TUplinkReading> readings;
        std::uint64_t received, sent;
    } steps[] = {
        {"first sight: the interfaces' totals", {{2, 1000, 100}, {3, 500, 50}}, 1500, 150},
        {"both grow", {{2, 1600, 130}, {3, 900, 60}}, 2500, 190},
        {"one comes up with bytes of before: none of them added", {{2, 1600, 130}, {3, 900, 60}, {4, 7000, 7000}},
         2500, 190},
        {"and then grows", {{2, 1600, 130}, {3, 900, 60}, {4, 7100, 7010}}, 2600, 200},
        {"one re-created (counters back): no difference", {{2, 10, 5}, {3, 900, 60}, {4, 7100, 7010}}, 2600, 200},
        {"it grows from there", {{2, 40, 15}, {3, 900, 60}, {4, 7100, 7010}}, 2630, 210},
        {"one gone: the total stays", {{3, 900, 60}, {4, 7100, 7010}}, 2630, 210},
        {"back with other counters: a new start", {{2, 99999, 99999}, {3, 900, 60}, {4, 7100, 7010}}, 2630, 210},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        total.Update(step.readings);
        EXPECT_EQ(total.Received(), step.received);
        EXPECT_EQ(total.Sent(), step.sent);
    }
}

}  // namespace
}  // namespace vx
