#include "netconfig/link_dump.h"

#include <net/if.h>
// libnl after <net/if.h>: its headers pull in <linux/if.h>.
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netlink/attr.h>
#include <netlink/msg.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vx {
namespace {

constexpr std::size_t kReceiveBufferSize = 64 * 1024;
constexpr std::uint16_t kMaxHardwareAddress = 32;  // MAX_ADDR_LEN

// What a link message may carry; an attribute outside these sizes makes
// the message unreadable rather than half read.
const nla_policy* linkPolicy() {
    static const auto policy = [] {
        static nla_policy p[IFLA_MAX + 1] = {};
        p[IFLA_IFNAME] = {NLA_STRING, 0, IF_NAMESIZE};
        p[IFLA_IFALIAS] = {NLA_STRING, 0, 256};
        p[IFLA_MTU] = {NLA_U32, 0, 0};
        p[IFLA_OPERSTATE] = {NLA_U8, 0, 0};
        p[IFLA_ADDRESS] = {NLA_UNSPEC, 0, kMaxHardwareAddress};
        p[IFLA_PERM_ADDRESS] = {NLA_UNSPEC, 0, kMaxHardwareAddress};
        p[IFLA_LINKINFO] = {NLA_NESTED, 0, 0};
        return p;
    }();
    return policy;
}

const nla_policy* linkInfoPolicy() {
    static const auto policy = [] {
        static nla_policy p[IFLA_INFO_MAX + 1] = {};
        p[IFLA_INFO_KIND] = {NLA_STRING, 0, 64};
        return p;
    }();
    return policy;
}

const nla_policy* statsPolicy() {
    static const auto policy = [] {
        static nla_policy p[IFLA_STATS_MAX + 1] = {};
        p[IFLA_STATS_LINK_64] = {NLA_UNSPEC, sizeof(rtnl_link_stats64), 0};
        return p;
    }();
    return policy;
}

std::string textOf(const nlattr* attr) {
    if (!attr) return {};
    const auto* data = static_cast<const char*>(nla_data(attr));
    return std::string(data, ::strnlen(data, static_cast<std::size_t>(nla_len(attr))));
}

std::vector<std::uint8_t> bytesOf(const nlattr* attr) {
    if (!attr) return {};
    const auto* data = static_cast<const std::uint8_t*>(nla_data(attr));
    return std::vector<std::uint8_t>(data, data + nla_len(attr));
}

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

std::error_code lastError() { return {errno, std::system_category()}; }

}  // namespace

TLinkDump::TLinkDump() : FBuffer(kReceiveBufferSize) { open(); }

TLinkDump::~TLinkDump() {
    if (FFd >= 0) ::close(FFd);
}

