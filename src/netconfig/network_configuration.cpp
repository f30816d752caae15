#include "netconfig/network_configuration.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>

#include "netconfig/ipv4.h"
#include "netconfig/kernel_link_source.h"

namespace vx {
namespace {

constexpr const char* kNoAddress = "0.0.0.0=0.0.0.0";

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool sameAscii(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

std::uint32_t maskOf(int prefixLength) {
    if (prefixLength <= 0) return 0;
    if (prefixLength >= 32) return 0xFFFFFFFFu;
    return ~((1u << (32 - prefixLength)) - 1);
}

// An adapter's list always holds at least the line of no address.
std::shared_ptr<TStringList> linesOr(TStringList lines) {
    if (lines.empty()) lines.push_back(kNoAddress);
    return std::make_shared<TStringList>(std::move(lines));
}

// Hardware addresses worth showing: Ethernet-like ones that are not all zero.
bool showsHardwareAddress(const std::vector<std::uint8_t>& bytes, std::uint16_t arpType) {
    const bool ethernetLike = arpType == ARPHRD_ETHER || arpType == ARPHRD_IEEE802 || arpType == ARPHRD_IEEE1394 ||
                              arpType == ARPHRD_INFINIBAND || arpType == ARPHRD_IEEE80211;
    return ethernetLike && std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; });
}

// The ARP entry type numbers: other 1, invalid 2, dynamic 3, static 4.
std::uint32_t arpTypeOf(TNeighbourState state) {
    switch (state) {
        case TNeighbourState::Invalid: return 2;
        case TNeighbourState::Dynamic: return 3;
        case TNeighbourState::Static: return 4;
        case TNeighbourState::Other: break;
    }
    return 1;
}

}  // namespace

TNetworkConfiguration::TNetworkConfiguration(std::shared_ptr<ILinkSource> source)
    : FSource(source ? std::move(source) : std::make_shared<TKernelLinkSource>()) {
    Clear();
}

void TNetworkConfiguration::Clear() {
    FAdapters.clear();
    FAT.clear();
    FARP.clear();
    FDNSList.clear();
    FProxy = FRouting = FDNS = false;
    FHost.clear();
    FDomain.clear();
    FDNSSuf.clear();
    FDHCPScope.clear();
    FNode = ntUnknown;
    FBII = 0;
}

void TNetworkConfiguration::RefreshData() {
    Clear();
    std::vector<TLink> links;
    if (FSource->Links(links)) return;
    std::vector<TIpv4Address> addresses;
    FSource->Addresses(addresses);
    readAdapters(links, addresses);
    readHost();
    if (!readAddressTable(links, addresses)) return;
    // An empty ARP table (a tunnel or point-to-point link, a fresh boot) says
    // nothing about routing: the best interface is still asked for.
    readArpTable();
    readBestInterface();
}

void TNetworkConfiguration::readAdapters(const std::vector<TLink>& links,
                                         const std::vector<TIpv4Address>& addresses) {
    std::vector<TGateway> gateways;
    FSource->Gateways(gateways);
    for (const TLink& link : links) {
        TAdapter a;
        a.Name = trim(link.Name);
        a.Description = trim(link.Driver);
        if (a.Name.empty()) a.Name = a.Description;
        a.Alias = trim(link.Alias);
        a.IntfIdx = link.Index;
        a.Kind = link.Kind;
        a.IfType = InterfaceTypeOf(link.ArpType, link.Wireless);
        a.Typ = AdapterTypeOf(a.IfType);
        if (showsHardwareAddress(link.Address, link.ArpType))
            a.MACAddress = FormatMacAddress(link.Address.data(), link.Address.size());
        a.MaxSpeed = link.Speed;
        a.MTU = link.Mtu;
        a.AdminStatus = (link.Flags & IFF_UP) ? aasUp : aasDown;
        a.IfOperStatus = OperStatusNumberOf(link.OperState, link.Flags);
        a.OperStatus = static_cast<TAdapterOperationalStatus>(a.IfOperStatus);

        TStringList lines;
        for (const TIpv4Address& address : addresses) {
            if (address.Index != link.Index) continue;
            lines.push_back(IPv4ToStr(address.Address) + "=" + IPv4ToStr(maskOf(address.PrefixLength)));
            // An address with a finite lifetime was handed out by DHCP.
            a.DHCPEnabled = a.DHCPEnabled || address.Dynamic;
        }
        a.IPAddress = linesOr(std::move(lines));
        lines = {};
        for (const TGateway& gateway : gateways)
            if (gateway.Index == link.Index) lines.push_back(IPv4ToStr(gateway.Address) + "=255.255.255.255");
        a.Gateways = linesOr(std::move(lines));
        lines = {};
        if (a.DHCPEnabled && !link.DhcpServer.empty()) lines.push_back(link.DhcpServer + "=255.255.255.255");
        a.DHCPServers = linesOr(std::move(lines));
        // There is no WINS here.
        a.PrimaryWINS = linesOr({});
        a.SecondaryWINS = linesOr({});
        a.DNSServers = std::make_shared<TStringList>(link.DnsServers);
        a.DNSSuffix = link.DnsSuffix;
        a.IPv4Enabled = true;
        a.IPv6Enabled = link.Ipv6Enabled;
        FAdapters.push_back(std::move(a));
    }
}

