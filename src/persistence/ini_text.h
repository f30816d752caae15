#pragma once

// The text forms of stored values. Everything here is independent of the
// user's locale: what one machine writes, any other reads back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sysinfo/date_time.h"

namespace vx {

// Decimal, with "-" for negatives.
std::string IntegerToIniText(std::int64_t value);
// Decimal with an optional sign, or hexadecimal after "$" (also "-$10");
// leading and trailing blanks are ignored. Hexadecimal takes up to 16 digits
// and wraps into the signed range ($FFFFFFFFFFFFFFFF is -1). Nothing for
// any other text, for an empty number and for decimal overflow.
std::optional<std::int64_t> IniTextToInteger(std::string_view text);
// What integer reads accept: a text of at least three characters that
// starts with "0x" or "0X" is read as "$" followed by the rest.
std::optional<std::int64_t> IniTextToIntegerOrHex(std::string_view text);

// Shortest general form with at most 15 significant digits and "." as the
// decimal separator; exponent form ("1E-5", "1.5E20") only below 1E-4 or
// from 1E15 on. Infinities and NaN give "INF", "-INF" and "NAN".
std::string FloatToIniText(double value);
// A decimal number with "." as separator and an optional exponent. Nothing
// for "0,5", "INF", "NAN" or trailing garbage.
std::optional<double> IniTextToFloat(std::string_view text);

// "yyyy-mm-dd hh:nn:ss" (24-hour clock, seconds truncated from the
// millisecond-rounded time). "" for values without a calendar date.
std::string DateTimeToIniText(TDateTime value);
// A date "y-m-d", optionally followed by blanks and a time "h:n" or
// "h:n:s"; fields that are out of range give nothing.
std::optional<TDateTime> IniTextToDateTime(std::string_view text);

}  // namespace vx
