#include "sysinfo/clock.h"

#include <chrono>

namespace vx {

std::uint32_t TSystemClock::TickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<std::uint32_t>(ms);
}

}  // namespace vx
