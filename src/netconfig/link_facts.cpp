#include "netconfig/link_facts.h"

#include <net/if.h>
// libnl after <net/if.h>: its headers pull in <linux/if.h>.
#include <fcntl.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netlink/attr.h>
#include <netlink/msg.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace vx {
namespace {

constexpr std::size_t kReceiveBufferSize = 64 * 1024;

template <std::size_t N>
void copyText(std::array<char, N>& to, const nlattr* attr) {
    to[0] = 0;
    if (!attr) return;
    std::size_t n = ::strnlen(static_cast<const char*>(nla_data(attr)), static_cast<std::size_t>(nla_len(attr)));
    if (n >= N) n = N - 1;
    std::memcpy(to.data(), nla_data(attr), n);
    to[n] = 0;
}

bool sysClassNetExists(const char* name, const char* leaf) {
    char path[128];
    std::snprintf(path, sizeof path, "/sys/class/net/%s/%s", name, leaf);
    struct stat st {};
    return ::stat(path, &st) == 0;
}

// A request: the netlink header and the body of the message type.
template <typename Body>
struct TRequest {
    nlmsghdr header;
    Body body;
};

template <typename Body>
TRequest<Body> requestOf(std::uint16_t type, std::uint16_t flags, std::uint32_t seq) {
    TRequest<Body> r{};
    r.header.nlmsg_len = sizeof r;
    r.header.nlmsg_type = type;
    r.header.nlmsg_flags = flags;
    r.header.nlmsg_seq = seq;
    return r;
}

template <typename Body>
bool sendToKernel(int fd, const TRequest<Body>& request) {
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return ::sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) >= 0;
}

// The next datagram of the kernel's answer; -1 on failure.
ssize_t receive(int fd, std::vector<std::uint8_t>& buffer) {
    for (;;) {
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n >= 0 || errno != EINTR) return n;
    }
}

}  // namespace

TLinkQuery::TLinkQuery() : buffer_(kReceiveBufferSize) { open(); }

TLinkQuery::~TLinkQuery() {
    if (fd_ >= 0) ::close(fd_);
}

bool TLinkQuery::open() {
    fd_ = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd_ < 0) return false;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    // Only the answers to our own requests; a stray dump part must not wait forever.
    timeval timeout{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return true;
}

bool TLinkQuery::Query(std::uint32_t index, TLinkFacts& facts) {
    if (fd_ < 0 && !open()) return false;
    if (index == 0 || index > 0x7FFFFFFF) return false;
    auto request = requestOf<ifinfomsg>(RTM_GETLINK, NLM_F_REQUEST, ++seq_);
    request.body.ifi_family = AF_UNSPEC;
    request.body.ifi_index = static_cast<int>(index);
    if (!sendToKernel(fd_, request)) return false;
    for (;;) {
        const ssize_t n = receive(fd_, buffer_);
        if (n < 0) return false;
        switch (ParseLinkAnswer(buffer_.data(), static_cast<std::size_t>(n), seq_, facts)) {
            case TLinkAnswer::Found: return true;
            case TLinkAnswer::Failed: return false;
            case TLinkAnswer::None: break;
        }
    }
}

namespace {

// Sends one dump request and walks its answer up to NLMSG_DONE, handing
// each message of the wanted type to `take`.
template <typename Body, typename Take>
bool dump(int fd, std::vector<std::uint8_t>& buffer, const TRequest<Body>& request, std::uint16_t answerType,
          Take take) {
    if (!sendToKernel(fd, request)) return false;
    for (;;) {
        const ssize_t n = receive(fd, buffer);
        if (n < 0) return false;
        auto* h = reinterpret_cast<nlmsghdr*>(buffer.data());
        int left = static_cast<int>(n);
        for (; nlmsg_ok(h, left); h = nlmsg_next(h, &left)) {
            if (h->nlmsg_seq != request.header.nlmsg_seq) continue;  // a late answer to an earlier request
            if (h->nlmsg_type == NLMSG_DONE) return true;
            if (h->nlmsg_type == NLMSG_ERROR) return false;
            if (h->nlmsg_type == answerType) take(h);
        }
    }
}

}  // namespace

