#pragma once

// What the kernel says about one network interface, read with a single
// rtnetlink request into fixed buffers, so that asking allocates nothing.
// Used for the per-interface rows and the traffic counters.

#include <net/if.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct nlmsghdr;

namespace vx {

struct TLinkFacts {
    std::uint32_t index = 0;
    std::array<char, IF_NAMESIZE + 1> name{};
    std::array<char, 257> alias{};
    std::array<std::uint8_t, 32> address{};
    std::uint32_t addressLength = 0;
    // The address the hardware came with (IFLA_PERM_ADDRESS); length 0 for
    // virtual interfaces, which have none.
    std::array<std::uint8_t, 32> permAddress{};
    std::uint32_t permAddressLength = 0;
    std::uint32_t mtu = 0;
    std::uint8_t operState = 0;  // IF_OPER_*
    std::uint32_t flags = 0;     // IFF_*
    std::uint16_t arpType = 0;   // ARPHRD_*
    // The link kind the kernel names (IFLA_INFO_KIND: "veth", "bridge",
    // ...); empty for a device without one, as a network card.
    std::array<char, 24> kind{};
    std::uint64_t rxBytes = 0;
    std::uint64_t txBytes = 0;
};

class TLinkQuery {
public:
    TLinkQuery();
    ~TLinkQuery();
    TLinkQuery(const TLinkQuery&) = delete;
    TLinkQuery& operator=(const TLinkQuery&) = delete;

    // One RTM_GETLINK request for the interface. False when the interface
    // does not exist or the kernel cannot be asked.
    bool Query(std::uint32_t index, TLinkFacts& facts);
    // One RTM_GETLINK dump: every interface's facts, in kernel order. False
    // when the kernel cannot be asked; `out` is reused (no allocation once
    // it has grown to the number of interfaces).
    bool Dump(std::vector<TLinkFacts>& out);
    // One RTM_GETSTATS dump of the 64-bit counters only (the kernel then
    // writes no other attribute: far cheaper than a link dump). Only index,
    // rxBytes and txBytes of each entry are set.
    bool DumpCounters(std::vector<TLinkFacts>& out);

private:
    bool open();

    int fd_ = -1;
    std::uint32_t seq_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// What one buffer received from rtnetlink says in answer to the request
// with sequence number `seq`: the link (its facts filled in), a refusal,
// or nothing yet (messages of other requests, or none at all).
enum class TLinkAnswer { None, Found, Failed };
TLinkAnswer ParseLinkAnswer(const std::uint8_t* data, std::size_t size, std::uint32_t seq, TLinkFacts& facts);
// The facts of one RTM_NEWLINK message; false when it does not parse.
bool ParseLinkMessage(const ::nlmsghdr* message, TLinkFacts& facts);

// The text of /sys/class/net/<name>/speed (megabits per second) in bits
// per second; 0 when it says nothing usable.
std::uint64_t LinkSpeedFromText(const char* text);

// Mappings from kernel facts to the platform numbers the program uses.
// Interface type: ether 6, wireless 71, loopback 24, ppp 23, tunnels 131,
// ieee1394 144, atm 37, fddi 15, token ring 9, wwan 243, anything else 1.
std::uint32_t InterfaceTypeOf(std::uint16_t arpType, const char* name);
// MIB_IFROW operational status: operational 5, dormant 3, down or lower
// layer down 2, testing 1, not present 0; "unknown" counts as operational
// when the interface is up and has a carrier (loopback, tun), else 2.
std::uint32_t IfRowOperStatusOf(std::uint8_t operState, std::uint32_t flags);
// MIB_IF_ROW2 operational status (IF_OPER_STATUS: 1 up ... 7 lower layer down).
std::uint32_t IfRow2OperStatusOf(std::uint8_t operState, std::uint32_t flags);
// Link speed in bits per second from sysfs; 0 when unknown.
std::uint64_t LinkSpeedOf(const char* name);
bool IsWirelessInterface(const char* name);

}  // namespace vx
