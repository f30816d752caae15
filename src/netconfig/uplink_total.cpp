#include "netconfig/uplink_total.h"

namespace vx {

void TUplinkTotal::Update(const std::vector<TUplinkReading>& physical) {
    // Last readings are replaced in place: no allocation once every card
    // has been seen. Cards not read now are forgotten after the pass.
    for (auto& [index, last] : last_) last.seen = false;
    for (const TUplinkReading& r : physical) {
        const auto [it, added] = last_.try_emplace(r.Index, TLast{r.Received, r.Sent, true});
        if (!started_) {
            received_ += r.Received;
            sent_ += r.Sent;
        } else if (!added) {
            // A counter that went back belongs to a new interface: no difference.
            if (r.Received >= it->second.received) received_ += r.Received - it->second.received;
            if (r.Sent >= it->second.sent) sent_ += r.Sent - it->second.sent;
        }
        it->second = {r.Received, r.Sent, true};
    }
    std::erase_if(last_, [](const auto& entry) { return !entry.second.seen; });
    started_ = true;
}

}  // namespace vx
