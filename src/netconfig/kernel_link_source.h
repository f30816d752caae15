#pragma once

// The link source of this machine: rtnetlink for links and counters (see
// link_dump.h) and, through libnl-route-3's caches, for addresses, routes
// and neighbours; sysfs for speeds, wireless and devices; ethtool for the
// driver's name; the system's text files for DNS and DHCP leases.

#include <memory>

#include "netconfig/link_dump.h"
#include "netconfig/link_source.h"
#include "netconfig/system_files.h"

struct nl_sock;
struct nl_cache;

namespace vx {

class TKernelLinkSource : public ILinkSource {
public:
    explicit TKernelLinkSource(TSystemFiles files = TSystemFiles());
    ~TKernelLinkSource() override;

    std::error_code Links(std::vector<TLink>& out) override;
    std::error_code Counters(std::vector<TLinkCounters>& out) override { return FDump.Counters(out); }
    std::error_code CountersOf(std::uint32_t index, TLinkCounters& out) override {
        return FDump.CountersOf(index, out);
    }
    std::error_code Addresses(std::vector<TIpv4Address>& out) override;
    std::error_code Gateways(std::vector<TGateway>& out) override;
    std::error_code Neighbours(std::vector<TNeighbour>& out) override;
    std::optional<std::uint32_t> RouteTo(std::uint32_t destination) override;
    THostFacts Host() override;

private:
    struct SocketDeleter {
        void operator()(nl_sock* s) const;
    };
    nl_sock* socket();
    template <typename Object, typename Alloc, typename Visit>
    std::error_code readCache(Alloc alloc, Visit visit);

    TSystemFiles FFiles;
    TLinkDump FDump;
    std::vector<std::string> FKinds;
    std::unique_ptr<nl_sock, SocketDeleter> FSock;
};

// The text of /sys/class/net/<name>/speed (megabits per second) in bits
// per second; 0 when it says nothing usable.
std::uint64_t LinkSpeedFromText(const char* text);

}  // namespace vx
