// Any text as an IPv4 or IPv6 address: reading either succeeds or throws
// the module's own error, and what was read writes back to text that reads
// to the same address in every form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "netconfig/ipv4.h"
#include "netconfig/ipv6.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::uint32_t v4 = vx::StrToIPv4(text);
        if (vx::StrToIPv4(vx::IPv4ToStr(v4)) != v4) std::abort();
    } catch (const vx::EIPv4Error&) {
    }
    try {
        const vx::TIPv6 v6 = vx::StrToIPv6(text);
        for (const std::string& form : {vx::IPv6ToStr(v6), vx::IPv6ToStrCompressed(v6), vx::IPv6ToStrOutwritten(v6)})
            if (!(vx::StrToIPv6(form) == v6)) std::abort();
        (void)vx::NumberToIPv6(vx::IPv6ToNumber(v6));
    } catch (const vx::EIPv6Error&) {
    }
    return 0;
}
