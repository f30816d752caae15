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

// The platform's interface type number mapped to TAdapterType; unknown
// numbers give atOther.
TAdapterType AdapterTypeOf(std::uint32_t ifType);

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
