// Every field the link source reads, for every link in a namespace with
// veth, bridge, VLAN, dummy and tun interfaces (those this kernel can make),
// against what iproute2 prints for the same kernel objects.
#include <gtest/gtest.h>
#include <linux/if.h>
#include <linux/if_arp.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "netconfig/ipv4.h"
#include "netconfig/kernel_link_source.h"
#include "netconfig/namespace_fixture.h"

namespace vx {
namespace {

using test::TKernelLab;

QJsonArray ipJson(const std::string& arguments) {
    std::string text;
    if (FILE* p = ::popen(("ip -j " + arguments).c_str(), "r")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, p)) > 0;) text.append(chunk, n);
        ::pclose(p);
    }
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).array();
}

std::string hexAddress(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char pair[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x:", b);
        text += pair;
    }
    if (!text.empty()) text.pop_back();
    return text;
}

std::set<std::string> flagNames(std::uint32_t flags) {
    static const std::map<std::uint32_t, std::string> names = {
        {IFF_UP, "UP"},           {IFF_LOWER_UP, "LOWER_UP"}, {IFF_BROADCAST, "BROADCAST"},
        {IFF_MULTICAST, "MULTICAST"}, {IFF_LOOPBACK, "LOOPBACK"}, {IFF_POINTOPOINT, "POINTOPOINT"},
        {IFF_NOARP, "NOARP"},     {IFF_PROMISC, "PROMISC"}};
    std::set<std::string> out;
    for (const auto& [bit, name] : names)
        if (flags & bit) out.insert(name);
    return out;
}

std::set<std::string> flagNames(const QJsonArray& flags) {
    static const std::set<std::string> compared = {"UP",       "LOWER_UP",    "BROADCAST", "MULTICAST",
                                                   "LOOPBACK", "POINTOPOINT", "NOARP",     "PROMISC"};
    std::set<std::string> out;
    for (const QJsonValue& f : flags)
        if (compared.count(f.toString().toStdString())) out.insert(f.toString().toStdString());
    return out;
}

const char* operStateName(std::uint8_t state) {
    static const char* const names[] = {"UNKNOWN", "NOTPRESENT", "DOWN", "LOWERLAYERDOWN", "TESTING", "DORMANT", "UP"};
    return state < 7 ? names[state] : "?";
}

const char* linkTypeName(std::uint16_t arpType) {
    switch (arpType) {
        case ARPHRD_ETHER: return "ether";
        case ARPHRD_LOOPBACK: return "loopback";
        case ARPHRD_NONE: return "none";
        default: return "?";
    }
}

