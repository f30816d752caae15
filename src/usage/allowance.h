#pragma once

// A monthly allowance: how much of it a billing period has used, what the
// period will likely use at this pace, and which warning is due. Gigabytes
// count 2^30 bytes, as every size the program shows.

#include <cstdint>
#include <ctime>

#include "usage/usage_day.h"

namespace vx {

std::uint64_t AllowanceBytes(double gigabytes);

// 100 at or past the allowance, 80 at 80 % or more, else 0; 0 without an
// allowance.
int AllowanceLevel(std::uint64_t used, std::uint64_t allowance);

// Use by the period's end at the pace since its start. The pace is taken
// over at least an hour, so the first minutes of a period do not project
// absurd figures.
std::uint64_t ProjectedUse(std::uint64_t used, const TBillingPeriod& period, std::time_t now);

}  // namespace vx
