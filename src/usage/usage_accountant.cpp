#include "usage/usage_accountant.h"

#include "netconfig/uplink_link_source.h"

namespace vx {

TUsageAccountant::TUsageAccountant(std::string bootId, const std::vector<TUsageBaseline>& stored)
    : FBootId(std::move(bootId)) {
    for (const TUsageBaseline& b : stored) FStored[b.Key] = b;
}

void TUsageAccountant::book(const std::string& key, int day, const TUsageBytes& delta) {
    FPending.Increments[{key, day}] += delta;
    if (!FPhysical.contains(key)) return;
    FPending.Increments[{kUplinkUsageKey, day}] += delta;
    FPending.Names[kUplinkUsageKey] = kUplinkName;
}

void TUsageAccountant::Account(const std::vector<TUsageReading>& readings, int day) {
    for (const TUsageReading& r : readings) {
        if (r.Physical) FPhysical.insert(r.Key);
        else FPhysical.erase(r.Key);
        const TUsageBaseline* last = nullptr;
        if (const auto it = FCurrent.find(r.Key); it != FCurrent.end()) {
            last = &it->second;
        } else if (const auto kept = FStored.find(r.Key); kept != FStored.end()) {
            // A baseline of an earlier run holds only within the same boot.
            if (r.CatchUp && !FBootId.empty() && kept->second.BootId == FBootId) last = &kept->second;
        }
        const bool continues = last && last->Index == r.Index && r.Counters.Received >= last->Counters.Received &&
                               r.Counters.Sent >= last->Counters.Sent;
        if (continues) {
            const TUsageBytes delta{r.Counters.Received - last->Counters.Received, r.Counters.Sent - last->Counters.Sent};
            if (delta.Total() > 0) book(r.Key, day, delta);
        }
        FStored.erase(r.Key);
        FCurrent[r.Key] = {r.Key, r.Index, FBootId, r.Counters};
        if (r.CatchUp) FFirst.try_emplace(r.Key, FCurrent[r.Key], day);
        else FNoCatchUp.insert(r.Key);
        FPending.Names[r.Key] = r.Name;
    }
    FPending.Baselines.clear();
    for (const auto& [key, baseline] : FCurrent) FPending.Baselines.push_back(baseline);
}

void TUsageAccountant::AdoptStored(const std::vector<TUsageBaseline>& stored) {
    for (const TUsageBaseline& b : stored) {
        if (FBootId.empty() || b.BootId != FBootId) continue;
        const auto first = FFirst.find(b.Key);
        if (first == FFirst.end()) {
            if (!FCurrent.contains(b.Key) && !FNoCatchUp.contains(b.Key)) FStored[b.Key] = b;
            continue;
        }
        const TUsageBaseline& f = first->second.first;
        if (f.Index != b.Index || f.Counters.Received < b.Counters.Received || f.Counters.Sent < b.Counters.Sent)
            continue;
        const TUsageBytes delta{f.Counters.Received - b.Counters.Received, f.Counters.Sent - b.Counters.Sent};
        if (delta.Total() > 0) book(b.Key, first->second.second, delta);
    }
}

void TUsageAccountant::Committed() {
    FPending.Increments.clear();
    FPending.Baselines.clear();
    // Names stay: the next batch may book traffic on any interface seen.
}

}  // namespace vx
