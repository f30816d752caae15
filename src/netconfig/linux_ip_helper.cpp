#include "netconfig/linux_ip_helper.h"

#include <net/if.h>
// libnl after <net/if.h>: its headers pull in <linux/if.h>.
#include <arpa/inet.h>
#include <linux/ethtool.h>
#include <linux/if_arp.h>
#include <linux/if_addr.h>
#include <linux/neighbour.h>
#include <linux/sockios.h>
#include <netlink/netlink.h>
#include <netlink/route/addr.h>
#include <netlink/route/link.h>
#include <netlink/route/neighbour.h>
#include <netlink/route/route.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "netconfig/ipv4.h"

namespace vx {
namespace {

constexpr std::uint32_t kErrorNetworkUnreachable = 1231;
constexpr auto kMemoLifetime = std::chrono::milliseconds(250);

struct CacheDeleter {
    void operator()(nl_cache* c) const { nl_cache_free(c); }
};
using CachePtr = std::unique_ptr<nl_cache, CacheDeleter>;
struct RouteDeleter {
    void operator()(rtnl_route* r) const { rtnl_route_put(r); }
};
struct AddrDeleter {
    void operator()(nl_addr* a) const { nl_addr_put(a); }
};

template <typename Object, typename Visit>
void forEach(nl_cache* cache, Visit visit) {
    if (!cache) return;
    for (nl_object* o = nl_cache_get_first(cache); o; o = nl_cache_get_next(o)) visit(reinterpret_cast<Object*>(o));
}

// The IPv4 value (first octet most significant) of an address object.
std::optional<std::uint32_t> ipv4Of(nl_addr* a) {
    if (!a || nl_addr_get_family(a) != AF_INET || nl_addr_get_len(a) != 4) return std::nullopt;
    std::uint32_t network;
    std::memcpy(&network, nl_addr_get_binary_addr(a), 4);
    return ntohl(network);
}

std::uint32_t maskOf(int prefixLength) {
    if (prefixLength <= 0) return 0;
    if (prefixLength >= 32) return 0xFFFFFFFFu;
    return ~((1u << (32 - prefixLength)) - 1);
}

TIpAddrChain chainOf(const std::vector<std::pair<std::string, std::string>>& entries) {
    TIpAddrChain chain;
    if (entries.empty()) {
        chain.push_back({"0.0.0.0", "0.0.0.0", -1});
        return chain;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        chain.push_back({entries[i].first, entries[i].second, i + 1 < entries.size() ? static_cast<int>(i + 1) : -1});
    return chain;
}

// Hardware addresses worth showing: Ethernet-like ones that are not all zero.
bool showsHardwareAddress(const std::uint8_t* bytes, std::size_t length, std::uint32_t arpType) {
    const bool ethernetLike = arpType == ARPHRD_ETHER || arpType == ARPHRD_IEEE802 || arpType == ARPHRD_IEEE1394 ||
                              arpType == ARPHRD_INFINIBAND || arpType == ARPHRD_IEEE80211;
    return ethernetLike && !std::all_of(bytes, bytes + length, [](std::uint8_t b) { return b == 0; });
}

// Copies a shown hardware address into a fixed row field; its length, or 0.
template <std::size_t N>
std::uint32_t copyHardwareAddress(const TLinkFacts& f, std::array<std::uint8_t, N>& to) {
    if (!showsHardwareAddress(f.address.data(), f.addressLength, f.arpType)) return 0;
    const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(f.addressLength, N));
    std::copy_n(f.address.begin(), length, to.begin());
    return length;
}

std::string driverTextOf(const char* name, rtnl_link* link) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        ethtool_drvinfo info{};
        info.cmd = ETHTOOL_GDRVINFO;
        ifreq request{};
        std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
        request.ifr_data = reinterpret_cast<char*>(&info);
        const bool ok = ::ioctl(fd, SIOCETHTOOL, &request) == 0 && info.driver[0];
        ::close(fd);
        if (ok) return info.driver;
    }
    if (const char* kind = rtnl_link_get_type(link)) return kind;
    if (rtnl_link_get_arptype(link) == ARPHRD_LOOPBACK) return "Loopback";
    return name;
}

