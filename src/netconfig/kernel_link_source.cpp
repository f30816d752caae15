#include "netconfig/kernel_link_source.h"

#include <net/if.h>
// libnl after <net/if.h>: its headers pull in <linux/if.h>.
#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/ethtool.h>
#include <linux/if_addr.h>
#include <linux/if_arp.h>
#include <linux/neighbour.h>
#include <linux/sockios.h>
#include <netlink/netlink.h>
#include <netlink/route/addr.h>
#include <netlink/route/link.h>
#include <netlink/route/neighbour.h>
#include <netlink/route/route.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vx {
namespace {

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
    for (nl_object* o = nl_cache_get_first(cache); o; o = nl_cache_get_next(o)) visit(reinterpret_cast<Object*>(o));
}

// libnl answers negative NLE_* codes; what the caller gets is an errno.
std::error_code libnlError(int code) {
    switch (-code) {
        case NLE_NOMEM: return std::make_error_code(std::errc::not_enough_memory);
        case NLE_PERM: return std::make_error_code(std::errc::operation_not_permitted);
        case NLE_NODEV: return std::make_error_code(std::errc::no_such_device);
        case NLE_AF_NOSUPPORT:
        case NLE_PROTO_MISMATCH: return std::make_error_code(std::errc::address_family_not_supported);
        default: return std::make_error_code(std::errc::io_error);
    }
}

// The IPv4 value (first octet most significant) of an address object.
std::optional<std::uint32_t> ipv4Of(nl_addr* a) {
    if (!a || nl_addr_get_family(a) != AF_INET || nl_addr_get_len(a) != 4) return std::nullopt;
    std::uint32_t network;
    std::memcpy(&network, nl_addr_get_binary_addr(a), 4);
    return ntohl(network);
}

bool pathExists(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// A name that cannot leave /sys/class/net.
bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::uint64_t speedOf(const std::filesystem::path& netDir) {
    const int fd = ::open((netDir / "speed").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[32];
    const ssize_t n = ::read(fd, text, sizeof text - 1);  // fails with EINVAL while the link is down
    ::close(fd);
    if (n <= 0) return 0;
    text[n] = 0;
    return LinkSpeedFromText(text);
}

std::string driverOf(const TLink& link, const std::string& kind) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        ethtool_drvinfo info{};
        info.cmd = ETHTOOL_GDRVINFO;
        ifreq request{};
        std::strncpy(request.ifr_name, link.Name.c_str(), IFNAMSIZ - 1);
        request.ifr_data = reinterpret_cast<char*>(&info);
        const bool ok = ::ioctl(fd, SIOCETHTOOL, &request) == 0 && info.driver[0];
        ::close(fd);
        if (ok) return std::string(info.driver, ::strnlen(info.driver, sizeof info.driver));
    }
    if (!kind.empty()) return kind;
    if (link.ArpType == ARPHRD_LOOPBACK) return "Loopback";
    return link.Name;
}

}  // namespace

// Fills a libnl cache with `alloc` and hands each of its objects to `visit`.
template <typename Object, typename Alloc, typename Visit>
std::error_code TKernelLinkSource::readCache(Alloc alloc, Visit visit) {
    nl_sock* sock = socket();
    if (!sock) return std::make_error_code(std::errc::address_family_not_supported);
    nl_cache* raw = nullptr;
    if (const int e = alloc(sock, &raw); e != 0) return libnlError(e);
    const CachePtr cache(raw);
    forEach<Object>(cache.get(), visit);
    return {};
}

std::uint64_t LinkSpeedFromText(const char* text) {
    // No link runs faster than 10 Tbit/s; larger numbers are noise.
    constexpr long kMaxMbps = 10'000'000;
    char* end = nullptr;
    errno = 0;
    const long mbps = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || mbps <= 0 || mbps > kMaxMbps) return 0;
    return static_cast<std::uint64_t>(mbps) * 1000000u;
}

void TKernelLinkSource::SocketDeleter::operator()(nl_sock* s) const { nl_socket_free(s); }

TKernelLinkSource::TKernelLinkSource(TSystemFiles files) : FFiles(std::move(files)) {}

TKernelLinkSource::~TKernelLinkSource() = default;

nl_sock* TKernelLinkSource::socket() {
    if (!FSock) {
        std::unique_ptr<nl_sock, SocketDeleter> s(nl_socket_alloc());
        if (!s || nl_connect(s.get(), NETLINK_ROUTE) != 0) return nullptr;
        FSock = std::move(s);
    }
    return FSock.get();
}

std::error_code TKernelLinkSource::Links(std::vector<TLink>& out) {
    if (const std::error_code error = FDump.Links(out, FKinds)) return error;
    const std::filesystem::path sys = FFiles.Root() / "sys";
    for (std::size_t i = 0; i < out.size(); ++i) {
        TLink& link = out[i];
        link.Kind = ClassifyLink(link.Name, FKinds[i], link.ArpType, sys);
        link.Driver = driverOf(link, FKinds[i]);
        if (plainName(link.Name)) {
            const std::filesystem::path dir = sys / "class" / "net" / link.Name;
            link.Wireless = pathExists(dir / "wireless") || pathExists(dir / "phy80211");
            link.Speed = speedOf(dir);
            const auto ipv6Off = FFiles.ReadFile("proc/sys/net/ipv6/conf/" + link.Name + "/disable_ipv6");
            link.Ipv6Enabled = ipv6Off && !ipv6Off->empty() && (*ipv6Off)[0] == '0';
        }
        TResolverConfig dns = FFiles.LinkDns(link.Index);
        link.DnsSuffix = std::move(dns.domain);
        link.DnsServers = std::move(dns.nameservers);
        link.DhcpServer = FFiles.DhcpServer(link.Index, link.Name);
    }
    return {};
}

