#pragma once

#include <cmath>

#include "sysinfo/clock.h"

namespace vx::test {

// A clock that moves only when told. Its times are shaped as the system
// clock's: a day number plus whole milliseconds of the day, added as the
// system clock adds them.
class TManualClock : public IClock {
public:
    std::uint32_t tick = 1000;
    TDateTime now = 46000.5;  // a noon
    std::uint32_t TickCount() override { return tick; }
    TDateTime Now() override { return now; }
    void advanceMs(std::uint32_t ms) {
        tick += ms;
        const double day = std::floor(now);
        const double msOfDay = std::round((now - day) * 86400000.0) + ms;
        const double days = std::floor(msOfDay / 86400000.0);
        now = (day + days) + (msOfDay - days * 86400000.0) / 86400000.0;
    }
};

}  // namespace vx::test
