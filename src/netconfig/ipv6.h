#pragma once

// IP address values beyond the dotted IPv4 text: IPv6 records with their
// full, compressed and outwritten texts, numbers (a fraction of the address
// space), 128-bit arithmetic and URL forms, and the extra IPv4 forms.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vx {

// Malformed IPv6 text: "'<text>' is not a valid IPv6 address".
class EIPv6Error : public std::runtime_error {
public:
    explicit EIPv6Error(const std::string& text);
};

// Eight 16-bit groups stored last group first: Groups[0] is H, the last
// group of the text form; Groups[7] is A, the first and most significant.
struct TIPv6 {
    std::array<std::uint16_t, 8> Groups{};
    static std::size_t slot(int index) {
        if (index < 0 || index > 7) throw std::out_of_range("Range check error");
        return static_cast<std::size_t>(7 - index);
    }
    std::uint16_t A() const { return Groups[7]; }
    std::uint16_t H() const { return Groups[0]; }
    // Group `index` in text order (0 is A).
    // An index outside 0..7 throws std::out_of_range ("Range check error").
    std::uint16_t Group(int index) const { return Groups[slot(index)]; }
    void SetGroup(int index, std::uint16_t value) { Groups[slot(index)] = value; }
    bool IsZero() const;
    friend bool operator==(const TIPv6&, const TIPv6&) = default;
};

enum TCompareResult { crLessThan = -1, crEqual = 0, crGreaterThan = 1 };

// Full form ("1:2::3" is not full), a form with one "::", or the IPv4-mapped
// "::FFFF:a.b.c.d". Throws EIPv6Error.
TIPv6 StrToIPv6(const std::string& text);
std::string IPv6ToStr(const TIPv6& a);             // "%X:%X:...", no leading zeros
std::string IPv6ToStrOutwritten(const TIPv6& a);   // four digits per group
std::string IPv6ToStrCompressed(const TIPv6& a);   // the first run of zero groups as "::"
TCompareResult CompareIPv6(const TIPv6& a, const TIPv6& b);
// The address as a fraction of the address space (0 to 1), and back.
long double IPv6ToNumber(const TIPv6& a);
TIPv6 NumberToIPv6(long double x);
TIPv6 AddIPv6(const TIPv6& a, const TIPv6& b);       // a carry out of the top is dropped
TIPv6 SubtractIPv6(const TIPv6& a, const TIPv6& b);  // below zero gives zero
TIPv6 AndIPv6(const TIPv6& a, const TIPv6& b);
TIPv6 OrIPv6(const TIPv6& a, const TIPv6& b);
TIPv6 XorIPv6(const TIPv6& a, const TIPv6& b);
std::string IPv6ToURL(const TIPv6& a, const std::string& scheme = "http", int port = 80);

std::string IPv4ToStrOutwritten(std::uint32_t value);  // "010.000.000.001"
double IPv4ToNumber(std::uint32_t value);              // value / 4294967295
std::uint32_t NumberToIPv4(double x);                  // x * 4294967295, rounded
std::string IPv4ToURL(std::uint32_t value, const std::string& scheme = "http", int port = 80);

}  // namespace vx
