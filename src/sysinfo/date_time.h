#pragma once

// Date and time as the program counts them: a double of days since
// 1899-12-30 00:00, the fraction being the time of day (one second is
// 1/86400). Before that day the integer part counts back and the fraction
// still counts forward from midnight (-1.25 is 1899-12-29 06:00).

#include <optional>
#include <string>

namespace vx {

using TDateTime = double;

struct TDateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Nothing for fields out of range (month 13, 30 February, hour 24, ...).
std::optional<TDateTime> TryEncodeDateTime(const TDateTimeParts& parts);

// Splits a value into its fields, rounded to the nearest millisecond.
// Nothing for NaN, infinities and years outside 1..9999.
std::optional<TDateTimeParts> DecodeDateTime(TDateTime value);

// "YYYY-MM-DD<separator>hh:mm:ss", seconds rounded as DecodeDateTime
// rounds them; empty where DecodeDateTime gives nothing.
std::string DateTimeText(TDateTime value, char separator);

// The local date and time now.
TDateTime Now();

}  // namespace vx
