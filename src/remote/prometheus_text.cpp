#include "remote/prometheus_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vx {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }
bool isLabelStart(char c) { return isNameStart(c) && c != ':'; }
bool isLabelChar(char c) { return isNameChar(c) && c != ':'; }

bool sameNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

// A cursor over one line.
struct TCursor {
    std::string_view line;
    std::size_t at = 0;

    bool done() const { return at >= line.size(); }
    char peek() const { return done() ? '\0' : line[at]; }
    void skipBlanks() {
        while (!done() && isBlank(line[at])) ++at;
    }
    // A run of characters that starts with `first` and goes on with `rest`.
    std::string_view name(bool (*first)(char), bool (*rest)(char)) {
        if (done() || !first(line[at])) return {};
        const std::size_t from = at++;
        while (!done() && rest(line[at])) ++at;
        return line.substr(from, at - from);
    }
    std::string_view token() {
        const std::size_t from = at;
        while (!done() && !isBlank(line[at])) ++at;
        return line.substr(from, at - from);
    }
};

// The quoted label value at the cursor (after its opening quote), unescaped.
std::optional<std::string> quoted(TCursor& c) {
    std::string value;
    while (!c.done()) {
        const char ch = c.line[c.at++];
        if (ch == '"') return value;
        if (ch != '\\') {
            value += ch;
            continue;
        }
        if (c.done()) return std::nullopt;
        switch (c.line[c.at++]) {
            case '\\': value += '\\'; break;
            case '"': value += '"'; break;
            case 'n': value += '\n'; break;
            default: return std::nullopt;  // the format knows no other escape
        }
    }
    return std::nullopt;  // no closing quote
}

bool parseLabels(TCursor& c, TPromSample& sample, std::size_t maxLabels) {
    // After "{": label="value" pairs separated by commas, a trailing comma allowed.
    for (;;) {
        c.skipBlanks();
        if (c.peek() == '}') {
            ++c.at;
            return true;
        }
        const std::string_view name = c.name(isLabelStart, isLabelChar);
        if (name.empty()) return false;
        c.skipBlanks();
        if (c.peek() != '=') return false;
        ++c.at;
        c.skipBlanks();
        if (c.peek() != '"') return false;
        ++c.at;
        std::optional<std::string> value = quoted(c);
        if (!value || sample.Labels.size() >= maxLabels) return false;
        sample.Labels.emplace_back(std::string(name), std::move(*value));
        c.skipBlanks();
        if (c.peek() == ',') {
            ++c.at;
        } else if (c.peek() != '}') {
            return false;
        }
    }
}

// What one line is.
enum class TLine { Blank, Comment, Sample, Skipped, Bad };

TLine parseLine(std::string_view line, const std::vector<std::string_view>& wanted, const TPromLimits& limits,
                TPromPage& page, TPromSample& sample) {
    TCursor c{line};
    c.skipBlanks();
    if (c.done()) return TLine::Blank;
    if (c.peek() == '#') {
        ++c.at;
        c.skipBlanks();
        const std::string_view keyword = c.token();
        if (keyword == "TYPE") {
            c.skipBlanks();
            const std::string_view name = c.name(isNameStart, isNameChar);
            c.skipBlanks();
            const std::string_view type = c.token();
            if (!name.empty() && !type.empty()) page.Types[std::string(name)] = std::string(type);
        }
        return TLine::Comment;  // HELP and other comments say nothing the program uses
    }
    const std::string_view name = c.name(isNameStart, isNameChar);
    if (name.empty()) return TLine::Bad;
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), name) == wanted.end()) return TLine::Skipped;
    sample.Name.assign(name);
    sample.Labels.clear();
    sample.TimestampMs.reset();
    c.skipBlanks();
    if (c.peek() == '{') {
        ++c.at;
        if (!parseLabels(c, sample, limits.MaxLabels)) return TLine::Bad;
    }
    c.skipBlanks();
    const std::optional<double> value = ParsePromFloat(c.token());
    if (!value) return TLine::Bad;
    sample.Value = *value;
    c.skipBlanks();
    if (!c.done()) {
        const std::string_view stamp = c.token();
        std::int64_t ms = 0;
        const auto [end, error] = std::from_chars(stamp.data(), stamp.data() + stamp.size(), ms);
        if (error != std::errc() || end != stamp.data() + stamp.size()) return TLine::Bad;
        sample.TimestampMs = ms;
        c.skipBlanks();
        if (!c.done()) return TLine::Bad;
    }
    return TLine::Sample;
}

}  // namespace

std::optional<std::string_view> TPromSample::Label(std::string_view name) const {
    for (const auto& [key, value] : Labels)
        if (key == name) return std::string_view(value);
    return std::nullopt;
}

std::optional<double> ParsePromFloat(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double sign = 1;
    std::string_view rest = text;
    if (rest.front() == '+' || rest.front() == '-') {
        sign = rest.front() == '-' ? -1 : 1;
        rest.remove_prefix(1);
    }
    if (sameNoCase(rest, "inf") || sameNoCase(rest, "infinity")) return sign * std::numeric_limits<double>::infinity();
    if (sameNoCase(rest, "nan")) return std::numeric_limits<double>::quiet_NaN();
    // Digits, a point, an exponent: nothing else (no second sign, no hex).
    if (rest.empty() || !(std::isdigit(static_cast<unsigned char>(rest.front())) || rest.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (end != rest.data() + rest.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of a double: infinite, as Go's parser answers; too small: zero.
        const auto e = rest.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && rest.substr(e + 1).starts_with('-');
        return sign * (tiny ? 0.0 : std::numeric_limits<double>::infinity());
    }
    if (error != std::errc()) return std::nullopt;
    return sign * value;
}

TPromPage ParsePromText(std::string_view text, const std::vector<std::string_view>& wanted, const TPromLimits& limits) {
    TPromPage page;
    TPromSample sample;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        TLine kind = TLine::Bad;
        if (line.size() <= limits.MaxLineLength) kind = parseLine(line, wanted, limits, page, sample);
        if (kind == TLine::Bad) {
            if (page.BadLines++ == 0) page.FirstBadLine = number;
        } else if (kind == TLine::Sample) {
            if (page.Samples.size() >= limits.MaxSamples) {
                page.Truncated = true;
                continue;
            }
            page.Samples.push_back(sample);
        }
    }
    return page;
}

}  // namespace vx
