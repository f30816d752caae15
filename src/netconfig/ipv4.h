#pragma once

// Dotted IPv4 text. An IPv4 value is an unsigned 32-bit number whose most
// significant byte is the first octet.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vx {

// Malformed address text: "'<text>' is not a valid IPv4 address".
class EIPv4Error : public std::runtime_error {
public:
    explicit EIPv4Error(const std::string& text);
    // "Invalid format type for IPv4": a value that cannot become an address.
    static EIPv4Error InvalidFormatType();

private:
    struct Message {};
    EIPv4Error(Message, const std::string& message) : std::runtime_error(message) {}
};

// "%d.%d.%d.%d", most significant byte first.
std::string IPv4ToStr(std::uint32_t value);

// Four parts separated by "."; a part that is a number from 0 to 255 is its
// octet, anything else (empty, not a number, too large) counts as 0; text
// after the fourth part is ignored. Throws EIPv4Error when fewer than three
// dots separate the parts.
std::uint32_t StrToIPv4(const std::string& text);

// Network byte order (first octet in the lowest-addressed byte) to an IPv4
// value and back.
std::uint32_t NetworkToIPv4(std::uint32_t networkOrder);
std::uint32_t IPv4ToNetwork(std::uint32_t value);

}  // namespace vx