std::error_code TLinkDump::open() {
    if (FFd >= 0) return {};
    FFd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (FFd < 0) return lastError();
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    if (::bind(FFd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const std::error_code error = lastError();
        ::close(FFd);
        FFd = -1;
        return error;
    }
    // A lost answer must not hold the caller forever.
    timeval timeout{1, 0};
    ::setsockopt(FFd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return {};
}

// Sends a request and walks the answer: each message of `answerType` goes
// to `take`; a dump ends at NLMSG_DONE, a single answer after its message.
template <typename Request, typename Take>
std::error_code TLinkDump::exchange(const Request& request, std::uint16_t answerType, Take take) {
    if (const std::error_code error = open()) return error;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(FFd, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) < 0)
        return lastError();
    const bool isDump = request.header.nlmsg_flags & NLM_F_DUMP;
    for (;;) {
        const ssize_t n = ::recv(FFd, FBuffer.data(), FBuffer.size(), 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        auto* h = reinterpret_cast<nlmsghdr*>(FBuffer.data());
        int left = static_cast<int>(n);
        for (; nlmsg_ok(h, left); h = nlmsg_next(h, &left)) {
            if (h->nlmsg_seq != request.header.nlmsg_seq) continue;  // a late answer to an earlier request
            if (h->nlmsg_type == NLMSG_DONE) return {};
            if (h->nlmsg_type == NLMSG_ERROR) {
                const auto* e = static_cast<const nlmsgerr*>(nlmsg_data(h));
                if (h->nlmsg_len < NLMSG_LENGTH(sizeof *e) || e->error == 0) return {};
                return {-e->error, std::system_category()};
            }
            if (h->nlmsg_type == answerType) {
                take(h);
                if (!isDump) return {};
            }
        }
    }
}

std::error_code TLinkDump::Links(std::vector<TLink>& out, std::vector<std::string>& kinds) {
    out.clear();
    kinds.clear();
    auto request = requestOf<ifinfomsg>(RTM_GETLINK, NLM_F_REQUEST | NLM_F_DUMP, ++FSeq);
    request.body.ifi_family = AF_UNSPEC;
    const std::error_code error = exchange(request, RTM_NEWLINK, [&](nlmsghdr* h) {
        TLink link;
        std::string kind;
        if (!ParseLinkMessage(h, link, kind)) return;
        out.push_back(std::move(link));
        kinds.push_back(std::move(kind));
    });
    if (error) out.clear(), kinds.clear();
    return error;
}

std::error_code TLinkDump::Counters(std::vector<TLinkCounters>& out) {
    out.clear();
    auto request = requestOf<if_stats_msg>(RTM_GETSTATS, NLM_F_REQUEST | NLM_F_DUMP, ++FSeq);
    request.body.family = AF_UNSPEC;
    request.body.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    const std::error_code error = exchange(request, RTM_NEWSTATS, [&](nlmsghdr* h) {
        TLinkCounters c;
        if (ParseStatsMessage(h, c)) out.push_back(c);
    });
    if (error) out.clear();
    return error;
}

std::error_code TLinkDump::CountersOf(std::uint32_t index, TLinkCounters& out) {
    out = TLinkCounters{};
    if (index == 0 || index > 0x7FFFFFFF) return std::make_error_code(std::errc::no_such_device);
    auto request = requestOf<if_stats_msg>(RTM_GETSTATS, NLM_F_REQUEST, ++FSeq);
    request.body.family = AF_UNSPEC;
    request.body.ifindex = index;
    request.body.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    bool found = false;
    const std::error_code error = exchange(request, RTM_NEWSTATS, [&](nlmsghdr* h) {
        found = ParseStatsMessage(h, out) && out.Index == index;
    });
    if (error) return error;
    if (!found) {
        out = TLinkCounters{};
        return std::make_error_code(std::errc::no_such_device);
    }
    return {};
}

bool ParseLinkMessage(const nlmsghdr* message, TLink& link, std::string& kind) {
    auto* h = const_cast<nlmsghdr*>(message);
    if (h->nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) return false;
    const auto* info = static_cast<const ifinfomsg*>(nlmsg_data(h));
    nlattr* tb[IFLA_MAX + 1];
    if (nlmsg_parse(h, sizeof(ifinfomsg), tb, IFLA_MAX, const_cast<nla_policy*>(linkPolicy())) < 0) return false;
    link = TLink{};
    link.Index = static_cast<std::uint32_t>(info->ifi_index);
    link.Flags = info->ifi_flags;
    link.ArpType = info->ifi_type;
    link.Name = textOf(tb[IFLA_IFNAME]);
    link.Alias = textOf(tb[IFLA_IFALIAS]);
    if (tb[IFLA_MTU]) link.Mtu = nla_get_u32(tb[IFLA_MTU]);
    if (tb[IFLA_OPERSTATE]) link.OperState = nla_get_u8(tb[IFLA_OPERSTATE]);
    link.Address = bytesOf(tb[IFLA_ADDRESS]);
    link.PermAddress = bytesOf(tb[IFLA_PERM_ADDRESS]);
    kind.clear();
    if (tb[IFLA_LINKINFO]) {
        nlattr* nested[IFLA_INFO_MAX + 1];
        if (nla_parse_nested(nested, IFLA_INFO_MAX, tb[IFLA_LINKINFO], const_cast<nla_policy*>(linkInfoPolicy())) == 0)
            kind = textOf(nested[IFLA_INFO_KIND]);
    }
    return true;
}

bool ParseStatsMessage(const nlmsghdr* message, TLinkCounters& counters) {
    auto* h = const_cast<nlmsghdr*>(message);
    if (h->nlmsg_len < NLMSG_LENGTH(sizeof(if_stats_msg))) return false;
    const auto* msg = static_cast<const if_stats_msg*>(nlmsg_data(h));
    nlattr* tb[IFLA_STATS_MAX + 1];
    if (nlmsg_parse(h, sizeof(if_stats_msg), tb, IFLA_STATS_MAX, const_cast<nla_policy*>(statsPolicy())) < 0)
        return false;
    if (!tb[IFLA_STATS_LINK_64]) return false;
    rtnl_link_stats64 stats;
    std::memcpy(&stats, nla_data(tb[IFLA_STATS_LINK_64]), sizeof stats);
    counters.Index = msg->ifindex;
    counters.Received = stats.rx_bytes;
    counters.Sent = stats.tx_bytes;
    return true;
}

}  // namespace vx
