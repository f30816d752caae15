#include "netconfig/ipv6.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "netconfig/ipv4.h"

namespace vx {
namespace {

// 65536^8 - 1 as an extended-precision number: the largest address.
const long double kLargest = std::pow(65536.0L, 8) - 1;

[[noreturn]] void fail(const std::string& text) { throw EIPv6Error(text); }

std::uint16_t readGroup(const std::string& part, const std::string& text) {
    if (part.empty() || part.size() > 4) fail(text);
    unsigned v = 0;
    for (char c : part) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else fail(text);
        v = v * 16 + static_cast<unsigned>(d);
    }
    return static_cast<std::uint16_t>(v);
}

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const auto colon = s.find(':', start);
        parts.push_back(s.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return parts;
}

std::string hex(unsigned v, bool four) {
    char b[8];
    std::snprintf(b, sizeof b, four ? "%.4X" : "%X", v);
    return b;
}

std::string withPort(const std::string& scheme, int port) {
    return port == 80 && scheme == "http" ? std::string() : ":" + std::to_string(port);
}

}  // namespace

EIPv6Error::EIPv6Error(const std::string& text) : std::runtime_error("'" + text + "' is not a valid IPv6 address") {}

bool TIPv6::IsZero() const {
    for (auto g : Groups)
        if (g) return false;
    return true;
}

TIPv6 StrToIPv6(const std::string& text) {
    TIPv6 r;
    const auto dcolon = text.find("::");
    if (dcolon == std::string::npos) {
        const std::string s = text + ":";
        std::size_t start = 0;
        for (int i = 0; i < 8; ++i) {
            const auto colon = s.find(':', start);
            if (colon == std::string::npos) fail(text);
            r.SetGroup(i, readGroup(s.substr(start, colon - start), text));
            start = colon + 1;
        }
        return r;
    }
    if (text.find('.') == std::string::npos) {
        const auto before = split(text.substr(0, dcolon));
        const auto after = split(text.substr(dcolon + 2));
        if (before.size() + after.size() > 7) fail(text);
        for (std::size_t i = 0; i < before.size(); ++i) r.SetGroup(static_cast<int>(i), readGroup(before[i], text));
        for (std::size_t i = 0; i < after.size(); ++i)
            r.SetGroup(static_cast<int>(8 - after.size() + i), readGroup(after[i], text));
        return r;
    }
    // IPv4-mapped: "::FFFF:a.b.c.d"
    const std::string rest = text.substr(dcolon + 2);
    if (rest.size() < 5) fail(text);
    std::string ffff = rest.substr(0, 4);
    for (char& c : ffff) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (ffff != "FFFF") fail(text);
    const std::string v4 = rest.substr(5) + ".";
    int octets[4];
    std::size_t start = 0;
    for (int& octet : octets) {
        const auto dot = v4.find('.', start);
        if (dot == std::string::npos) fail(text);
        const std::string part = v4.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos) fail(text);
        octet = std::stoi(part);
        if (octet > 255) fail(text);
        start = dot + 1;
    }
    r.SetGroup(5, 0xFFFF);
    r.SetGroup(6, static_cast<std::uint16_t>(octets[0] * 256 + octets[1]));
    r.SetGroup(7, static_cast<std::uint16_t>(octets[2] * 256 + octets[3]));
    return r;
}

std::string IPv6ToStr(const TIPv6& a) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += (i ? ":" : "") + hex(a.Group(i), false);
    return s;
}

std::string IPv6ToStrOutwritten(const TIPv6& a) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += (i ? ":" : "") + hex(a.Group(i), true);
    return s;
}

std::string IPv6ToStrCompressed(const TIPv6& a) {
    std::string s;
    int run = 0;  // 0 before the first zero run, 1 inside it, 2 after it
    for (int i = 0; i < 8; ++i) {
        const std::uint16_t g = a.Group(i);
        if (g == 0 && run < 2) {
            if (run == 0) s += ":";
            run = 1;
            if (i == 7) s += ":";
            continue;
        }
        if (run == 1) run = 2;
        s += (i == 0 ? "" : ":") + hex(g, false);
    }
    return s;
}

