#pragma once

// Where the usage history's readings come from: every interface's 64-bit
// counters with its index, name and identity, read from a link source, and
// the kernel's boot id. Remote hosts' interfaces are read too, from their
// latest readings, keyed by host and device ("remote:NAS/eth0", named
// "NAS: eth0"); a host not reached adds nothing.

#include <memory>
#include <string>
#include <vector>

#include "netconfig/link_source.h"
#include "usage/usage_records.h"

namespace vx {

class TUsageCounterSource {
public:
    // links: the kernel's when null.
    explicit TUsageCounterSource(std::shared_ptr<ILinkSource> links = nullptr,
                                 std::string bootIdFile = "/proc/sys/kernel/random/boot_id");
    // False when the counters cannot be read now.
    bool Read(std::vector<TUsageReading>& out);
    // Changes with every start of the machine; "" when unknown.
    std::string BootId() const;

    struct TRemoteLinks {
        std::string HostName;
        std::shared_ptr<ILinkSource> Links;
    };
    void SetRemoteLinks(std::vector<TRemoteLinks> remote) { FRemote = std::move(remote); }

private:
    std::shared_ptr<ILinkSource> FLinks;
    std::string FBootIdFile;
    std::vector<TLink> FLinkList;
    std::vector<TLinkCounters> FCounters;
    std::vector<TRemoteLinks> FRemote;
    void readRemote(std::vector<TUsageReading>& out);
};

// "hw:" and the address as "aa:bb:..." where an interface has a permanent
// hardware address (not all zeros), else "name:" and its name. A second
// interface with the same hardware address (a VLAN, a bond) goes by name.
std::string UsageKeyOf(const std::uint8_t* permAddress, std::size_t length, const std::string& name);
void MakeUsageKeysUnique(std::vector<TUsageReading>& readings);

}  // namespace vx
