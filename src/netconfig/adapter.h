#pragma once

// The records of the network snapshot.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "netconfig/interface_kind.h"

namespace vx {

enum TAdapterType : std::uint8_t {
    atOther, atEthernet, atTokenRing, atFDDI, atPPP, atLoopback, atATM, atIEEE80211, atTunnel, atIEEE1394,
    atIEEE80216_WMAN, atWWANPP, atWWANPP2
};
enum TAdapterOperationalStatus : std::uint8_t {
    aosNonOperational, aosUnreachable, aosDisconnected, aosConnecting, aosConnected, aosOperational
};
enum TAdapterAdminStatus : std::uint8_t { aasUnknown, aasUp, aasDown, aasTesting };
enum TNodeType : std::uint8_t { ntUnknown, ntBroadcast, ntPeerToPeer, ntMixed, ntHybrid };
enum TAddressTypes : std::uint8_t { atPrimary, atDynamic, atDisconnected, atDeleted, atTransient };
// A set of TAddressTypes: bit n for ordinal n.
using TAddressType = std::uint8_t;

// The interface type number of a link: ether 6, wireless 71, loopback 24,
// ppp 23, tunnels 131, ieee1394 144, atm 37, fddi 15, token ring 9, wwan
// 243, anything else 1. It picks the picture and the adapter type.
std::uint32_t InterfaceTypeOf(std::uint16_t arpType, bool wireless);
// The interface type number mapped to TAdapterType; unknown numbers give
// atOther.
TAdapterType AdapterTypeOf(std::uint32_t ifType);
// The operational status number the list filters on and the pictures
// show: operational 5, dormant 3, down or lower layer down 2, testing 1,
// not present 0; "unknown" counts as operational when the interface is up
// and has a carrier (loopback, tun), else 2.
std::uint32_t OperStatusNumberOf(std::uint8_t operState, std::uint32_t flags);

using TStringList = std::vector<std::string>;

struct TAdapter {
    std::string Description;
    std::string Name;
    std::string Alias;
    std::string MACAddress;  // "00:1A:2B:3C:4D:5E", "" when there is none
    std::uint64_t MaxSpeed = 0;
    std::uint32_t MTU = 0;
    TAdapterType Typ = atOther;
    TAdapterAdminStatus AdminStatus = aasUnknown;
    TAdapterOperationalStatus OperStatus = aosNonOperational;
    bool DHCPEnabled = false;
    bool DNSEnabled = false;
    bool HaveWINS = false;
    bool NETBIOSEnabled = false;
    bool IPv4Enabled = false;
    bool IPv6Enabled = false;
    // Lines "address=mask" (DNSServers: plain addresses). Shared with the
    // snapshot: a copy of the record reads the snapshot's lists, valid until
    // its next refresh.
    std::shared_ptr<TStringList> IPAddress, Gateways, DHCPServers, PrimaryWINS, SecondaryWINS, DNSServers;
    std::string DNSSuffix;
    std::uint32_t IntfIdx = 0;
    TLinkKind Kind = TLinkKind::Other;  // physical, or which kind of virtual interface
    std::uint32_t IfType = 0;
    std::uint32_t IfOperStatus = 0;
    std::int32_t ImageIndex = 0;
    bool Marked = false;
};

struct TAddressRecord {
    std::string IP;
    std::string Mask;
    std::string Physical;
    std::uint32_t IntfIdx = 0;
    TAddressType Typ = 0;
    std::uint32_t ARPType = 0;
};

using TAdapterList = std::vector<TAdapter>;
using TAddressTable = std::vector<TAddressRecord>;

// Hardware address bytes as "00:1A:2B": upper-case pairs joined by ":".
std::string FormatMacAddress(const std::uint8_t* bytes, std::size_t length);

}  // namespace vx