std::error_code TKernelLinkSource::Addresses(std::vector<TIpv4Address>& out) {
    out.clear();
    return readCache<rtnl_addr>(rtnl_addr_alloc_cache, [&](rtnl_addr* a) {
        const auto ip = ipv4Of(rtnl_addr_get_local(a));
        if (rtnl_addr_get_family(a) != AF_INET || !ip) return;
        const unsigned flags = rtnl_addr_get_flags(a);
        TIpv4Address address;
        address.Index = static_cast<std::uint32_t>(rtnl_addr_get_ifindex(a));
        address.Address = *ip;
        address.PrefixLength = static_cast<std::uint8_t>(rtnl_addr_get_prefixlen(a));
        address.Secondary = flags & IFA_F_SECONDARY;
        address.Dynamic = rtnl_addr_get_valid_lifetime(a) != 0xFFFFFFFFu && !(flags & IFA_F_PERMANENT);
        address.Tentative = flags & IFA_F_TENTATIVE;
        out.push_back(address);
    });
}

std::error_code TKernelLinkSource::Gateways(std::vector<TGateway>& out) {
    out.clear();
    const auto ipv4Routes = [](nl_sock* sock, nl_cache** cache) { return rtnl_route_alloc_cache(sock, AF_INET, 0, cache); };
    return readCache<rtnl_route>(ipv4Routes, [&](rtnl_route* r) {
        nl_addr* dst = rtnl_route_get_dst(r);
        if (rtnl_route_get_table(r) != RT_TABLE_MAIN || (dst && nl_addr_get_prefixlen(dst) != 0)) return;
        for (int i = 0; i < rtnl_route_get_nnexthops(r); ++i) {
            rtnl_nexthop* nh = rtnl_route_nexthop_n(r, i);
            if (const auto gw = ipv4Of(rtnl_route_nh_get_gateway(nh)))
                out.push_back({static_cast<std::uint32_t>(rtnl_route_nh_get_ifindex(nh)), *gw});
        }
    });
}

std::error_code TKernelLinkSource::Neighbours(std::vector<TNeighbour>& out) {
    out.clear();
    return readCache<rtnl_neigh>(rtnl_neigh_alloc_cache, [&](rtnl_neigh* n) {
        const auto ip = ipv4Of(rtnl_neigh_get_dst(n));
        if (rtnl_neigh_get_family(n) != AF_INET || !ip) return;
        TNeighbour neighbour;
        neighbour.Index = static_cast<std::uint32_t>(rtnl_neigh_get_ifindex(n));
        neighbour.Address = *ip;
        if (nl_addr* ll = rtnl_neigh_get_lladdr(n)) {
            const auto* bytes = static_cast<const std::uint8_t*>(nl_addr_get_binary_addr(ll));
            neighbour.Hardware.assign(bytes, bytes + nl_addr_get_len(ll));
        }
        const int state = rtnl_neigh_get_state(n);
        if (state & (NUD_PERMANENT | NUD_NOARP)) neighbour.State = TNeighbourState::Static;
        else if (state & (NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE)) neighbour.State = TNeighbourState::Dynamic;
        else if (state & (NUD_FAILED | NUD_INCOMPLETE)) neighbour.State = TNeighbourState::Invalid;
        out.push_back(std::move(neighbour));
    });
}

std::optional<std::uint32_t> TKernelLinkSource::RouteTo(std::uint32_t destination) {
    nl_sock* sock = socket();
    if (!sock) return std::nullopt;
    const std::uint32_t network = htonl(destination);
    std::unique_ptr<nl_addr, AddrDeleter> dst(nl_addr_build(AF_INET, &network, 4));
    if (!dst) return std::nullopt;
    rtnl_route* raw = nullptr;
    if (rtnl_route_lookup(sock, dst.get(), &raw) != 0 || !raw) return std::nullopt;
    const std::unique_ptr<rtnl_route, RouteDeleter> route(raw);
    if (rtnl_route_get_nnexthops(route.get()) < 1) return std::nullopt;
    const int ifindex = rtnl_route_nh_get_ifindex(rtnl_route_nexthop_n(route.get(), 0));
    if (ifindex <= 0) return std::nullopt;
    return static_cast<std::uint32_t>(ifindex);
}

THostFacts TKernelLinkSource::Host() {
    THostFacts host;
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    const std::string full = name;
    const auto dot = full.find('.');
    host.HostName = full.substr(0, dot);
    TResolverConfig resolver = FFiles.ResolverConfig();
    host.DomainName = dot != std::string::npos ? full.substr(dot + 1) : resolver.domain;
    host.DnsServers = std::move(resolver.nameservers);
    host.Forwarding = FFiles.SwitchOn("proc/sys/net/ipv4/ip_forward");
    host.ProxyArp = FFiles.SwitchOn("proc/sys/net/ipv4/conf/all/proxy_arp");
    return host;
}

}  // namespace vx
