#include "plot/label_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "sysinfo/date_time.h"
#include "sysinfo/format_settings.h"

namespace vx {

std::string FormatFloatPattern(const std::string& pattern, double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    const auto dot = pattern.find('.');
    const std::string intPart = pattern.substr(0, dot);
    const std::string fracPart = dot == std::string::npos ? "" : pattern.substr(dot + 1);
    int minInt = 0, minFrac = 0, maxFrac = 0;
    for (char c : intPart) minInt += c == '0';
    for (char c : fracPart) {
        if (c == '0') ++minFrac, ++maxFrac;
        else if (c == '#') ++maxFrac;
    }
    const bool thousands = intPart.find(',') != std::string::npos;

    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, maxFrac);
    std::string text(buf, ec == std::errc() ? end : buf);
    std::string whole = text.substr(0, text.find('.'));
    std::string frac = text.find('.') == std::string::npos ? "" : text.substr(text.find('.') + 1);
    while (static_cast<int>(frac.size()) > minFrac && !frac.empty() && frac.back() == '0') frac.pop_back();
    // Leading zeros only as far as the pattern requires ("#.##" shows .5).
    while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
    if (whole == "0" && minInt == 0) whole.clear();
    while (static_cast<int>(whole.size()) < minInt) whole.insert(0, "0");
    if (thousands) {
        std::string grouped;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0) grouped += FormatSettings.ThousandSeparator;
            grouped += whole[i];
        }
        whole = grouped;
    }
    std::string out = whole;
    if (!frac.empty()) out += FormatSettings.DecimalSeparator + frac;
    if (out.empty()) out = "0";
    const bool allZero = out.find_first_not_of("0.,") == std::string::npos;
    return value < 0 && !allZero ? "-" + out : out;
}

std::string FormatDateTimePattern(const std::string& pattern, double dayCount) {
    const auto p = DecodeDateTime(dayCount);
    if (!p) return {};
    std::string out;
    bool afterHour = false;
    auto two = [](int v) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        auto run = [&](char ch) {
            std::size_t n = 0;
            while (i + n < pattern.size() && (pattern[i + n] | 0x20) == ch) ++n;
            return n;
        };
        const char lower = static_cast<char>(c | 0x20);
        if (c == '"' || c == '\'') {
            const auto close = pattern.find(c, i + 1);
            out += pattern.substr(i + 1, (close == std::string::npos ? pattern.size() : close) - i - 1);
            i = close == std::string::npos ? pattern.size() : close + 1;
            continue;
        }
        std::size_t n = (lower >= 'a' && lower <= 'z') ? run(lower) : 1;
        switch (lower) {
            case 'y': out += n <= 2 ? two(p->year % 100) : std::to_string(p->year); break;
            case 'm':
                if (afterHour) out += n >= 2 ? two(p->minute) : std::to_string(p->minute);
                else out += n >= 2 ? two(p->month) : std::to_string(p->month);
                afterHour = false;
                break;
            case 'd': out += n >= 2 ? two(p->day) : std::to_string(p->day); break;
            case 'h':
                out += n >= 2 ? two(p->hour) : std::to_string(p->hour);
                afterHour = true;
                break;
            case 'n': out += n >= 2 ? two(p->minute) : std::to_string(p->minute); break;
            case 's': out += n >= 2 ? two(p->second) : std::to_string(p->second); break;
            case 'z': {
                char b[8];
                std::snprintf(b, sizeof b, n >= 3 ? "%03d" : "%d", p->millisecond);
                out += b;
                break;
            }
            default: out += pattern.substr(i, n); break;
        }
        i += n;
    }
    return out;
}

}  // namespace vx