void fillRow(const TLinkFacts& f, TMibIfRow& row, std::uint32_t type, std::uint64_t speed) {
    const std::uint32_t index = row.dwIndex;
    row = TMibIfRow{};
    row.dwIndex = index;
    row.wszName.assign(f.name.data(), std::strlen(f.name.data()));
    row.dwType = type;
    row.dwMtu = f.mtu;
    row.dwSpeed = static_cast<std::uint32_t>(std::min<std::uint64_t>(speed, 0xFFFFFFFFu));
    row.dwPhysAddrLen = copyHardwareAddress(f, row.bPhysAddr);
    row.dwAdminStatus = (f.flags & IFF_UP) ? 1 : 2;
    row.dwOperStatus = IfRowOperStatusOf(f.operState, f.flags);
    row.dwInOctets = static_cast<std::uint32_t>(f.rxBytes);  // as a 32-bit counter: it wraps
    row.dwOutOctets = static_cast<std::uint32_t>(f.txBytes);
}

}  // namespace

void LinuxIpHelper::SocketDeleter::operator()(nl_sock* s) const { nl_socket_free(s); }

LinuxIpHelper::LinuxIpHelper(TSystemFiles files) : files_(std::move(files)) {}

LinuxIpHelper::~LinuxIpHelper() = default;

nl_sock* LinuxIpHelper::socket() {
    if (!sock_) {
        std::unique_ptr<nl_sock, SocketDeleter> s(nl_socket_alloc());
        if (!s || nl_connect(s.get(), NETLINK_ROUTE) != 0) return nullptr;
        sock_ = std::move(s);
    }
    return sock_.get();
}

bool LinuxIpHelper::Present() { return socket() != nullptr; }

template <typename Row, typename Build>
std::uint32_t LinuxIpHelper::answer(Memo<Row>& memo, std::vector<Row>& out, std::uint32_t& size,
                                    std::uint32_t rowSize, std::uint32_t tooSmall, bool emptyIsNoData, Build build) {
    const auto now = std::chrono::steady_clock::now();
    std::vector<Row> rows;
    if (memo.valid && now - memo.at < kMemoLifetime)
        rows = std::move(memo.rows);
    else
        rows = build();
    memo.valid = false;
    if (rows.empty() && emptyIsNoData) return kErrorNoData;
    const auto needed = static_cast<std::uint32_t>(std::max<std::size_t>(rows.size(), 1) * rowSize);
    if (size < needed) {
        size = needed;
        memo = {std::move(rows), now, true};
        return tooSmall;
    }
    out = std::move(rows);
    return kNoError;
}

std::vector<TIpInterfaceEntry> LinuxIpHelper::buildInterfaces() {
    std::vector<TIpInterfaceEntry> out;
    const std::shared_ptr<nl_cache> links = linkCache();
    if (!links) return out;
    forEach<rtnl_link>(links.get(), [&](rtnl_link* l) {
        out.push_back({static_cast<std::uint32_t>(rtnl_link_get_ifindex(l)), rtnl_link_get_name(l)});
    });
    return out;
}

std::uint32_t LinuxIpHelper::GetInterfaceInfo(std::vector<TIpInterfaceEntry>& out, std::uint32_t& size) {
    return answer(interfaces_, out, size, kInterfaceEntrySize, kErrorInsufficientBuffer, false,
                  [this] { return buildInterfaces(); });
}

