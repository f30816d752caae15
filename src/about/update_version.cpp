#include "about/update_version.h"

#include <charconv>
#include <optional>

namespace vx {
namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

template <typename T>
std::optional<T> whole(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    T value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

// Cuts the next dot-separated part off the front; the last part is the rest.
std::string_view nextPart(std::string_view& rest) {
    const std::size_t dot = rest.find('.');
    const std::string_view part = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
    return part;
}

bool newerStandard(std::string_view current, std::string_view candidate) {
    while (!current.empty()) {
        const long long have = whole<long long>(nextPart(current)).value_or(0);
        const long long offered = whole<long long>(nextPart(candidate)).value_or(0);
        if (offered != have) return offered > have;
    }
    return false;
}

}  // namespace

bool IsNewerVersion(std::string_view current, std::string_view candidate, TVersionFormat format) {
    switch (format) {
    case vfStandard:
        return newerStandard(current, candidate);
    case vfString:
        return candidate > current;
    case vfNumber: {
        const auto have = whole<double>(current);
        const auto offered = whole<double>(candidate);
        return have && offered && *offered > *have;
    }
    }
    return false;
}

}  // namespace vx
