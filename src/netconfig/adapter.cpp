#include "netconfig/adapter.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <cstdio>

namespace vx {

std::uint32_t InterfaceTypeOf(std::uint16_t arpType, bool wireless) {
    switch (arpType) {
        case ARPHRD_ETHER: return wireless ? 71 : 6;
        case ARPHRD_IEEE80211:
        case ARPHRD_IEEE80211_RADIOTAP: return 71;
        case ARPHRD_LOOPBACK: return 24;
        case ARPHRD_PPP: return 23;
        case ARPHRD_NONE:  // tun, wireguard
        case ARPHRD_TUNNEL:
        case ARPHRD_TUNNEL6:
        case ARPHRD_IPGRE:
        case ARPHRD_IP6GRE:
        case ARPHRD_SIT: return 131;
        case ARPHRD_IEEE1394: return 144;
        case ARPHRD_ATM: return 37;
        case ARPHRD_FDDI: return 15;
        case ARPHRD_IEEE802_TR: return 9;
        case ARPHRD_RAWIP: return 243;
        default: return 1;
    }
}

std::uint32_t OperStatusNumberOf(std::uint8_t operState, std::uint32_t flags) {
    switch (operState) {
        case IF_OPER_UP: return 5;
        case IF_OPER_DORMANT: return 3;
        case IF_OPER_DOWN:
        case IF_OPER_LOWERLAYERDOWN: return 2;
        case IF_OPER_NOTPRESENT: return 0;
        case IF_OPER_TESTING: return 1;
        default: return (flags & IFF_UP) && (flags & IFF_LOWER_UP) ? 5 : 2;
    }
}

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
