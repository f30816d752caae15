#pragma once

// How often the watchers sample, as the stored setting "Period" names it
// (0, 1, 2), with each period's length and menu text in one table.

#include <QtGlobal>
#include <array>
#include <cstdint>

namespace vx {

enum class TPeriod : std::uint8_t { Fast = 0, Normal = 1, Slow = 2 };

struct TPeriodInfo {
    TPeriod Period;
    int Ms;
    const char* MenuText;    // a source text of the context "vx::Twnd_vx_Main"
    const char* ObjectName;  // of its menu item
};

inline constexpr std::array<TPeriodInfo, 3> kPeriods = {{
    {TPeriod::Fast, 500, QT_TRANSLATE_NOOP("vx::Twnd_vx_Main", "&Fast (0.5 s)"), "pmFast"},
    {TPeriod::Normal, 1000, QT_TRANSLATE_NOOP("vx::Twnd_vx_Main", "&Normal (1 s)"), "pmNormal"},
    {TPeriod::Slow, 2000, QT_TRANSLATE_NOOP("vx::Twnd_vx_Main", "S&low (2 s)"), "pmSlow"},
}};

// The stored number's period; anything else is the normal one.
inline TPeriod PeriodFromStored(long long stored) {
    for (const TPeriodInfo& p : kPeriods)
        if (static_cast<long long>(p.Period) == stored) return p.Period;
    return TPeriod::Normal;
}

inline int PeriodMs(TPeriod period) { return kPeriods[static_cast<std::size_t>(period)].Ms; }

}  // namespace vx
