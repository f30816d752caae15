#pragma once

// The uplink total: the bytes of the physical interfaces, summed so that
// each byte is counted once. Only physical devices are added: a bridge, a
// bond or a VLAN carries bytes that also pass its physical port, slave or
// parent (counted there), and a tunnel's or VPN's bytes pass the physical
// interface encapsulated; veths and other virtual links lead to the same
// machine or a container on it.
//
// The total grows by each interface's own differences: an interface that
// appears (plugged in, brought up) adds only what passes after it is first
// seen, not its earlier bytes, and one whose counters go back (re-created,
// reset) starts anew; the total never goes back.

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vx {

struct TUplinkReading {
    std::uint32_t Index = 0;
    std::uint64_t Received = 0;
    std::uint64_t Sent = 0;
};

class TUplinkTotal {
public:
    // The physical interfaces' counters now: the total after them. At the
    // first reading the total is the sum of the counters then (the
    // interfaces' totals, as their own rows show them).
    void Update(const std::vector<TUplinkReading>& physical);
    std::uint64_t Received() const { return FReceived; }
    std::uint64_t Sent() const { return FSent; }

private:
    struct TLast {
        std::uint64_t received, sent;
        bool seen;  // read in the current pass
    };
    std::unordered_map<std::uint32_t, TLast> FLast;
    std::uint64_t FReceived = 0, FSent = 0;
    bool FStarted = false;
};

}  // namespace vx
