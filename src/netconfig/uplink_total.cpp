#include "netconfig/uplink_total.h"

namespace vx {

void TUplinkTotal::Update(const std::vector<TUplinkReading>& physical) {
    std::unordered_map<std::uint32_t, TLast> now;
    now.reserve(physical.size());
    for (const TUplinkReading& r : physical) {
        now[r.Index] = {r.Received, r.Sent};
        const auto before = last_.find(r.Index);
        if (!started_) {
            received_ += r.Received;
            sent_ += r.Sent;
        } else if (before != last_.end()) {
            // A counter that went back belongs to a new interface: no difference.
            if (r.Received >= before->second.received) received_ += r.Received - before->second.received;
            if (r.Sent >= before->second.sent) sent_ += r.Sent - before->second.sent;
        }
    }
    last_ = std::move(now);
    started_ = true;
}

}  // namespace vx
