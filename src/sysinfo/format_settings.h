#pragma once

// The user's number conventions, copied once at start-up from the system
// locale into one program-wide record that every text shown to the user is
// formatted with. Stored settings never use it (they are locale-free).

#include <cstdint>
#include <string>

namespace vx {

struct TFormatSettings {
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";
};

extern TFormatSettings FormatSettings;

// Copies the system locale's separators (QLocale::system()) into FormatSettings.
void InitFormatSettings();

// Fixed notation with `decimals` digits after the user's decimal separator
// ("%1.2f"); a negative zero prints as "0.00"-like text without sign.
std::string FormatFixed(double value, int decimals);
// An integer with the user's thousands separator ("%.0n": 1,500).
std::string FormatThousands(std::int64_t value);

}  // namespace vx
