#pragma once

// The kernel's link table and counters over one rtnetlink socket: a link
// dump (RTM_GETLINK) for the links' facts, and RTM_GETSTATS for the 64-bit
// counters, of every link in one dump or of one link, received into a
// buffer that is kept, so that reading counters allocates nothing.
// Messages are parsed with libnl's attribute policies.

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "netconfig/link_source.h"

struct nlmsghdr;

namespace vx {

class TLinkDump {
public:
    TLinkDump();
    ~TLinkDump();
    TLinkDump(const TLinkDump&) = delete;
    TLinkDump& operator=(const TLinkDump&) = delete;

    // Every link in kernel order, with what the link message says (index,
    // name, alias, flags, state, hardware type, MTU, addresses) and the
    // kind the kernel names (IFLA_INFO_KIND: "veth", "bridge", ...; "" for
    // a device without one, as a network card) in `kinds`, one per link.
    std::error_code Links(std::vector<TLink>& out, std::vector<std::string>& kinds);
    // Every link's counters; `out` is reused.
    std::error_code Counters(std::vector<TLinkCounters>& out);
    // One link's counters (ENODEV when there is no such link).
    std::error_code CountersOf(std::uint32_t index, TLinkCounters& out);

private:
    std::error_code open();
    template <typename Request, typename Take>
    std::error_code exchange(const Request& request, std::uint16_t answerType, Take take);

    int FFd = -1;
    std::uint32_t FSeq = 0;
    std::vector<std::uint8_t> FBuffer;
};

// The facts of one RTM_NEWLINK message and its link kind; false when the
// message does not parse (short, or an attribute of the wrong size).
bool ParseLinkMessage(const ::nlmsghdr* message, TLink& link, std::string& kind);
// The counters of one RTM_NEWSTATS message; false when it carries none.
bool ParseStatsMessage(const ::nlmsghdr* message, TLinkCounters& counters);

}  // namespace vx