bool TLinkQuery::Dump(std::vector<TLinkFacts>& out) {
    out.clear();
    if (fd_ < 0 && !open()) return false;
    auto request = requestOf<ifinfomsg>(RTM_GETLINK, NLM_F_REQUEST | NLM_F_DUMP, ++seq_);
    request.body.ifi_family = AF_UNSPEC;
    return dump(fd_, buffer_, request, RTM_NEWLINK, [&out](nlmsghdr* h) {
        out.emplace_back();
        if (!ParseLinkMessage(h, out.back())) out.pop_back();
    });
}

bool TLinkQuery::DumpCounters(std::vector<TLinkFacts>& out) {
    out.clear();
    if (fd_ < 0 && !open()) return false;
    auto request = requestOf<if_stats_msg>(RTM_GETSTATS, NLM_F_REQUEST | NLM_F_DUMP, ++seq_);
    request.body.family = AF_UNSPEC;
    request.body.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    return dump(fd_, buffer_, request, RTM_NEWSTATS, [&out](nlmsghdr* h) {
        if (h->nlmsg_len < NLMSG_LENGTH(sizeof(if_stats_msg))) return;
        const auto* msg = static_cast<const if_stats_msg*>(nlmsg_data(h));
        nlattr* tb[IFLA_STATS_MAX + 1];
        if (nlmsg_parse(h, sizeof(if_stats_msg), tb, IFLA_STATS_MAX, nullptr) < 0) return;
        if (!tb[IFLA_STATS_LINK_64] || nla_len(tb[IFLA_STATS_LINK_64]) < static_cast<int>(sizeof(rtnl_link_stats64)))
            return;
        rtnl_link_stats64 stats;
        std::memcpy(&stats, nla_data(tb[IFLA_STATS_LINK_64]), sizeof stats);
        TLinkFacts& f = out.emplace_back();
        f.index = msg->ifindex;
        f.rxBytes = stats.rx_bytes;
        f.txBytes = stats.tx_bytes;
    });
}

TLinkAnswer ParseLinkAnswer(const std::uint8_t* data, std::size_t size, std::uint32_t seq, TLinkFacts& facts) {
    if (size > 0x7FFFFFFF) return TLinkAnswer::Failed;
    // nlmsg_ok checks each header against what is left, so a short or
    // lying length ends the walk.
    auto* h = reinterpret_cast<nlmsghdr*>(const_cast<std::uint8_t*>(data));
    int left = static_cast<int>(size);
    for (; nlmsg_ok(h, left); h = nlmsg_next(h, &left)) {
        if (h->nlmsg_seq != seq) continue;  // a late answer to an earlier request
        if (h->nlmsg_type == NLMSG_ERROR) return TLinkAnswer::Failed;
        if (h->nlmsg_type != RTM_NEWLINK) continue;
        return ParseLinkMessage(h, facts) ? TLinkAnswer::Found : TLinkAnswer::Failed;
    }
    return TLinkAnswer::None;
}

