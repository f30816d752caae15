#pragma once

// What the per-application counter tells a user: rows of traffic totals,
// each an application, a unit or one of two totals (other users, the
// system), counted since the counter started.

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

enum class TRowKind { Application, UserService, Session, SystemService, OtherUsers, System };

struct TTrafficTotals {
    std::uint64_t ReceivedBytes = 0, SentBytes = 0, ReceivedPackets = 0, SentPackets = 0;
    TTrafficTotals& operator+=(const TTrafficTotals& o) {
        ReceivedBytes += o.ReceivedBytes;
        SentBytes += o.SentBytes;
        ReceivedPackets += o.ReceivedPackets;
        SentPackets += o.SentPackets;
        return *this;
    }
    bool operator==(const TTrafficTotals&) const = default;
};

struct TTrafficRow {
    TRowKind Kind = TRowKind::System;
    std::string Id;  // the application id or unit; "" for the two totals
    TTrafficTotals Totals;
    std::vector<std::string> Cgroups;  // the live cgroups' paths, for the asker's own rows
    bool operator==(const TTrafficRow&) const = default;
};

}  // namespace vx
