#include "netconfig/uplink_total.h"

namespace vx {

void TUplinkTotal::Update(const std::vector<TUplinkReading>& physical) {
    // Last readings are replaced in place: no allocation once every card
    // has been seen. Cards not read now are forgotten after the pass.
    for (auto& [index, last] : FLast) last.seen = false;
    for (const TUplinkReading& r : physical) {
        const auto [it, added] = FLast.try_emplace(r.Index, TLast{r.Received, r.Sent, true});
        if (!FStarted) {
            FReceived += r.Received;
            FSent += r.Sent;
        } else if (!added) {
            // A counter that went back belongs to a new interface: no difference.
            if (r.Received >= it->second.received) FReceived += r.Received - it->second.received;
            if (r.Sent >= it->second.sent) FSent += r.Sent - it->second.sent;
        }
        it->second = {r.Received, r.Sent, true};
    }
    std::erase_if(FLast, [](const auto& entry) { return !entry.second.seen; });
    FStarted = true;
}

}  // namespace vx
