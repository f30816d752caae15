#pragma once

// Where everything the program knows about the machine's network comes
// from: the links with their facts, the 64-bit counters of all links in one
// reading, the IPv4 addresses, default gateways and neighbours, the route
// towards a destination, and the host's resolver and forwarding switches.
// Plain records; a failed reading answers a std::error_code (errno values)
// and leaves its output empty. TKernelLinkSource reads the kernel; tests use
// a fake.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "netconfig/interface_kind.h"

namespace vx {

struct TLink {
    std::uint32_t Index = 0;
    std::string Name;
    std::string Alias;   // ip link set dev X alias ...; "" when unset
    std::string Driver;  // the driver's name, else the link kind, "Loopback" or the name
    TLinkKind Kind = TLinkKind::Other;
    std::uint32_t Flags = 0;     // IFF_*
    std::uint8_t OperState = 0;  // IF_OPER_*
    std::uint16_t ArpType = 0;   // ARPHRD_*
    bool Wireless = false;
    std::uint32_t Mtu = 0;
    std::uint64_t Speed = 0;  // bits per second; 0 when unknown
    // The hardware address as configured, and the one the hardware came
    // with (empty for virtual links).
    std::vector<std::uint8_t> Address, PermAddress;
    // Per-link resolver settings and DHCP lease.
    bool Ipv6Enabled = false;
    std::string DnsSuffix;
    std::vector<std::string> DnsServers;
    std::string DhcpServer;  // "" when no lease names one
};

struct TLinkCounters {
    std::uint32_t Index = 0;
    std::uint64_t Received = 0;
    std::uint64_t Sent = 0;
    // When a source that polls (a remote host's exporter) took the reading,
    // as a millisecond tick count of the monotonic clock (IClock's); none
    // for a reading taken now. Rates then divide by the time between two
    // readings, not between two looks at the latest one.
    std::optional<std::uint32_t> ReadTick{};
};

struct TIpv4Address {
    std::uint32_t Index = 0;
    std::uint32_t Address = 0;  // first octet most significant
    std::uint8_t PrefixLength = 0;
    bool Secondary = false;
    bool Dynamic = false;    // has a finite lifetime (handed out by DHCP)
    bool Tentative = false;  // duplicate address detection still running
};

struct TGateway {
    std::uint32_t Index = 0;
    std::uint32_t Address = 0;
};

enum class TNeighbourState : std::uint8_t { Other, Invalid, Dynamic, Static };

struct TNeighbour {
    std::uint32_t Index = 0;
    std::uint32_t Address = 0;
    std::vector<std::uint8_t> Hardware;
    TNeighbourState State = TNeighbourState::Other;
};

struct THostFacts {
    std::string HostName;
    std::string DomainName;
    std::vector<std::string> DnsServers;
    bool Forwarding = false;
    bool ProxyArp = false;
};

class ILinkSource {
public:
    virtual ~ILinkSource() = default;

    virtual std::error_code Links(std::vector<TLink>& out) = 0;
    // Every link's counters from one reading. `out` is reused: no heap
    // allocation once it has room for every link.
    virtual std::error_code Counters(std::vector<TLinkCounters>& out) = 0;
    // One link's counters; no heap allocation.
    virtual std::error_code CountersOf(std::uint32_t index, TLinkCounters& out) = 0;
    virtual std::error_code Addresses(std::vector<TIpv4Address>& out) = 0;
    virtual std::error_code Gateways(std::vector<TGateway>& out) = 0;
    virtual std::error_code Neighbours(std::vector<TNeighbour>& out) = 0;
    // The link the routing table sends `destination` (first octet most
    // significant) through; no packet is sent.
    virtual std::optional<std::uint32_t> RouteTo(std::uint32_t destination) = 0;
    virtual THostFacts Host() = 0;
};

}  // namespace vx