bool ParseLinkMessage(const nlmsghdr* message, TLinkFacts& facts) {
    auto* h = const_cast<nlmsghdr*>(message);
    if (h->nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) return false;
    const auto* info = static_cast<const ifinfomsg*>(nlmsg_data(h));
    nlattr* tb[IFLA_MAX + 1];
    if (nlmsg_parse(h, sizeof(ifinfomsg), tb, IFLA_MAX, nullptr) < 0) return false;
    facts = TLinkFacts{};
    facts.index = static_cast<std::uint32_t>(info->ifi_index);
    facts.flags = info->ifi_flags;
    facts.arpType = info->ifi_type;
    copyText(facts.name, tb[IFLA_IFNAME]);
    copyText(facts.alias, tb[IFLA_IFALIAS]);
    if (tb[IFLA_LINKINFO]) {
        nlattr* info[IFLA_INFO_MAX + 1];
        if (nla_parse_nested(info, IFLA_INFO_MAX, tb[IFLA_LINKINFO], nullptr) == 0) copyText(facts.kind, info[IFLA_INFO_KIND]);
    }
    if (tb[IFLA_MTU] && nla_len(tb[IFLA_MTU]) >= 4) facts.mtu = nla_get_u32(tb[IFLA_MTU]);
    if (tb[IFLA_OPERSTATE] && nla_len(tb[IFLA_OPERSTATE]) >= 1) facts.operState = nla_get_u8(tb[IFLA_OPERSTATE]);
    if (tb[IFLA_ADDRESS]) {
        facts.addressLength = std::min<std::uint32_t>(static_cast<std::uint32_t>(nla_len(tb[IFLA_ADDRESS])),
                                                      static_cast<std::uint32_t>(facts.address.size()));
        std::memcpy(facts.address.data(), nla_data(tb[IFLA_ADDRESS]), facts.addressLength);
    }
    if (tb[IFLA_PERM_ADDRESS]) {
        facts.permAddressLength = std::min<std::uint32_t>(static_cast<std::uint32_t>(nla_len(tb[IFLA_PERM_ADDRESS])),
                                                          static_cast<std::uint32_t>(facts.permAddress.size()));
        std::memcpy(facts.permAddress.data(), nla_data(tb[IFLA_PERM_ADDRESS]), facts.permAddressLength);
    }
    if (tb[IFLA_STATS64] && nla_len(tb[IFLA_STATS64]) >= static_cast<int>(sizeof(rtnl_link_stats64))) {
        rtnl_link_stats64 stats;
        std::memcpy(&stats, nla_data(tb[IFLA_STATS64]), sizeof stats);
        facts.rxBytes = stats.rx_bytes;
        facts.txBytes = stats.tx_bytes;
    } else if (tb[IFLA_STATS] && nla_len(tb[IFLA_STATS]) >= static_cast<int>(sizeof(rtnl_link_stats))) {
        rtnl_link_stats stats;
        std::memcpy(&stats, nla_data(tb[IFLA_STATS]), sizeof stats);
        facts.rxBytes = stats.rx_bytes;
        facts.txBytes = stats.tx_bytes;
    }
    return true;
}

std::uint32_t InterfaceTypeOf(std::uint16_t arpType, const char* name) {
    switch (arpType) {
        case ARPHRD_ETHER:
            if (IsWirelessInterface(name)) return 71;
            return 6;
        case ARPHRD_IEEE80211:
        case ARPHRD_IEEE80211_RADIOTAP: return 71;
        case ARPHRD_LOOPBACK: return 24;
        case ARPHRD_PPP: return 23;
        case ARPHRD_NONE:  // tun, wireguard
        case ARPHRD_TUNNEL:
        case ARPHRD_TUNNEL6:
        case ARPHRD_IPGRE:
        case ARPHRD_IP6GRE:
        case ARPHRD_SIT: return 131;
        case ARPHRD_IEEE1394: return 144;
        case ARPHRD_ATM: return 37;
        case ARPHRD_FDDI: return 15;
        case ARPHRD_IEEE802_TR: return 9;
        case ARPHRD_RAWIP: return 243;
        default: return 1;
    }
}

std::uint32_t IfRowOperStatusOf(std::uint8_t operState, std::uint32_t flags) {
    switch (operState) {
        case IF_OPER_UP: return 5;
        case IF_OPER_DORMANT: return 3;
        case IF_OPER_DOWN:
        case IF_OPER_LOWERLAYERDOWN: return 2;
        case IF_OPER_NOTPRESENT: return 0;
        case IF_OPER_TESTING: return 1;
        default: return (flags & IFF_UP) && (flags & IFF_LOWER_UP) ? 5 : 2;
    }
}

std::uint32_t IfRow2OperStatusOf(std::uint8_t operState, std::uint32_t flags) {
    switch (operState) {
        case IF_OPER_UP: return 1;
        case IF_OPER_DOWN: return 2;
        case IF_OPER_TESTING: return 3;
        case IF_OPER_DORMANT: return 5;
        case IF_OPER_NOTPRESENT: return 6;
        case IF_OPER_LOWERLAYERDOWN: return 7;
        default: return (flags & IFF_UP) && (flags & IFF_LOWER_UP) ? 1 : 4;
    }
}

std::uint64_t LinkSpeedOf(const char* name) {
    char path[128];
    std::snprintf(path, sizeof path, "/sys/class/net/%s/speed", name);
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[32];
    const ssize_t n = ::read(fd, text, sizeof text - 1);  // fails with EINVAL while the link is down
    ::close(fd);
    if (n <= 0) return 0;
    text[n] = 0;
    return LinkSpeedFromText(text);
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

bool IsWirelessInterface(const char* name) {
    return sysClassNetExists(name, "wireless") || sysClassNetExists(name, "phy80211");
}

}  // namespace vx
