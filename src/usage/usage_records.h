#pragma once

// The records the usage history is made of.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vx {

// Bytes received and sent.
struct TUsageBytes {
    std::uint64_t Received = 0;
    std::uint64_t Sent = 0;
    std::uint64_t Total() const { return Received + Sent; }
    bool operator==(const TUsageBytes&) const = default;
    TUsageBytes& operator+=(const TUsageBytes& other) {
        Received += other.Received;
        Sent += other.Sent;
        return *this;
    }
};

// One interface's counters as the kernel gave them. Key names the
// interface across renames and restarts: "hw:" and its permanent hardware
// address where it has one, else "name:" and its name.
struct TUsageReading {
    std::uint32_t Index = 0;
    std::string Key;
    std::string Name;
    TUsageBytes Counters;
    bool Physical = false;  // a device behind it: its traffic goes into the uplink total
    // Its counters may continue a baseline of an earlier run of the same
    // boot. Not so for another machine's interface: its restarts are not
    // known, so traffic while the program was closed is not guessed.
    bool CatchUp = true;
};

// A remote host's interfaces in the history are keyed by host and device.
inline constexpr const char* kRemoteUsagePrefix = "remote:";

// The uplink total's entry in the history: the physical interfaces'
// traffic added up as it is booked (each byte once: see uplink_total.h).
inline constexpr const char* kUplinkUsageKey = "sum:all-physical";

// The counters last seen of an interface, with the index and the boot they
// belong to: traffic while the program was closed is their difference.
struct TUsageBaseline {
    std::string Key;
    std::uint32_t Index = 0;
    std::string BootId;
    TUsageBytes Counters;
};

// What a write adds: bytes per interface key and day, the interfaces'
// current names and their baselines.
struct TUsageBatch {
    std::map<std::pair<std::string, int>, TUsageBytes> Increments;
    std::map<std::string, std::string> Names;
    std::vector<TUsageBaseline> Baselines;
};

// An interface of the history, with its monthly allowance (0: none).
struct TUsageInterface {
    std::int64_t Id = 0;
    std::string Key;
    std::string Name;
    double AllowanceGB = 0;
    int BillingDay = 1;
    // The billing period start (yyyymmdd) and percentage last announced.
    int NotifiedPeriod = 0;
    int NotifiedLevel = 0;
};

struct TDayUsage {
    int Day = 0;  // yyyymmdd, or yyyymm for a month
    TUsageBytes Bytes;
};

}  // namespace vx