std::vector<TIpAdapterInfo> LinuxIpHelper::buildAdapters() {
    std::vector<TIpAdapterInfo> out;
    nl_sock* sock = socket();
    if (!sock) return out;
    nl_cache *rawAddrs = nullptr, *rawRoutes = nullptr;
    const std::shared_ptr<nl_cache> links = linkCache();
    if (!links) return out;
    rtnl_addr_alloc_cache(sock, &rawAddrs);
    const CachePtr addrs(rawAddrs);
    rtnl_route_alloc_cache(sock, AF_INET, 0, &rawRoutes);
    const CachePtr routes(rawRoutes);

    std::map<int, std::vector<std::pair<std::string, std::string>>> addresses, gateways;
    std::map<int, bool> dynamic;
    forEach<rtnl_addr>(addrs.get(), [&](rtnl_addr* a) {
        const auto ip = ipv4Of(rtnl_addr_get_local(a));
        if (rtnl_addr_get_family(a) != AF_INET || !ip) return;
        const int index = rtnl_addr_get_ifindex(a);
        addresses[index].emplace_back(IPv4ToStr(*ip), IPv4ToStr(maskOf(rtnl_addr_get_prefixlen(a))));
        // An address with a finite lifetime was handed out by DHCP.
        if (rtnl_addr_get_valid_lifetime(a) != 0xFFFFFFFFu && !(rtnl_addr_get_flags(a) & IFA_F_PERMANENT))
            dynamic[index] = true;
    });
    forEach<rtnl_route>(routes.get(), [&](rtnl_route* r) {
        nl_addr* dst = rtnl_route_get_dst(r);
        if (rtnl_route_get_table(r) != RT_TABLE_MAIN || (dst && nl_addr_get_prefixlen(dst) != 0)) return;
        for (int i = 0; i < rtnl_route_get_nnexthops(r); ++i) {
            rtnl_nexthop* nh = rtnl_route_nexthop_n(r, i);
            if (const auto gw = ipv4Of(rtnl_route_nh_get_gateway(nh)))
                gateways[rtnl_route_nh_get_ifindex(nh)].emplace_back(IPv4ToStr(*gw), "255.255.255.255");
        }
    });

    forEach<rtnl_link>(links.get(), [&](rtnl_link* l) {
        TIpAdapterInfo info;
        const char* name = rtnl_link_get_name(l);
        const int index = rtnl_link_get_ifindex(l);
        info.AdapterName = name ? name : "";
        info.Description = driverTextOf(info.AdapterName.c_str(), l);
        const unsigned arpType = rtnl_link_get_arptype(l);
        if (nl_addr* hw = rtnl_link_get_addr(l)) {
            const auto* bytes = static_cast<const std::uint8_t*>(nl_addr_get_binary_addr(hw));
            if (showsHardwareAddress(bytes, nl_addr_get_len(hw), arpType))
                info.Address.assign(bytes, bytes + nl_addr_get_len(hw));
        }
        info.Index = static_cast<std::uint32_t>(index);
        info.Type = typeOf(static_cast<std::uint16_t>(arpType), info.AdapterName.c_str());
        info.DhcpEnabled = dynamic[index];
        info.IpAddressList = chainOf(addresses[index]);
        info.GatewayList = chainOf(gateways[index]);
        const std::string server = info.DhcpEnabled ? files_.DhcpServer(info.Index, info.AdapterName) : "";
        info.DhcpServer = chainOf(server.empty() ? std::vector<std::pair<std::string, std::string>>{}
                                                 : std::vector<std::pair<std::string, std::string>>{{server, "255.255.255.255"}});
        info.PrimaryWinsServer = chainOf({});
        info.SecondaryWinsServer = chainOf({});
        out.push_back(std::move(info));
    });
    return out;
}

std::uint32_t LinuxIpHelper::GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) {
    return answer(adapters_, out, size, kAdapterInfoSize, kErrorBufferOverflow, false,
                  [this] { return buildAdapters(); });
}

void LinuxIpHelper::BeginCounterBatch(std::size_t rows) {
    if (batchDepth_++ > 0) return;
    batchRead_ = false;
    batchRows_ = rows;
}

void LinuxIpHelper::EndCounterBatch() {
    if (batchDepth_ > 0) --batchDepth_;
}

std::shared_ptr<nl_cache> LinuxIpHelper::linkCache() {
    if (snapshotDepth_ > 0 && snapshotLinks_) return snapshotLinks_;
    nl_cache* raw = nullptr;
    if (!socket() || rtnl_link_alloc_cache(socket(), AF_UNSPEC, &raw) != 0) return nullptr;
    std::shared_ptr<nl_cache> links(raw, [](nl_cache* c) { nl_cache_free(c); });
    if (snapshotDepth_ > 0) snapshotLinks_ = links;
    return links;
}

void LinuxIpHelper::BeginSnapshot() {
    if (snapshotDepth_++ > 0) return;
    snapshotRead_ = false;
    snapshotLinks_.reset();
    speeds_.clear();
    types_.clear();
}

