#pragma once

// A snapshot of the machine's IPv4 network configuration: one TAdapter per
// network interface, the address and ARP tables, host-wide parameters and
// the interface that routes towards the internet. Rebuilt whole by
// RefreshData; never updated piecemeal. Adapter indices stay valid until the
// next RefreshData or Clear. Not thread-safe: GUI thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "netconfig/adapter.h"
#include "netconfig/link_source.h"

namespace vx {

class TNetworkConfiguration {
public:
    // The kernel's links (TKernelLinkSource) by default.
    explicit TNetworkConfiguration(std::shared_ptr<ILinkSource> source = nullptr);

    // The source the snapshot reads (watchers read their counters from it too).
    const std::shared_ptr<ILinkSource>& Source() const { return FSource; }

    void Clear();
    // Rebuilds the snapshot: the links, then their addresses, gateways and
    // neighbours. A failing reading leaves its share empty and the next one
    // runs; no links leave the snapshot empty; an empty address table ends
    // the refresh there, leaving the ARP table empty and BestInterfaceIdx 0.
    void RefreshData();

    int FindAdapter(const std::string& name) const;  // ASCII case ignored; -1 when none
    int FindAdapter(std::int64_t intfIdx) const;     // -1 when none or negative
    int FindAddress(const std::string& ip) const;
    int FindAddress(std::uint32_t intfIdx) const;
    // The first operational adapter; else the first whose first address is
    // not 0.0.0.0 (EIPv4Error for a malformed one); else -1.
    int FindFirstOperational() const;
    std::uint32_t FindFirstOperationalIntfIdx() const;
    // The class-based default mask of an address; EIPv4Error when malformed.
    static std::string GetSubnetMask(const std::string& ip);

    // Octets received and sent by an interface; both 0 for an unknown
    // index. One request for that interface, no heap allocation.
    void GetTraffic(std::uint32_t intfIdx, std::uint64_t& in, std::uint64_t& out);
    // Every interface's counters from one reading, for many rows at once;
    // false when they cannot be read. TrafficOf then answers from it.
    bool ReadTraffic();
    void TrafficOf(std::uint32_t intfIdx, std::uint64_t& in, std::uint64_t& out) const;

    // Changing addresses and DNS servers needs a management service that
    // this system does not offer to the program: both always return -1.
    std::int64_t SetIP(std::uint32_t intfIdx, bool isStatic, const std::string& ip, const std::string& mask,
                       const std::string& gateway);
    std::int64_t SetDNS(std::uint32_t intfIdx, bool isStatic, const std::string& preferred,
                        const std::string& alternate);

    std::uint16_t AdapterCount() const { return static_cast<std::uint16_t>(FAdapters.size()); }
    std::uint16_t AdressRecordCount() const { return static_cast<std::uint16_t>(FAT.size()); }
    std::uint16_t ARPRecordCount() const { return static_cast<std::uint16_t>(FARP.size()); }
    // Callers pass an index below the matching count.
    TAdapter Adapter(std::uint16_t index) const { return FAdapters[index]; }
    std::int32_t AdapterImageIndex(std::uint16_t index) const { return FAdapters[index].ImageIndex; }
    void SetAdapterImageIndex(std::uint16_t index, std::int32_t value) { FAdapters[index].ImageIndex = value; }
    bool AdapterMark(std::uint16_t index) const { return FAdapters[index].Marked; }
    void SetAdapterMark(std::uint16_t index, bool value) { FAdapters[index].Marked = value; }
    TAddressRecord AddressRecord(std::uint16_t index) const { return FAT[index]; }
    TAddressRecord ARPRecord(std::uint16_t index) const { return FARP[index]; }

    bool ProxyEnabled() const { return FProxy; }
    bool RoutingEnabled() const { return FRouting; }
    bool DNSEnabled() const { return FDNS; }
    const std::string& HostName() const { return FHost; }
    const std::string& DomainName() const { return FDomain; }
    // The address of the current DNS server (despite the name).
    const std::string& PrimaryDNSSuffix() const { return FDNSSuf; }
    const TStringList& DNSServers() const { return FDNSList; }
    TNodeType NodeType() const { return FNode; }
    const std::string& DHCPScopeName() const { return FDHCPScope; }
    std::uint32_t BestInterfaceIdx() const { return FBII; }

    // Each asks the routing table again (refreshing first when the address
    // table is empty) and answers for that interface; "" when not found.
    std::string CurrentIP();
    std::string CurrentMAC();
    std::string CurrentNetwork();

private:
    void readAdapters(const std::vector<TLink>& links, const std::vector<TIpv4Address>& addresses);
    void readHost();
    bool readAddressTable(const std::vector<TLink>& links, const std::vector<TIpv4Address>& addresses);
    void readArpTable();
    void readBestInterface();
    void updateBestInterface();

    std::shared_ptr<ILinkSource> FSource;
    std::vector<TLinkCounters> FCounters;  // the last ReadTraffic, by index
    TAdapterList FAdapters;
    TAddressTable FAT;
    TAddressTable FARP;
    bool FProxy = false;
    bool FRouting = false;
    bool FDNS = false;
    std::string FHost;
    std::string FDomain;
    std::string FDNSSuf;
    TStringList FDNSList;
    TNodeType FNode = ntUnknown;
    std::string FDHCPScope;
    std::uint32_t FBII = 0;
};

// The destination whose route names the best interface.
inline constexpr const char* kBestInterfaceProbe = "8.8.8.8";

}  // namespace vx
