#include "netconfig/ipv4.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstdio>

namespace vx {

EIPv4Error::EIPv4Error(const std::string& text) : std::runtime_error("'" + text + "' is not a valid IPv4 address") {}

EIPv4Error EIPv4Error::InvalidFormatType() { return EIPv4Error(Message{}, "Invalid format type for IPv4"); }

std::string IPv4ToStr(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", value >> 24, (value >> 16) & 0xFF, (value >> 8) & 0xFF,
                  value & 0xFF);
    return text;
}

std::uint32_t StrToIPv4(const std::string& text) {
    const std::string s = text + ".";
    std::uint32_t value = 0;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = s.find('.', start);
        if (dot == std::string::npos) throw EIPv4Error(text);
        const std::string_view digits(s.data() + start, dot - start);
        int octet = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), octet);
        if (ec != std::errc() || end != digits.data() + digits.size() || octet < 0 || octet > 255) octet = 0;
        value = (value << 8) | static_cast<std::uint32_t>(octet);
        start = dot + 1;
    }
    return value;
}

std::uint32_t NetworkToIPv4(std::uint32_t networkOrder) { return ntohl(networkOrder); }
std::uint32_t IPv4ToNetwork(std::uint32_t value) { return htonl(value); }

}  // namespace vx
