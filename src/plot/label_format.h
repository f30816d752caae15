#pragma once

// Tick label texts: numbers through a digit pattern ("###0.##": optional
// digits "#", required digits "0", a "." for the decimal point and a ","
// anywhere before it for thousands grouping) and day counts through a
// date/time pattern ("hh:mm:ss"; also yyyy yy mm m dd d hh h nn n ss s zzz,
// where m/mm right after an hour field means minutes, and quoted literals).
// Separators come from the program-wide FormatSettings.

#include <string>

namespace vx {

std::string FormatFloatPattern(const std::string& pattern, double value);
std::string FormatDateTimePattern(const std::string& pattern, double dayCount);

}  // namespace vx
