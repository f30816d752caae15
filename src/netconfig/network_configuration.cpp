#include "netconfig/network_configuration.h"

#include <algorithm>

#include "netconfig/ipv4.h"
#include "netconfig/linux_ip_helper.h"

namespace vx {
namespace {

// A service that keeps answering "too small" must not hang the refresh.
constexpr int kMaxBufferRetries = 16;

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool sameAscii(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

// Visits a chain from entry 0 along Next. It stops at the end, at an entry
// that names itself, and also at any entry already visited: a longer loop
// would otherwise never end.
template <typename Entry, typename Visit>
void walkChain(const std::vector<Entry>& chain, Visit visit) {
    int i = chain.empty() ? -1 : 0;
    for (std::size_t steps = 0; i >= 0 && static_cast<std::size_t>(i) < chain.size() && steps < chain.size(); ++steps) {
        visit(chain[static_cast<std::size_t>(i)]);
        const int next = chain[static_cast<std::size_t>(i)].Next;
        if (next == i) break;
        i = next;
    }
}

std::shared_ptr<TStringList> chainLines(const TIpAddrChain& chain) {
    auto lines = std::make_shared<TStringList>();
    walkChain(chain, [&](const TIpAddrString& e) { lines->push_back(e.IpAddress + "=" + e.IpMask); });
    return lines;
}

TAddressType addressTypeOf(std::uint16_t wType) {
    TAddressType t = 0;
    if (wType & kMibIpAddrPrimary) t |= 1u << atPrimary;
    if (wType & kMibIpAddrDynamic) t |= 1u << atDynamic;
    if (wType & kMibIpAddrDisconnected) t |= 1u << atDisconnected;
    if (wType & kMibIpAddrDeleted) t |= 1u << atDeleted;
    if (wType & kMibIpAddrTransient) t |= 1u << atTransient;
    return t;
}

// Runs a table query with the buffer protocol: first with size 0; an empty
// table ends with false; otherwise once more with the size reported.
template <typename Row, typename Query>
bool readTable(std::vector<Row>& rows, Query query) {
    std::uint32_t size = 0;
    if (query(rows, size) == kErrorNoData) return false;
    rows.clear();
    if (query(rows, size) != kNoError) rows.clear();
    return true;
}

}  // namespace

TNetworkConfiguration::TNetworkConfiguration(std::shared_ptr<IIpHelper> helper)
    : FHelper(helper ? std::move(helper) : std::make_shared<LinuxIpHelper>()) {
    Clear();
}

void TNetworkConfiguration::Clear() {
    FAdapters.clear();
    FAT.clear();
    FARP.clear();
    FDNSList.clear();
    FIL.clear();
    FProxy = FRouting = FDNS = false;
    FHost.clear();
    FDomain.clear();
    FDNSSuf.clear();
    FDHCPScope.clear();
    FNode = ntUnknown;
    FBII = 0;
}

void TNetworkConfiguration::RefreshData() {
    Clear();
    if (!FHelper->Present()) return;
    // One reading of every interface answers the per-interface queries.
    const TSnapshotBatch snapshot(*FHelper);
    readInterfaceNames();
    readAdapters();
    readAdapterAddresses();
    readNetworkParams();
    if (!readAddressTable()) return;
    // An empty ARP table (a tunnel or point-to-point link, a fresh boot) says
    // nothing about routing: the best interface is still asked for.
    readArpTable();
    readBestInterface();
}

void TNetworkConfiguration::readInterfaceNames() {
    std::vector<TIpInterfaceEntry> entries;
    std::uint32_t size = kInterfaceEntrySize * 2;
    std::uint32_t result = FHelper->GetInterfaceInfo(entries, size);
    for (int retry = 0; result == kErrorInsufficientBuffer && retry < kMaxBufferRetries; ++retry) {
        size += kInterfaceEntrySize * 2;
        result = FHelper->GetInterfaceInfo(entries, size);
    }
    if (result != kNoError) return;
    for (const TIpInterfaceEntry& e : entries) {
        std::string name = trim(e.Name);
        if (const auto brace = name.find('}'); brace != std::string::npos) name.resize(brace + 1);
        FIL.push_back(name + "=" + std::to_string(e.Index));
    }
}

std::uint32_t TNetworkConfiguration::indexForName(const std::string& name, std::uint32_t fallback) const {
    for (const std::string& line : FIL) {
        const auto eq = line.rfind('=');
        if (eq != std::string::npos && sameAscii(line.substr(0, eq), name))
            return static_cast<std::uint32_t>(std::stoul(line.substr(eq + 1)));
    }
    return fallback;
}

void TNetworkConfiguration::readAdapters() {
    std::vector<TIpAdapterInfo> infos;
    std::uint32_t size = kAdapterInfoSize;
    std::uint32_t result = FHelper->GetAdaptersInfo(infos, size);
    for (int retry = 0; result == kErrorBufferOverflow && retry < kMaxBufferRetries; ++retry) {
        size += kAdapterInfoSize;
        result = FHelper->GetAdaptersInfo(infos, size);
    }
    if (result != kNoError) return;
    for (const TIpAdapterInfo& info : infos) {
        TAdapter a;
        a.Name = trim(info.AdapterName);
        a.Description = trim(info.Description);
        a.IfType = info.Type;
        a.Typ = AdapterTypeOf(info.Type);
        a.MACAddress = FormatMacAddress(info.Address.data(), info.Address.size());
        a.DHCPEnabled = info.DhcpEnabled;
        a.HaveWINS = info.HaveWins;
        a.IPAddress = chainLines(info.IpAddressList);
        a.Gateways = chainLines(info.GatewayList);
        a.DHCPServers = chainLines(info.DhcpServer);
        a.PrimaryWINS = chainLines(info.PrimaryWinsServer);
        a.SecondaryWINS = chainLines(info.SecondaryWinsServer);
        a.DNSServers = std::make_shared<TStringList>();

        TMibIfRow row;
        row.dwIndex = info.Index;
        if (FHelper->GetIfEntry(row) == kNoError) {
            a.Name = trim(row.wszName.str());
            a.MaxSpeed = row.dwSpeed;
            a.MTU = row.dwMtu;
            a.AdminStatus = row.dwAdminStatus <= aasTesting ? static_cast<TAdapterAdminStatus>(row.dwAdminStatus)
                                                             : aasUnknown;
            a.OperStatus = row.dwOperStatus <= aosOperational ? static_cast<TAdapterOperationalStatus>(row.dwOperStatus)
                                                               : aosNonOperational;
            a.IfOperStatus = row.dwOperStatus;
        }
        if (FHelper->HasGetIfEntry2()) {
            TMibIfRow2 row2;
            row2.InterfaceIndex = info.Index;
            if (FHelper->GetIfEntry2(row2) == kNoError) {
                a.Name = trim(row2.Description.str());
                a.Alias = trim(row2.Alias.str());
                a.MaxSpeed = row2.TransmitLinkSpeed;
                a.MTU = row2.Mtu;
            }
        }
        if (a.Name.empty()) a.Name = a.Description;
        a.IntfIdx = indexForName(a.Name, info.Index);
        a.Kind = FHelper->LinkKindOf(a.IntfIdx);
        if (a.Alias.empty() && FHelper->HasConvertInterfaceIndexToLuid()) {
            std::string alias;
            if (FHelper->ConvertInterfaceIndexToAlias(a.IntfIdx, alias) == kNoError) a.Alias = alias;
        }
        FAdapters.push_back(std::move(a));
    }
}

void TNetworkConfiguration::readAdapterAddresses() {
    if (!FHelper->HasGetAdaptersAddresses()) return;
    std::vector<TIpAdapterAddresses> entries;
    std::uint32_t size = kAdapterAddressesSize;
    std::uint32_t result = FHelper->GetAdaptersAddresses(entries, size);
    for (int retry = 0; result == kErrorBufferOverflow && retry < kMaxBufferRetries; ++retry) {
        size += kAdapterAddressesSize;
        result = FHelper->GetAdaptersAddresses(entries, size);
    }
    if (result != kNoError) return;
    for (const TIpAdapterAddresses& e : entries) {
        if (e.IfIndex == 0) continue;
        const int i = FindAdapter(static_cast<std::int64_t>(e.IfIndex));
        if (i < 0) continue;
        TAdapter& a = FAdapters[static_cast<std::size_t>(i)];
        a.DNSEnabled = e.Flags & kIpAdapterDdnsEnabled;
        a.NETBIOSEnabled = e.Flags & kIpAdapterNetbiosOverTcpipEnabled;
        a.IPv4Enabled = e.Flags & kIpAdapterIpv4Enabled;
        a.IPv6Enabled = e.Flags & kIpAdapterIpv6Enabled;
        a.DNSSuffix = e.DnsSuffix;
        walkChain(e.DnsServers, [&](const TIpAdapterDnsServer& d) { a.DNSServers->push_back(IPv4ToStr(d.Address)); });
    }
}

void TNetworkConfiguration::readNetworkParams() {
    TFixedInfo info;
    std::uint32_t size = kNetworkParamsSize;
    std::uint32_t result = FHelper->GetNetworkParams(info, size);
    for (int retry = 0; result == kErrorBufferOverflow && retry < kMaxBufferRetries; ++retry)
        result = FHelper->GetNetworkParams(info, size);  // size now holds what it asked for
    if (result != kNoError) return;
    switch (info.NodeType) {
        case kNodeBroadcast: FNode = ntBroadcast; break;
        case kNodePeerToPeer: FNode = ntPeerToPeer; break;
        case kNodeMixed: FNode = ntMixed; break;
        case kNodeHybrid: FNode = ntHybrid; break;
        default: FNode = ntUnknown; break;
    }
    FDHCPScope = info.ScopeId;
    FDNSSuf = info.HaveCurrentDnsServer ? info.CurrentDnsServer.IpAddress : std::string();
    FDNSList.clear();
    // The list ends where the next entry repeats the address just added.
    const TIpAddrChain& chain = info.DnsServerList;
    int i = chain.empty() ? -1 : 0;
    for (std::size_t steps = 0; i >= 0 && static_cast<std::size_t>(i) < chain.size() && steps < chain.size(); ++steps) {
        const TIpAddrString& e = chain[static_cast<std::size_t>(i)];
        FDNSList.push_back(e.IpAddress);
        const int next = e.Next;
        if (next < 0 || static_cast<std::size_t>(next) >= chain.size() ||
            chain[static_cast<std::size_t>(next)].IpAddress == e.IpAddress)
            break;
        i = next;
    }
    FHost = info.HostName;
    FDomain = info.DomainName;
    FProxy = info.EnableProxy;
    FRouting = info.EnableRouting;
    FDNS = info.EnableDns;
}

bool TNetworkConfiguration::readAddressTable() {
    std::vector<TMibIpAddrRow> rows;
    if (!readTable(rows, [this](auto& out, auto& size) { return FHelper->GetIpAddrTable(out, size, false); }))
        return false;
    for (const TMibIpAddrRow& r : rows)
        FAT.push_back({IPv4ToStr(NetworkToIPv4(r.dwAddr)), IPv4ToStr(NetworkToIPv4(r.dwMask)), "", r.dwIndex,
                       addressTypeOf(r.wType), 0});
    return true;
}

bool TNetworkConfiguration::readArpTable() {
    std::vector<TMibIpNetRow> rows;
    if (!readTable(rows, [this](auto& out, auto& size) { return FHelper->GetIpNetTable(out, size, false); }))
        return false;
    for (const TMibIpNetRow& r : rows)
        FARP.push_back({IPv4ToStr(NetworkToIPv4(r.dwAddr)), "255.255.255.0",
                        FormatMacAddress(r.bPhysAddr.data(), std::min<std::size_t>(r.dwPhysAddrLen, r.bPhysAddr.size())),
                        r.dwIndex, 0, r.dwType});
    return true;
}

void TNetworkConfiguration::readBestInterface() {
    std::uint32_t index = 0;
    if (FHelper->GetBestInterface(IPv4ToNetwork(StrToIPv4(kBestInterfaceProbe)), index) == kNoError)
        FBII = index;
    else
        FBII = FindFirstOperationalIntfIdx();
}

int TNetworkConfiguration::FindAdapter(const std::string& name) const {
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (sameAscii(FAdapters[i].Name, name)) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAdapter(std::int64_t intfIdx) const {
    if (intfIdx < 0) return -1;
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (FAdapters[i].IntfIdx == intfIdx) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAddress(const std::string& ip) const {
    for (std::size_t i = 0; i < FAT.size(); ++i)
        if (sameAscii(FAT[i].IP, ip)) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindAddress(std::uint32_t intfIdx) const {
    for (std::size_t i = 0; i < FAT.size(); ++i)
        if (FAT[i].IntfIdx == intfIdx) return static_cast<int>(i);
    return -1;
}

int TNetworkConfiguration::FindFirstOperational() const {
    for (std::size_t i = 0; i < FAdapters.size(); ++i)
        if (FAdapters[i].OperStatus == aosOperational) return static_cast<int>(i);
    for (std::size_t i = 0; i < FAdapters.size(); ++i) {
        const auto& lines = FAdapters[i].IPAddress;
        if (!lines || lines->empty()) continue;
        const std::string& first = lines->front();
        if (StrToIPv4(first.substr(0, first.find('='))) != 0) return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t TNetworkConfiguration::FindFirstOperationalIntfIdx() const {
    const int i = FindFirstOperational();
    return i < 0 ? 0 : FAdapters[static_cast<std::size_t>(i)].IntfIdx;
}

std::string TNetworkConfiguration::GetSubnetMask(const std::string& ip) {
    const std::uint32_t first = StrToIPv4(ip) >> 24;
    if (first >= 1 && first <= 126) return "255.0.0.0";
    if (first >= 128 && first <= 191) return "255.255.0.0";
    if (first >= 192 && first <= 223) return "255.255.255.0";
    return "0.0.0.0";
}

void TNetworkConfiguration::GetTraffic(std::uint32_t intfIdx, std::uint64_t& in, std::uint64_t& out) {
    in = 0;
    out = 0;
    if (FHelper->HasGetIfEntry2()) {
        TMibIfRow2 row2;
        row2.InterfaceIndex = intfIdx;
        if (FHelper->GetIfEntry2(row2) == kNoError) {
            in = row2.InOctets;
            out = row2.OutOctets;
            return;
        }
    }
    TMibIfRow row;
    row.dwIndex = intfIdx;
    if (FHelper->GetIfEntry(row) == kNoError) {
        in = row.dwInOctets;
        out = row.dwOutOctets;
    }
}

std::int64_t TNetworkConfiguration::SetIP(std::uint32_t, bool, const std::string&, const std::string&,
                                          const std::string&) {
    return -1;
}

std::int64_t TNetworkConfiguration::SetDNS(std::uint32_t, bool, const std::string&, const std::string&) { return -1; }

void TNetworkConfiguration::updateBestInterface() {
    if (FAT.empty()) RefreshData();
    readBestInterface();
}

std::string TNetworkConfiguration::CurrentIP() {
    updateBestInterface();
    const int i = FindAddress(FBII);
    return i < 0 ? std::string() : FAT[static_cast<std::size_t>(i)].IP;
}

std::string TNetworkConfiguration::CurrentMAC() {
    updateBestInterface();
    const int i = FindAdapter(static_cast<std::int64_t>(FBII));
    return i < 0 ? std::string() : FAdapters[static_cast<std::size_t>(i)].MACAddress;
}

std::string TNetworkConfiguration::CurrentNetwork() {
    updateBestInterface();
    const int i = FindAdapter(static_cast<std::int64_t>(FBII));
    return i < 0 ? std::string() : FAdapters[static_cast<std::size_t>(i)].Alias;
}

}  // namespace vx