TEST(LinkSourceVsIpTest, EveryFieldOfEveryLinkAsIproute2SaysIt) {
    VX_REQUIRE_KERNEL_LAB();
    for (const char* command : {"ip link add vxbr type bridge", "ip link set vxbr up", "ip tuntap add dev vxtun mode tun",
                                "ip addr add 10.200.0.9/24 dev vxa", "ip link set vxa promisc on"})
        ASSERT_TRUE(TKernelLab::Run(command)) << command;
    std::vector<std::string> made = {"lo", "vxa", "vxbr", "vxtun"};
    if (TKernelLab::Run("ip link add link vxa name vxa.7 type vlan id 7 2>/dev/null")) made.push_back("vxa.7");
    if (TKernelLab::Run("ip link add vxdum type dummy 2>/dev/null && ip link set vxdum up")) made.push_back("vxdum");
    if (TKernelLab::Run("ip link add link vxa name vxmv type macvlan 2>/dev/null")) made.push_back("vxmv");
    ASSERT_TRUE(TKernelLab::WaitUntilUp("vxbr") || true);

    TKernelLinkSource source;
    std::vector<TLinkCounters> before, after;
    ASSERT_FALSE(source.Counters(before));
    const QJsonArray ipLinks = ipJson("-d -s link show");
    ASSERT_FALSE(source.Counters(after));
    std::vector<TLink> links;
    ASSERT_FALSE(source.Links(links));
    ASSERT_EQ(links.size(), static_cast<std::size_t>(ipLinks.size()));

    auto countersOf = [](const std::vector<TLinkCounters>& all, std::uint32_t index) {
        const auto it = std::find_if(all.begin(), all.end(), [&](const TLinkCounters& c) { return c.Index == index; });
        return it == all.end() ? TLinkCounters{} : *it;
    };
    std::set<std::string> seen;
    for (const QJsonValue& value : ipLinks) {
        const QJsonObject ip = value.toObject();
        const std::string name = ip["ifname"].toString().toStdString();
        SCOPED_TRACE(name);
        const auto link = std::find_if(links.begin(), links.end(), [&](const TLink& l) { return l.Name == name; });
        ASSERT_NE(link, links.end());
        seen.insert(name);
        EXPECT_EQ(link->Index, static_cast<std::uint32_t>(ip["ifindex"].toInt()));
        EXPECT_EQ(link->Alias, ip["ifalias"].toString().toStdString());
        EXPECT_EQ(flagNames(link->Flags), flagNames(ip["flags"].toArray()));
        EXPECT_EQ(operStateName(link->OperState), ip["operstate"].toString().toStdString());
        EXPECT_EQ(link->Mtu, static_cast<std::uint32_t>(ip["mtu"].toInt()));
        EXPECT_EQ(linkTypeName(link->ArpType), ip["link_type"].toString().toStdString());
        EXPECT_EQ(hexAddress(link->Address), ip["address"].toString().toStdString());
        // iproute2 names the permanent address only where it differs.
        if (ip.contains("permaddr")) {
            EXPECT_EQ(hexAddress(link->PermAddress), ip["permaddr"].toString().toStdString());
        } else {
            EXPECT_TRUE(link->PermAddress.empty() || link->PermAddress == link->Address);
        }
        static const std::map<std::string, TLinkKind> kinds = {
            {"bridge", TLinkKind::Bridge}, {"veth", TLinkKind::Veth},   {"tun", TLinkKind::Tun},
            {"vlan", TLinkKind::Vlan},     {"macvlan", TLinkKind::Vlan}, {"dummy", TLinkKind::Other}};
        const std::string kind = ip["linkinfo"].toObject()["info_kind"].toString().toStdString();
        if (const auto expected = kinds.find(kind); expected != kinds.end()) {
            EXPECT_EQ(link->Kind, expected->second);
        } else if (name == "lo") {
            EXPECT_EQ(link->Kind, TLinkKind::Loopback);
        }
        // iproute2 read its counters between our two readings.
        const QJsonObject stats = ip["stats64"].toObject();
        const auto rx = static_cast<std::uint64_t>(stats["rx"].toObject()["bytes"].toDouble());
        const auto tx = static_cast<std::uint64_t>(stats["tx"].toObject()["bytes"].toDouble());
        EXPECT_LE(countersOf(before, link->Index).Received, rx);
        EXPECT_GE(countersOf(after, link->Index).Received, rx);
        EXPECT_LE(countersOf(before, link->Index).Sent, tx);
        EXPECT_GE(countersOf(after, link->Index).Sent, tx);
    }
    for (const std::string& name : made) EXPECT_TRUE(seen.count(name)) << name;

    // Every IPv4 address with its prefix and flags.
    std::vector<TIpv4Address> addresses;
    ASSERT_FALSE(source.Addresses(addresses));
    std::size_t ipCount = 0;
    for (const QJsonValue& value : ipJson("addr show")) {
        const QJsonObject ip = value.toObject();
        for (const QJsonValue& a : ip["addr_info"].toArray()) {
            const QJsonObject info = a.toObject();
            if (info["family"].toString() != "inet") continue;
            ++ipCount;
            const std::string local = info["local"].toString().toStdString();
            SCOPED_TRACE(local);
            const auto found = std::find_if(addresses.begin(), addresses.end(), [&](const TIpv4Address& x) {
                return x.Index == static_cast<std::uint32_t>(ip["ifindex"].toInt()) && IPv4ToStr(x.Address) == local;
            });
            ASSERT_NE(found, addresses.end());
            EXPECT_EQ(found->PrefixLength, info["prefixlen"].toInt());
            EXPECT_EQ(found->Secondary, info["secondary"].toBool());
            EXPECT_EQ(found->Dynamic, info["dynamic"].toBool());
            EXPECT_EQ(found->Tentative, info["tentative"].toBool());
        }
    }
    EXPECT_EQ(addresses.size(), ipCount);
    EXPECT_GE(ipCount, 4u);  // loopback, vxa's three
}

}  // namespace
}  // namespace vx