TCompareResult CompareIPv6(const TIPv6& a, const TIPv6& b) {
    for (int i = 0; i < 8; ++i) {
        if (a.Group(i) < b.Group(i)) return crLessThan;
        if (a.Group(i) > b.Group(i)) return crGreaterThan;
    }
    return crEqual;
}

long double IPv6ToNumber(const TIPv6& a) {
    long double sum = 0;
    for (int i = 0; i < 8; ++i) sum = sum * 65536 + a.Group(i);
    return sum / kLargest;
}

TIPv6 NumberToIPv6(long double x) {
    TIPv6 r;
    // Outside 0..1 (or NaN) the groups would be out of range: clamp to the
    // zero and the largest address, as IPv4 numbers are.
    if (!(x > 0)) return r;
    if (x >= 1) {
        r.Groups.fill(0xFFFF);
        return r;
    }
    long double v = x * kLargest;
    for (int k = 7; k >= 0; --k) {
        const long double unit = std::pow(65536.0L, k);
        const long double q = v / unit;
        r.SetGroup(7 - k, static_cast<std::uint16_t>(static_cast<unsigned long long>(std::trunc(q)) & 0xFFFF));
        v = (q - std::trunc(q)) * unit;
    }
    return r;
}

TIPv6 AddIPv6(const TIPv6& a, const TIPv6& b) {
    TIPv6 r;
    unsigned carry = 0;
    for (std::size_t i = 0; i < 8; ++i) {  // from H upwards
        const unsigned sum = a.Groups[i] + b.Groups[i] + carry;
        r.Groups[i] = static_cast<std::uint16_t>(sum & 0xFFFF);
        carry = sum >> 16;
    }
    return r;
}

TIPv6 SubtractIPv6(const TIPv6& a, const TIPv6& b) {
    if (CompareIPv6(a, b) == crLessThan) return TIPv6{};
    TIPv6 r;
    int borrow = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        int d = static_cast<int>(a.Groups[i]) - b.Groups[i] - borrow;
        borrow = d < 0;
        if (d < 0) d += 65536;
        r.Groups[i] = static_cast<std::uint16_t>(d);
    }
    return r;
}

TIPv6 AndIPv6(const TIPv6& a, const TIPv6& b) {
    TIPv6 r;
    for (std::size_t i = 0; i < 8; ++i) r.Groups[i] = a.Groups[i] & b.Groups[i];
    return r;
}

TIPv6 OrIPv6(const TIPv6& a, const TIPv6& b) {
    TIPv6 r;
    for (std::size_t i = 0; i < 8; ++i) r.Groups[i] = a.Groups[i] | b.Groups[i];
    return r;
}

TIPv6 XorIPv6(const TIPv6& a, const TIPv6& b) {
    TIPv6 r;
    for (std::size_t i = 0; i < 8; ++i) r.Groups[i] = a.Groups[i] ^ b.Groups[i];
    return r;
}

std::string IPv6ToURL(const TIPv6& a, const std::string& scheme, int port) {
    return scheme + "://[" + IPv6ToStr(a) + "]" + withPort(scheme, port) + "/";
}

std::string IPv4ToStrOutwritten(std::uint32_t v) {
    char b[20];
    std::snprintf(b, sizeof b, "%.3u.%.3u.%.3u.%.3u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return b;
}

double IPv4ToNumber(std::uint32_t value) { return value / 4294967295.0; }

std::uint32_t NumberToIPv4(double x) {
    const double v = std::nearbyint(x * 4294967295.0);
    if (!(v > 0)) return 0;
    if (v >= 4294967295.0) return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(v);
}

std::string IPv4ToURL(std::uint32_t value, const std::string& scheme, int port) {
    return scheme + "://" + IPv4ToStr(value) + withPort(scheme, port) + "/";
}

}  // namespace vx
