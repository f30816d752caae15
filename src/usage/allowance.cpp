#include "usage/allowance.h"

#include <algorithm>
#include <cmath>

namespace vx {

std::uint64_t AllowanceBytes(double gigabytes) {
    if (!(gigabytes > 0)) return 0;
    return static_cast<std::uint64_t>(std::llround(std::min(gigabytes, 1e9) * 1073741824.0));
}

int AllowanceLevel(std::uint64_t used, std::uint64_t allowance) {
    if (allowance == 0) return 0;
    if (used >= allowance) return 100;
    // used / allowance >= 0.8 without rounding: 5 used >= 4 allowance.
    return static_cast<long double>(used) * 5 >= static_cast<long double>(allowance) * 4 ? 80 : 0;
}

std::uint64_t ProjectedUse(std::uint64_t used, const TBillingPeriod& period, std::time_t now) {
    const std::time_t start = LocalMidnight(period.Start), end = LocalMidnight(period.End);
    if (now >= end || end <= start) return used;
    const double elapsed = std::max<double>(static_cast<double>(now - start), 3600.0);
    const double length = static_cast<double>(end - start);
    return static_cast<std::uint64_t>(std::llround(static_cast<double>(used) * std::max(1.0, length / elapsed)));
}

}  // namespace vx
