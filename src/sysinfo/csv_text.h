#pragma once

// Texts of exported CSV files: numbers always with a dot, whatever the
// user's locale, so that any program reads them back; text fields quoted
// where they need it, and never read as a formula by a spreadsheet.

#include <functional>
#include <ostream>
#include <string>

#include "sysinfo/date_time.h"

namespace vx {

// Fixed notation with a dot ("1234.50"); NaN and infinities give "".
std::string CsvNumber(double value, int decimals);
// The field as CSV holds it: quoted when it has a comma, quote or line
// break; a leading = + - @ gets a ' in front (spreadsheets run those).
std::string CsvField(const std::string& text);
// ISO 8601 local date and time to the second: "2026-12-10T18:07:53".
std::string IsoDateTime(TDateTime value);
// "2026-12-10" of a yyyymmdd day.
std::string IsoDay(int day);
// Writes a file with `write`; "" when done, else what went wrong.
std::string WriteCsvFile(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace vx
