#include "sysinfo/format_settings.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace vx {

TFormatSettings FormatSettings;

void InitFormatSettings() {
    const QLocale locale = QLocale::system();
    FormatSettings.DecimalSeparator = locale.decimalPoint().toStdString();
    FormatSettings.ThousandSeparator = locale.groupSeparator().toStdString();
}

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, ec == std::errc() ? end : buf);
    if (text.find_first_not_of("-0.") == std::string::npos && !text.empty() && text[0] == '-') text.erase(0, 1);
    if (const auto dot = text.find('.'); dot != std::string::npos) text.replace(dot, 1, FormatSettings.DecimalSeparator);
    return text;
}

std::string FormatThousands(std::int64_t value) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -(value + 1) + std::uint64_t{1} : static_cast<std::uint64_t>(value));
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += FormatSettings.ThousandSeparator;
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

}  // namespace vx
