#pragma once

// Time as the sampling code reads it, replaceable so tests can move time by
// hand: a millisecond tick count (the monotonic clock truncated to 32 bits,
// so it wraps after about 49.7 days) and the local date and time.

#include <cstdint>

#include "sysinfo/date_time.h"

namespace vx {

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint32_t TickCount() = 0;
    virtual TDateTime Now() = 0;
};

class TSystemClock : public IClock {
public:
    std::uint32_t TickCount() override;
    TDateTime Now() override { return vx::Now(); }
};

}  // namespace vx
