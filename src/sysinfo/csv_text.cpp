#include "sysinfo/csv_text.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <cmath>
#include <cstdio>

namespace vx {

std::string CsvNumber(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    std::string out(text, end);
    if (out.find_first_not_of("-0.") == std::string::npos && out[0] == '-') out.erase(0, 1);  // no "-0.00"
    return out;
}

std::string CsvField(const std::string& text) {
    std::string value = text;
    if (!value.empty() && (value[0] == '=' || value[0] == '+' || value[0] == '-' || value[0] == '@'))
        value.insert(0, 1, '\'');
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string IsoDateTime(TDateTime value) { return DateTimeText(value, 'T'); }

std::string IsoDay(int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day / 10000, day / 100 % 100, day % 100);
    return text;
}

std::string WriteCsvFile(const std::string& path, const std::function<void(std::ostream&)>& write) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return "Unable to write to " + path + ": " + std::strerror(errno);
    write(out);
    out.close();
    if (!out) return "Unable to write to " + path;
    return {};
}

}  // namespace vx
