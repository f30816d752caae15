#pragma once

// Where the usage history's readings come from: every interface's 64-bit
// counters with its index, name and identity, and the kernel's boot id.
// The kernel's source answers from one rtnetlink link dump; tests script
// their own.

#include <memory>
#include <string>
#include <vector>

#include "usage/usage_records.h"

namespace vx {

class IUsageCounterSource {
public:
    virtual ~IUsageCounterSource() = default;
    // False when the counters cannot be read now.
    virtual bool Read(std::vector<TUsageReading>& out) = 0;
    // Changes with every start of the machine; "" when unknown.
    virtual std::string BootId() = 0;
};

// "hw:" and the address as "aa:bb:..." where an interface has a permanent
// hardware address (not all zeros), else "name:" and its name. A second
// interface with the same hardware address (a VLAN, a bond) goes by name.
std::string UsageKeyOf(const std::uint8_t* permAddress, std::size_t length, const std::string& name);
void MakeUsageKeysUnique(std::vector<TUsageReading>& readings);

std::unique_ptr<IUsageCounterSource> MakeKernelCounterSource(std::string bootIdFile = "/proc/sys/kernel/random/boot_id");

}  // namespace vx