void LinuxIpHelper::EndSnapshot() {
    if (snapshotDepth_ > 0 && --snapshotDepth_ == 0) {
        snapshotLinks_.reset();
        speeds_.clear();
        types_.clear();
    }
}

namespace {

// The entry of `index` in a dump; rows are usually asked for in kernel
// order, so the search starts after the last one found.
bool findFacts(const std::vector<TLinkFacts>& all, std::uint32_t index, std::size_t& next, TLinkFacts& facts) {
    for (std::size_t k = 0; k < all.size(); ++k) {
        const std::size_t i = (next + k) % all.size();
        if (all[i].index == index) {
            facts = all[i];
            next = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace

TLinkKind LinuxIpHelper::LinkKindOf(std::uint32_t index) {
    TLinkFacts facts;
    // A counter batch's facts carry the counters only: asked on their own then.
    if (!(countersOnly() ? linkQuery_.Query(index, facts) : linkFacts(index, facts))) return TLinkKind::Other;
    return ClassifyLink(facts.name.data(), facts.kind.data(), facts.arpType, files_.Root() / "sys");
}

bool LinuxIpHelper::linkFacts(std::uint32_t index, TLinkFacts& facts) {
    if (snapshotDepth_ > 0) {
        if (!snapshotRead_) {
            snapshotOk_ = linkQuery_.Dump(snapshot_);
            snapshotRead_ = true;
            snapshotNext_ = 0;
        }
        if (snapshotOk_) return findFacts(snapshot_, index, snapshotNext_, facts);
    } else if (batchDepth_ > 0 && batchRows_ > 1) {
        // Many rows (the list): one dump of every interface's counters
        // answers them all. One row (a watcher's tick) is one request.
        if (!batchRead_) {
            batchOk_ = linkQuery_.DumpCounters(batch_);
            batchRead_ = true;
            batchNext_ = 0;
        }
        if (batchOk_) return findFacts(batch_, index, batchNext_, facts);
    }
    return linkQuery_.Query(index, facts);
}

std::uint64_t LinuxIpHelper::speedOf(const char* name) {
    if (snapshotDepth_ == 0) return LinkSpeedOf(name);
    const auto [it, added] = speeds_.try_emplace(name, 0);
    if (added) it->second = LinkSpeedOf(name);
    return it->second;
}

std::uint32_t LinuxIpHelper::typeOf(std::uint16_t arpType, const char* name) {
    if (snapshotDepth_ == 0) return InterfaceTypeOf(arpType, name);
    const auto [it, added] = types_.try_emplace({arpType, name}, 0);
    if (added) it->second = InterfaceTypeOf(arpType, name);
    return it->second;
}

std::uint32_t LinuxIpHelper::GetIfEntry(TMibIfRow& row) {
    TLinkFacts facts;
    if (!linkFacts(row.dwIndex, facts)) return kErrorInvalidParameter;
    const bool full = !countersOnly();
    fillRow(facts, row, full ? typeOf(facts.arpType, facts.name.data()) : 0, full ? speedOf(facts.name.data()) : 0);
    return kNoError;
}

std::uint32_t LinuxIpHelper::GetIfEntry2(TMibIfRow2& row) {
    TLinkFacts facts;
    if (!linkFacts(row.InterfaceIndex, facts)) return kErrorNotFound;
    const std::uint32_t index = row.InterfaceIndex;
    row = TMibIfRow2{};
    row.InterfaceIndex = index;
    row.Alias.assign(facts.alias.data(), std::strlen(facts.alias.data()));
    row.Description.assign(facts.name.data(), std::strlen(facts.name.data()));
    row.PhysicalAddressLength = copyHardwareAddress(facts, row.PhysicalAddress);
    row.Mtu = facts.mtu;
    // A counter batch reads neither the type's nor the speed's sysfs files.
    if (!countersOnly()) row.Type = typeOf(facts.arpType, facts.name.data());
    row.OperStatus = IfRow2OperStatusOf(facts.operState, facts.flags);
    row.AdminStatus = (facts.flags & IFF_UP) ? 1 : 2;
    if (!countersOnly()) row.TransmitLinkSpeed = row.ReceiveLinkSpeed = speedOf(facts.name.data());
    row.InOctets = facts.rxBytes;
    row.OutOctets = facts.txBytes;
    return kNoError;
}

std::vector<TIpAdapterAddresses> LinuxIpHelper::buildAdapterAddresses() {
    std::vector<TIpAdapterAddresses> out;
    for (const TIpInterfaceEntry& e : buildInterfaces()) {
        TIpAdapterAddresses a;
        a.IfIndex = e.Index;
        a.Flags = kIpAdapterIpv4Enabled;
        const auto ipv6Off = files_.ReadFile("proc/sys/net/ipv6/conf/" + e.Name + "/disable_ipv6");
        if (ipv6Off && !ipv6Off->empty() && (*ipv6Off)[0] == '0') a.Flags |= kIpAdapterIpv6Enabled;
        TResolverConfig link = files_.LinkDns(e.Index);
        a.DnsSuffix = std::move(link.domain);
        const std::vector<std::string>& servers = link.nameservers;
        for (std::size_t i = 0; i < servers.size(); ++i)
            a.DnsServers.push_back({StrToIPv4(servers[i]), i + 1 < servers.size() ? static_cast<int>(i + 1) : -1});
        out.push_back(std::move(a));
    }
    return out;
}

std::uint32_t LinuxIpHelper::GetAdaptersAddresses(std::vector<TIpAdapterAddresses>& out, std::uint32_t& size) {
    return answer(adapterAddresses_, out, size, kAdapterAddressesSize, kErrorBufferOverflow, false,
                  [this] { return buildAdapterAddresses(); });
}

std::uint32_t LinuxIpHelper::ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) {
    TLinkFacts facts;
    if (!linkFacts(index, facts)) return kErrorNotFound;
    alias = facts.alias.data();
    return kNoError;
}

std::uint32_t LinuxIpHelper::GetNetworkParams(TFixedInfo& out, std::uint32_t& size) {
    if (size < kNetworkParamsSize) {
        size = kNetworkParamsSize;
        return kErrorBufferOverflow;
    }
    out = TFixedInfo{};
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string full = host;
    const auto dot = full.find('.');
    out.HostName = full.substr(0, dot);
    const TResolverConfig resolver = files_.ResolverConfig();
    out.DomainName = dot != std::string::npos ? full.substr(dot + 1) : resolver.domain;
    for (std::size_t i = 0; i < resolver.nameservers.size(); ++i)
        out.DnsServerList.push_back(
            {resolver.nameservers[i], "255.255.255.255", i + 1 < resolver.nameservers.size() ? static_cast<int>(i + 1) : -1});
    if (out.DnsServerList.empty()) out.DnsServerList.push_back({"", "", -1});
    out.HaveCurrentDnsServer = !resolver.nameservers.empty();
    if (out.HaveCurrentDnsServer) out.CurrentDnsServer = out.DnsServerList.front();
    out.EnableRouting = files_.SwitchOn("proc/sys/net/ipv4/ip_forward");
    out.EnableProxy = files_.SwitchOn("proc/sys/net/ipv4/conf/all/proxy_arp");
    return kNoError;
}

std::vector<TMibIpAddrRow> LinuxIpHelper::buildAddrTable() {
    std::vector<TMibIpAddrRow> out;
    nl_sock* sock = socket();
    nl_cache* rawAddrs = nullptr;
    if (!sock || rtnl_addr_alloc_cache(sock, &rawAddrs) != 0) return out;
    const CachePtr addrs(rawAddrs);
    const std::shared_ptr<nl_cache> links = linkCache();
    forEach<rtnl_addr>(addrs.get(), [&](rtnl_addr* a) {
        const auto ip = ipv4Of(rtnl_addr_get_local(a));
        if (rtnl_addr_get_family(a) != AF_INET || !ip) return;
        TMibIpAddrRow row;
        row.dwAddr = htonl(*ip);
        row.dwIndex = static_cast<std::uint32_t>(rtnl_addr_get_ifindex(a));
        const std::uint32_t mask = maskOf(rtnl_addr_get_prefixlen(a));
        row.dwMask = htonl(mask);
        row.dwBCastAddr = htonl(*ip | ~mask);
        const unsigned flags = rtnl_addr_get_flags(a);
        if (!(flags & IFA_F_SECONDARY)) row.wType |= kMibIpAddrPrimary;
        if (rtnl_addr_get_valid_lifetime(a) != 0xFFFFFFFFu && !(flags & IFA_F_PERMANENT)) row.wType |= kMibIpAddrDynamic;
        if (flags & IFA_F_TENTATIVE) row.wType |= kMibIpAddrTransient;
        if (links) {
            rtnl_link* l = rtnl_link_get(links.get(), rtnl_addr_get_ifindex(a));
            if (l) {
                if (IfRowOperStatusOf(rtnl_link_get_operstate(l), rtnl_link_get_flags(l)) != 5)
                    row.wType |= kMibIpAddrDisconnected;
                rtnl_link_put(l);
            }
        }
        out.push_back(row);
    });
    return out;
}

std::uint32_t LinuxIpHelper::GetIpAddrTable(std::vector<TMibIpAddrRow>& out, std::uint32_t& size, bool sorted) {
    const std::uint32_t result = answer(addrTable_, out, size, kIpAddrRowSize, kErrorInsufficientBuffer, true,
                                        [this] { return buildAddrTable(); });
    if (result == kNoError && sorted)
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return ntohl(a.dwAddr) < ntohl(b.dwAddr); });
    return result;
}

std::vector<TMibIpNetRow> LinuxIpHelper::buildNetTable() {
    std::vector<TMibIpNetRow> out;
    nl_cache* raw = nullptr;
    if (!socket() || rtnl_neigh_alloc_cache(socket(), &raw) != 0) return out;
    const CachePtr neighbours(raw);
    forEach<rtnl_neigh>(neighbours.get(), [&](rtnl_neigh* n) {
        const auto ip = ipv4Of(rtnl_neigh_get_dst(n));
        if (rtnl_neigh_get_family(n) != AF_INET || !ip) return;
        TMibIpNetRow row;
        row.dwIndex = static_cast<std::uint32_t>(rtnl_neigh_get_ifindex(n));
        row.dwAddr = htonl(*ip);
        if (nl_addr* ll = rtnl_neigh_get_lladdr(n)) {
            row.dwPhysAddrLen = std::min<std::uint32_t>(nl_addr_get_len(ll), 8);
            std::memcpy(row.bPhysAddr.data(), nl_addr_get_binary_addr(ll), row.dwPhysAddrLen);
        }
        const int state = rtnl_neigh_get_state(n);
        if (state & (NUD_PERMANENT | NUD_NOARP)) row.dwType = kIpNetTypeStatic;
        else if (state & (NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE)) row.dwType = kIpNetTypeDynamic;
        else if (state & (NUD_FAILED | NUD_INCOMPLETE)) row.dwType = kIpNetTypeInvalid;
        else row.dwType = kIpNetTypeOther;
        out.push_back(row);
    });
    return out;
}

std::uint32_t LinuxIpHelper::GetIpNetTable(std::vector<TMibIpNetRow>& out, std::uint32_t& size, bool sorted) {
    const std::uint32_t result = answer(netTable_, out, size, kIpNetRowSize, kErrorInsufficientBuffer, true,
                                        [this] { return buildNetTable(); });
    if (result == kNoError && sorted)
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return ntohl(a.dwAddr) < ntohl(b.dwAddr); });
    return result;
}

std::uint32_t LinuxIpHelper::GetBestInterface(std::uint32_t destination, std::uint32_t& index) {
    nl_sock* sock = socket();
    if (!sock) return kErrorNotSupported;
    std::unique_ptr<nl_addr, AddrDeleter> dst(nl_addr_build(AF_INET, &destination, 4));
    if (!dst) return kErrorNotSupported;
    rtnl_route* raw = nullptr;
    if (rtnl_route_lookup(sock, dst.get(), &raw) != 0 || !raw) return kErrorNetworkUnreachable;
    const std::unique_ptr<rtnl_route, RouteDeleter> route(raw);
    if (rtnl_route_get_nnexthops(route.get()) < 1) return kErrorNetworkUnreachable;
    const int ifindex = rtnl_route_nh_get_ifindex(rtnl_route_nexthop_n(route.get(), 0));
    if (ifindex <= 0) return kErrorNetworkUnreachable;
    index = static_cast<std::uint32_t>(ifindex);
    return kNoError;
}

}  // namespace vx
