#pragma once

// IPv4 and IPv6 addresses as QVariant values. An IPv4 variant holds its
// 32-bit value; an IPv6 variant holds a TIPv6Object. Both convert to text and
// numbers through QVariant, and expose their forms by upper-case name
// ("ASSTRING", "ASDOUBLE", "ASURL", "EQUALS", ...), as a scripting host
// would ask for them.

#include <QMetaType>
#include <QVariant>
#include <cstdint>
#include <string>

#include "netconfig/ipv6.h"

namespace vx {

struct TIPv4Value {
    std::uint32_t value = 0;
    friend bool operator==(const TIPv4Value&, const TIPv4Value&) = default;
};

class TIPv6Object {
public:
    TIPv6Object() = default;
    explicit TIPv6Object(const TIPv6& a) : FIPv6(a) {}
    // Reads text; a bad text throws EIPv6Error.
    explicit TIPv6Object(const std::string& text) : FIPv6(StrToIPv6(text)) {}

    const TIPv6& IPv6() const { return FIPv6; }
    void SetIPv6(const TIPv6& a) { FIPv6 = a; }
    std::string AsString() const { return IPv6ToStr(FIPv6); }
    std::string AsStringCompressed() const { return IPv6ToStrCompressed(FIPv6); }
    std::string AsStringOutwritten() const { return IPv6ToStrOutwritten(FIPv6); }
    // Any text form; on a bad text the address stays as it was (and EIPv6Error is thrown).
    void SetAsString(const std::string& text) { FIPv6 = StrToIPv6(text); }
    long double AsExtended() const { return IPv6ToNumber(FIPv6); }
    double AsDouble() const { return static_cast<double>(AsExtended()); }
    float AsSingle() const { return static_cast<float>(AsExtended()); }
    void SetAsExtended(long double x) { FIPv6 = NumberToIPv6(x); }
    std::uint16_t Group(int index) const { return FIPv6.Group(index); }
    void SetGroup(int index, std::uint16_t value) {
        if (FIPv6.Group(index) != value) FIPv6.SetGroup(index, value);
    }
    bool Equals(const TIPv6& other) const { return FIPv6 == other; }
    // An IPv6 variant by value; null or empty: false; anything else as text.
    bool Equals(const QVariant& other) const;
    TCompareResult Compare(const TIPv6Object& other) const { return CompareIPv6(FIPv6, other.FIPv6); }
    bool IsZero() const { return FIPv6.IsZero(); }
    std::string AsURL() const { return IPv6ToURL(FIPv6); }
    // Opens AsURL with the desktop's default handler.
    void Follow() const;
    friend bool operator==(const TIPv6Object& a, const TIPv6Object& b) { return a.FIPv6 == b.FIPv6; }

private:
    TIPv6 FIPv6;
};

// Registers the conversions of both kinds with QVariant (once; start-up).
void RegisterIPVariantTypes();

// An IPv4 variant from another: IPv4, a floating-point fraction, text, or an
// unsigned 8/16/32-bit number; anything else throws EIPv4Error("Invalid
// format type for IPv4").
QVariant MakeIPv4Variant(const QVariant& from);
// An IPv6 variant from any variant's text; throws EIPv6Error.
QVariant MakeIPv6Variant(const QVariant& from);

// Properties and functions by upper-case name; an invalid variant for names
// the kind does not have.
QVariant IPVariantProperty(const QVariant& v, const std::string& name);
bool SetIPVariantProperty(QVariant& v, const std::string& name, const QVariant& value);
QVariant IPVariantFunction(const QVariant& v, const std::string& name, const QVariant& argument = QVariant());
// IPv6 operators: '+', '-', '&', '|', '^' on two IPv6 variants; '+' with a
// string on either side concatenates the texts. Throws std::invalid_argument
// for any other pairing.
QVariant IPv6Operator(char op, const QVariant& left, const QVariant& right);

}  // namespace vx

Q_DECLARE_METATYPE(vx::TIPv4Value)
Q_DECLARE_METATYPE(vx::TIPv6Object)
