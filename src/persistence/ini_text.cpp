#include "persistence/ini_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vx {
namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads an unsigned decimal number made of exactly the digits in s.
std::optional<std::uint64_t> digits(std::string_view s) {
    if (s.empty()) return std::nullopt;
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

// Reads a whole number of fixed-width-free decimal digits into an int.
std::optional<int> smallNumber(std::string_view s) {
    if (s.empty() || s.size() > 6) return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9') return std::nullopt;
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

}  // namespace

std::string IntegerToIniText(std::int64_t value) { return std::to_string(value); }

std::optional<std::int64_t> IniTextToInteger(std::string_view text) {
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (!s.empty() && s.front() == '$') {
        s.remove_prefix(1);
        if (s.empty() || s.size() > 16) return std::nullopt;
        std::uint64_t v = 0;
        for (char c : s) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            v = (v << 4) | static_cast<std::uint64_t>(d);
        }
        const auto value = static_cast<std::int64_t>(v);
        return negative ? static_cast<std::int64_t>(0 - v) : value;
    }
    const auto v = digits(s);
    if (!v) return std::nullopt;
    constexpr auto maxPositive = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (negative) {
        if (*v > maxPositive + 1) return std::nullopt;
        return static_cast<std::int64_t>(0 - *v);
    }
    if (*v > maxPositive) return std::nullopt;
    return static_cast<std::int64_t>(*v);
}

std::optional<std::int64_t> IniTextToIntegerOrHex(std::string_view text) {
    if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return IniTextToInteger("$" + std::string(text.substr(2)));
    return IniTextToInteger(text);
}

std::string FloatToIniText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, ec == std::errc() ? end : buf);
    // to_chars writes "1e-05" and "1.5e+20"; the stored form is "1E-5", "1.5E20".
    const auto e = s.find('e');
    if (e == std::string::npos) return s;
    std::string mantissa = s.substr(0, e);
    std::string_view exponent(s.c_str() + e + 1);
    const bool negative = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+')) exponent.remove_prefix(1);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
    return mantissa + "E" + (negative ? "-" : "") + std::string(exponent);
}

std::optional<double> IniTextToFloat(std::string_view text) {
    std::string_view s = trimBlanks(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    // from_chars would also take "inf" and "nan": only plain numbers count.
    const std::string_view body = (!s.empty() && s.front() == '-') ? s.substr(1) : s;
    if (body.empty() || !(std::isdigit(static_cast<unsigned char>(body.front())) || body.front() == '.'))
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string DateTimeToIniText(TDateTime value) { return DateTimeText(value, ' '); }

std::optional<TDateTime> IniTextToDateTime(std::string_view text) {
    const std::string_view s = trimBlanks(text);
    const auto blank = s.find_first_of(" \t");
    const std::string_view datePart = s.substr(0, blank);
    const std::string_view timePart = blank == std::string_view::npos ? std::string_view{} : trimBlanks(s.substr(blank));

    TDateTimeParts p;
    const auto d1 = datePart.find('-');
    const auto d2 = d1 == std::string_view::npos ? d1 : datePart.find('-', d1 + 1);
    if (d2 == std::string_view::npos || datePart.find('-', d2 + 1) != std::string_view::npos) return std::nullopt;
    const auto y = smallNumber(datePart.substr(0, d1));
    const auto m = smallNumber(datePart.substr(d1 + 1, d2 - d1 - 1));
    const auto d = smallNumber(datePart.substr(d2 + 1));
    if (!y || !m || !d) return std::nullopt;
    p.year = *y;
    p.month = *m;
    p.day = *d;

    if (!timePart.empty()) {
        const auto t1 = timePart.find(':');
        if (t1 == std::string_view::npos) return std::nullopt;
        const auto t2 = timePart.find(':', t1 + 1);
        const auto h = smallNumber(timePart.substr(0, t1));
        const auto n = smallNumber(timePart.substr(t1 + 1, t2 == std::string_view::npos ? t2 : t2 - t1 - 1));
        const auto sec = t2 == std::string_view::npos ? std::optional<int>(0) : smallNumber(timePart.substr(t2 + 1));
        if (!h || !n || !sec) return std::nullopt;
        p.hour = *h;
        p.minute = *n;
        p.second = *sec;
    }
    return TryEncodeDateTime(p);
}

}  // namespace vx
