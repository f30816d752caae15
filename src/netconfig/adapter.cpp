#include "netconfig/adapter.h"

#include <cstdio>

namespace vx {

TAdapterType AdapterTypeOf(std::uint32_t ifType) {
    switch (ifType) {
        case 6: return atEthernet;
        case 9: return atTokenRing;
        case 15: return atFDDI;
        case 23: return atPPP;
        case 24: return atLoopback;
        case 37: return atATM;
        case 71: return atIEEE80211;
        case 131: return atTunnel;
        case 144: return atIEEE1394;
        case 237: return atIEEE80216_WMAN;
        case 243: return atWWANPP;
        case 244: return atWWANPP2;
        default: return atOther;
    }
}

std::string FormatMacAddress(const std::uint8_t* bytes, std::size_t length) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%2.2X:", bytes[i]);
        text += pair;
    }
    if (!text.empty()) text.pop_back();
    return text;
}

}  // namespace vx