void TNetworkConfiguration::readHost() {
    const THostFacts host = FSource->Host();
    FHost = host.HostName;
    FDomain = host.DomainName;
    FRouting = host.Forwarding;
    FProxy = host.ProxyArp;
    FDNSSuf = host.DnsServers.empty() ? std::string() : host.DnsServers.front();
    // The list ends where an entry repeats the one before it.
    for (const std::string& server : host.DnsServers) {
        if (!FDNSList.empty() && FDNSList.back() == server) break;
        FDNSList.push_back(server);
    }
}

bool TNetworkConfiguration::readAddressTable(const std::vector<TLink>& links,
                                             const std::vector<TIpv4Address>& addresses) {
    if (addresses.empty()) return false;
    for (const TIpv4Address& address : addresses) {
        TAddressType type = 0;
        if (!address.Secondary) type |= 1u << atPrimary;
        if (address.Dynamic) type |= 1u << atDynamic;
        if (address.Tentative) type |= 1u << atTransient;
        const auto link = std::find_if(links.begin(), links.end(),
                                       [&](const TLink& l) { return l.Index == address.Index; });
        if (link != links.end() && OperStatusNumberOf(link->OperState, link->Flags) != aosOperational)
            type |= 1u << atDisconnected;
        FAT.push_back({IPv4ToStr(address.Address), IPv4ToStr(maskOf(address.PrefixLength)), "", address.Index, type, 0});
    }
    return true;
}

void TNetworkConfiguration::readArpTable() {
    std::vector<TNeighbour> neighbours;
    FSource->Neighbours(neighbours);
    for (const TNeighbour& n : neighbours)
        FARP.push_back({IPv4ToStr(n.Address), "255.255.255.0", FormatMacAddress(n.Hardware.data(), n.Hardware.size()),
                        n.Index, 0, arpTypeOf(n.State)});
}

void TNetworkConfiguration::readBestInterface() {
    const std::optional<std::uint32_t> index = FSource->RouteTo(StrToIPv4(kBestInterfaceProbe));
    FBII = index ? *index : FindFirstOperationalIntfIdx();
}

int TNetworkConfiguration::FindAdapter(const std::string& name) const {
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (sameAscii(FAdapters[i].Name, name)) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAdapter(std::int64_t intfIdx) const {
    if (intfIdx < 0) return -1;
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (FAdapters[i].IntfIdx == intfIdx) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAddress(const std::string& ip) const {
    for (std::size_t i = 0; i < FAT.size(); ++i)
        if (sameAscii(FAT[i].IP, ip)) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAddress(std::uint32_t intfIdx) const {
    for (std::size_t i = 0; i < FAT.size(); ++i)
        if (FAT[i].IntfIdx == intfIdx) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindFirstOperational() const {
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (FAdapters[i].OperStatus == aosOperational) return static_cast<int>(i);
    for (std::size_t i = 0; i < FAdapters.size(); ++i) {
        const auto& lines = FAdapters[i].IPAddress;
        if (!lines || lines->empty()) continue;
        const std::string& first = lines->front();
        if (StrToIPv4(first.substr(0, first.find('='))) != 0) return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t TNetworkConfiguration::FindFirstOperationalIntfIdx() const {
    const int i = FindFirstOperational();
    return i < 0 ? 0 : FAdapters[static_cast<std::size_t>(i)].IntfIdx;
}

std::string TNetworkConfiguration::GetSubnetMask(const std::string& ip) {
    const std::uint32_t first = StrToIPv4(ip) >> 24;
    if (first >= 1 && first <= 126) return "255.0.0.0";
    if (first >= 128 && first <= 191) return "255.255.0.0";
    if (first >= 192 && first <= 223) return "255.255.255.0";
    return "0.0.0.0";
}

void TNetworkConfiguration::GetTraffic(std::uint32_t intfIdx, std::uint64_t& in, std::uint64_t& out) {
    TLinkCounters counters;
    const bool ok = !FSource->CountersOf(intfIdx, counters);
    in = ok ? counters.Received : 0;
    out = ok ? counters.Sent : 0;
}

bool TNetworkConfiguration::ReadTraffic() {
    if (!FSource->Counters(FCounters)) return true;
    FCounters.clear();
    return false;
}

void TNetworkConfiguration::TrafficOf(std::uint32_t intfIdx, std::uint64_t& in, std::uint64_t& out) const {
    in = out = 0;
    for (const TLinkCounters& c : FCounters)
        if (c.Index == intfIdx) {
            in = c.Received;
            out = c.Sent;
            return;
        }
}

std::int64_t TNetworkConfiguration::SetIP(std::uint32_t, bool, const std::string&, const std::string&,
                                          const std::string&) {
    return -1;
}

std::int64_t TNetworkConfiguration::SetDNS(std::uint32_t, bool, const std::string&, const std::string&) { return -1; }

void TNetworkConfiguration::updateBestInterface() {
    if (FAT.empty()) RefreshData();
    readBestInterface();
}

std::string TNetworkConfiguration::CurrentIP() {
    updateBestInterface();
    const int i = FindAddress(FBII);
    return i < 0 ? std::string() : FAT[static_cast<std::size_t>(i)].IP;
}

std::string TNetworkConfiguration::CurrentMAC() {
    updateBestInterface();
    const int i = FindAdapter(static_cast<std::int64_t>(FBII));
    return i < 0 ? std::string() : FAdapters[static_cast<std::size_t>(i)].MACAddress;
}

std::string TNetworkConfiguration::CurrentNetwork() {
    updateBestInterface();
    const int i = FindAdapter(static_cast<std::int64_t>(FBII));
    return i < 0 ? std::string() : FAdapters[static_cast<std::size_t>(i)].Alias;
}

}  // namespace vx
