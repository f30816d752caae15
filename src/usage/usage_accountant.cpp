#include "usage/usage_accountant.h"

#include "netconfig/uplink_link_source.h"

namespace vx {

TUsageAccountant::TUsageAccountant(std::string bootId, const std::vector<TUsageBaseline>& stored)
    : bootId_(std::move(bootId)) {
    for (const TUsageBaseline& b : stored) stored_[b.Key] = b;
}

void TUsageAccountant::book(const std::string& key, int day, const TUsageBytes& delta) {
    pending_.Increments[{key, day}] += delta;
    if (!physical_.contains(key)) return;
    pending_.Increments[{kUplinkUsageKey, day}] += delta;
    pending_.Names[kUplinkUsageKey] = kUplinkName;
}

void TUsageAccountant::Account(const std::vector<TUsageReading>& readings, int day) {
    for (const TUsageReading& r : readings) {
        if (r.Physical) physical_.insert(r.Key);
        else physical_.erase(r.Key);
        const TUsageBaseline* last = nullptr;
        if (const auto it = current_.find(r.Key); it != current_.end()) {
            last = &it->second;
        } else if (const auto kept = stored_.find(r.Key); kept != stored_.end()) {
            // A baseline of an earlier run holds only within the same boot.
            if (!bootId_.empty() && kept->second.BootId == bootId_) last = &kept->second;
        }
        const bool continues = last && last->Index == r.Index && r.Counters.Received >= last->Counters.Received &&
                               r.Counters.Sent >= last->Counters.Sent;
        if (continues) {
            const TUsageBytes delta{r.Counters.Received - last->Counters.Received, r.Counters.Sent - last->Counters.Sent};
            if (delta.Total() > 0) book(r.Key, day, delta);
        }
        stored_.erase(r.Key);
        current_[r.Key] = {r.Key, r.Index, bootId_, r.Counters};
        first_.try_emplace(r.Key, current_[r.Key], day);
        pending_.Names[r.Key] = r.Name;
    }
    pending_.Baselines.clear();
    for (const auto& [key, baseline] : current_) pending_.Baselines.push_back(baseline);
}

void TUsageAccountant::AdoptStored(const std::vector<TUsageBaseline>& stored) {
    for (const TUsageBaseline& b : stored) {
        if (bootId_.empty() || b.BootId != bootId_) continue;
        const auto first = first_.find(b.Key);
        if (first == first_.end()) {
            if (!current_.contains(b.Key)) stored_[b.Key] = b;
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
    pending_.Increments.clear();
    pending_.Baselines.clear();
    // Names stay: the next batch may book traffic on any interface seen.
}

}  // namespace vx
