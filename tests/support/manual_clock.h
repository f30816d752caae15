#pragma once

#include "sysinfo/clock.h"

namespace vx::test {

// A clock that moves only when told.
class TManualClock : public IClock {
public:
    std::uint32_t tick = 1000;
    TDateTime now = 46000.5;  // a noon
    std::uint32_t TickCount() override { return tick; }
    TDateTime Now() override { return now; }
    void advanceMs(std::uint32_t ms) {
        tick += ms;
        now += ms / 86400000.0;
    }
};

}  // namespace vx::test
