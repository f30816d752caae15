#include "usage/counter_source.h"

#include <algorithm>
#include <fstream>
#include <set>

#include "netconfig/kernel_link_source.h"

namespace vx {

std::string UsageKeyOf(const std::uint8_t* permAddress, std::size_t length, const std::string& name) {
    bool any = false;
    for (std::size_t i = 0; i < length; ++i) any = any || permAddress[i] != 0;
    if (!any) return "name:" + name;
    static const char* const digits = "0123456789abcdef";
    std::string key = "hw:";
    for (std::size_t i = 0; i < length; ++i) {
        if (i) key += ':';
        key += digits[permAddress[i] >> 4];
        key += digits[permAddress[i] & 15];
    }
    return key;
}

void MakeUsageKeysUnique(std::vector<TUsageReading>& readings) {
    std::set<std::string> seen;
    for (TUsageReading& r : readings)
        if (!seen.insert(r.Key).second) r.Key = "name:" + r.Name;
}

TUsageCounterSource::TUsageCounterSource(std::shared_ptr<ILinkSource> links, std::string bootIdFile)
    : FLinks(links ? std::move(links) : std::make_shared<TKernelLinkSource>()), FBootIdFile(std::move(bootIdFile)) {}

bool TUsageCounterSource::Read(std::vector<TUsageReading>& out) {
    out.clear();
    if (FLinks->Links(FLinkList) || FLinks->Counters(FCounters)) return false;
    for (const TLink& link : FLinkList) {
        const auto counters = std::find_if(FCounters.begin(), FCounters.end(),
                                           [&](const TLinkCounters& c) { return c.Index == link.Index; });
        if (counters == FCounters.end()) continue;  // came or went between the two readings
        TUsageReading r;
        r.Index = link.Index;
        r.Name = link.Name;
        r.Key = UsageKeyOf(link.PermAddress.data(), link.PermAddress.size(), r.Name);
        r.Counters = {counters->Received, counters->Sent};
        r.Physical = IsPhysical(link.Kind);
        out.push_back(std::move(r));
    }
    readRemote(out);
    MakeUsageKeysUnique(out);
    return true;
}

void TUsageCounterSource::readRemote(std::vector<TUsageReading>& out) {
    for (const TRemoteLinks& host : FRemote) {
        if (host.Links->Links(FLinkList) || host.Links->Counters(FCounters)) continue;
        for (const TLinkCounters& c : FCounters) {
            const auto link = std::find_if(FLinkList.begin(), FLinkList.end(),
                                           [&](const TLink& l) { return l.Index == c.Index; });
            if (link == FLinkList.end()) continue;
            TUsageReading r;
            r.Index = c.Index;
            r.Name = host.HostName + ": " + link->Name;
            r.Key = kRemoteUsagePrefix + host.HostName + "/" + link->Name;
            r.Counters = {c.Received, c.Sent};
            r.CatchUp = false;
            out.push_back(std::move(r));
        }
    }
}

std::string TUsageCounterSource::BootId() const {
    std::ifstream in(FBootIdFile);
    std::string id;
    std::getline(in, id);
    return id;
}

}  // namespace vx
