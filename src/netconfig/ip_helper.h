#pragma once

// The network platform layer: the operations the network snapshot, the
// traffic counters and the change notifier use, with the result codes and
// record shapes they rely on. LinuxIpHelper answers them from the kernel
// (rtnetlink and sysfs); tests script a fake.
//
// Buffer protocol of the table queries: `size` is the caller's buffer size
// in bytes. When it is too small the call fills nothing, sets `size` to the
// size needed and answers kErrorBufferOverflow (kErrorInsufficientBuffer
// for GetInterfaceInfo); otherwise it fills the output and answers
// kNoError. Sizes count kAdapterInfoSize, kInterfaceEntrySize, ... per
// record, so callers can grow their buffers as they would for the
// original service.
//
// Texts are UTF-8. On this system an adapter's AdapterName, its rows'
// wszName and the 64-bit row's Description are the kernel interface name
// (eth0); IP_ADAPTER_INFO.Description is the device's driver text; Alias is
// the interface alias (ip link set dev X alias ...), empty when unset.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "netconfig/interface_kind.h"

namespace vx {

inline constexpr std::uint32_t kNoError = 0;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorBufferOverflow = 111;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorNoData = 232;
inline constexpr std::uint32_t kErrorIoPending = 997;
inline constexpr std::uint32_t kErrorNotFound = 1168;
inline constexpr std::uint32_t kErrorNotSupported = 50;

inline constexpr std::uint32_t kAdapterInfoSize = 640;
inline constexpr std::uint32_t kInterfaceEntrySize = 260;
inline constexpr std::uint32_t kAdapterAddressesSize = 376;
inline constexpr std::uint32_t kNetworkParamsSize = 584;
inline constexpr std::uint32_t kIpAddrRowSize = 24;
inline constexpr std::uint32_t kIpNetRowSize = 24;

// One entry of an address chain. Entry 0 is the one embedded in the owning
// record; Next is the index of the following entry, -1 at the end. A chain
// may (wrongly) name an entry as its own successor; readers stop there.
struct TIpAddrString {
    std::string IpAddress;
    std::string IpMask;
    int Next = -1;
};
using TIpAddrChain = std::vector<TIpAddrString>;

struct TIpAdapterInfo {
    std::string AdapterName;
    std::string Description;
    std::vector<std::uint8_t> Address;  // AddressLength is its size
    std::uint32_t Index = 0;
    std::uint32_t Type = 0;
    bool DhcpEnabled = false;
    TIpAddrChain IpAddressList, GatewayList, DhcpServer, PrimaryWinsServer, SecondaryWinsServer;
    bool HaveWins = false;
};

struct TIpInterfaceEntry {
    std::uint32_t Index = 0;
    std::string Name;
};

// Fixed-size text, so that reading a row allocates nothing.
template <std::size_t N>
struct TRowText {
    std::array<char, N> chars{};
    void assign(const char* text, std::size_t length);
    std::string str() const;
    bool empty() const { return chars[0] == 0; }
};

inline constexpr std::size_t kRowTextSize = 1028;  // 256 characters of up to four bytes

struct TMibIfRow {
    TRowText<kRowTextSize> wszName;
    std::uint32_t dwIndex = 0;
    std::uint32_t dwType = 0;
    std::uint32_t dwMtu = 0;
    std::uint32_t dwSpeed = 0;  // bits per second, capped at 2^32 - 1
    std::uint32_t dwPhysAddrLen = 0;
    std::array<std::uint8_t, 8> bPhysAddr{};
    std::uint32_t dwAdminStatus = 0;  // 1 up, 2 down, 3 testing
    std::uint32_t dwOperStatus = 0;   // 0 non-operational .. 5 operational
    std::uint32_t dwInOctets = 0;     // low 32 bits of the kernel's counters
    std::uint32_t dwOutOctets = 0;
};

struct TMibIfRow2 {
    std::uint32_t InterfaceIndex = 0;
    TRowText<kRowTextSize> Alias;
    TRowText<kRowTextSize> Description;
    std::uint32_t PhysicalAddressLength = 0;
    std::array<std::uint8_t, 32> PhysicalAddress{};
    std::uint32_t Mtu = 0;
    std::uint32_t Type = 0;
    std::uint32_t OperStatus = 0;  // 1 up, 2 down, 3 testing, 4 unknown, 5 dormant, 6 not present, 7 lower layer down
    std::uint32_t AdminStatus = 0;
    std::uint64_t TransmitLinkSpeed = 0;
    std::uint64_t ReceiveLinkSpeed = 0;
    std::uint64_t InOctets = 0;
    std::uint64_t OutOctets = 0;
};

// Flags of TIpAdapterAddresses.
inline constexpr std::uint32_t kIpAdapterDdnsEnabled = 0x1;
inline constexpr std::uint32_t kIpAdapterNetbiosOverTcpipEnabled = 0x40;
inline constexpr std::uint32_t kIpAdapterIpv4Enabled = 0x80;
inline constexpr std::uint32_t kIpAdapterIpv6Enabled = 0x100;

struct TIpAdapterDnsServer {
    std::uint32_t Address = 0;  // IPv4 value, first octet most significant
    int Next = -1;              // as in TIpAddrString
};

struct TIpAdapterAddresses {
    std::uint32_t IfIndex = 0;  // 0: the entry names no interface
    std::uint32_t Flags = 0;
    std::string DnsSuffix;
    std::vector<TIpAdapterDnsServer> DnsServers;  // a chain starting at entry 0, or empty
};

inline constexpr std::uint32_t kNodeBroadcast = 1, kNodePeerToPeer = 2, kNodeMixed = 4, kNodeHybrid = 8;

struct TFixedInfo {
    std::string HostName;
    std::string DomainName;
    bool HaveCurrentDnsServer = false;
    TIpAddrString CurrentDnsServer;
    TIpAddrChain DnsServerList;  // entry 0 embedded
    std::uint32_t NodeType = 0;
    std::string ScopeId;
    bool EnableRouting = false;
    bool EnableProxy = false;
    bool EnableDns = false;
};

// Address type flags of TMibIpAddrRow.
inline constexpr std::uint16_t kMibIpAddrPrimary = 0x1;
inline constexpr std::uint16_t kMibIpAddrDynamic = 0x4;
inline constexpr std::uint16_t kMibIpAddrDisconnected = 0x8;
inline constexpr std::uint16_t kMibIpAddrDeleted = 0x40;
inline constexpr std::uint16_t kMibIpAddrTransient = 0x80;

struct TMibIpAddrRow {
    std::uint32_t dwAddr = 0;  // network byte order, as the original records
    std::uint32_t dwIndex = 0;
    std::uint32_t dwMask = 0;  // network byte order
    std::uint32_t dwBCastAddr = 0;
    std::uint16_t wType = 0;
};

// ARP entry types.
inline constexpr std::uint32_t kIpNetTypeOther = 1, kIpNetTypeInvalid = 2, kIpNetTypeDynamic = 3, kIpNetTypeStatic = 4;

struct TMibIpNetRow {
    std::uint32_t dwIndex = 0;
    std::uint32_t dwPhysAddrLen = 0;
    std::array<std::uint8_t, 8> bPhysAddr{};
    std::uint32_t dwAddr = 0;  // network byte order
    std::uint32_t dwType = 0;
};

class IIpHelper {
public:
    virtual ~IIpHelper() = default;

    // Whether the service is there at all (GetAdaptersInfo answers); the
    // optional operations report their own presence.
    virtual bool Present() = 0;
    virtual bool HasGetIfEntry2() = 0;
    virtual bool HasGetAdaptersAddresses() = 0;
    virtual bool HasConvertInterfaceIndexToLuid() = 0;

    virtual std::uint32_t GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) = 0;
    virtual std::uint32_t GetInterfaceInfo(std::vector<TIpInterfaceEntry>& out, std::uint32_t& size) = 0;
    // The row's dwIndex / InterfaceIndex names the interface.
    virtual std::uint32_t GetIfEntry(TMibIfRow& row) = 0;
    virtual std::uint32_t GetIfEntry2(TMibIfRow2& row) = 0;
    virtual std::uint32_t GetAdaptersAddresses(std::vector<TIpAdapterAddresses>& out, std::uint32_t& size) = 0;
    // The LUID step is folded in: index to alias, kErrorNotFound for an
    // unknown index.
    virtual std::uint32_t ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) = 0;
    virtual std::uint32_t GetNetworkParams(TFixedInfo& out, std::uint32_t& size) = 0;
    // size 0 asks for the size; kErrorNoData when the table is empty.
    virtual std::uint32_t GetIpAddrTable(std::vector<TMibIpAddrRow>& out, std::uint32_t& size, bool sorted) = 0;
    virtual std::uint32_t GetIpNetTable(std::vector<TMibIpNetRow>& out, std::uint32_t& size, bool sorted) = 0;
    // The interface the routing table sends `destination` (network byte
    // order) through; no packet is sent.
    virtual std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t& index) = 0;

    // A counter batch: between Begin and End, GetIfEntry and GetIfEntry2
    // are asked for the counters of about `rows` interfaces, and their
    // answers carry the counters only (no other field of a row is read).
    // For many rows (the interface list's once-a-second update) one reading
    // of every interface, taken at the first call, may answer them all.
    // Platforms without a cheaper way ignore it.
    virtual void BeginCounterBatch(std::size_t rows) { (void)rows; }
    // What the interface is: a physical device or a virtual interface of
    // some kind. Platforms that cannot tell say Other.
    virtual TLinkKind LinkKindOf(std::uint32_t index) {
        (void)index;
        return TLinkKind::Other;
    }
    virtual void EndCounterBatch() {}
    // A snapshot: between Begin and End (one RefreshData), the per-interface
    // queries may answer from one reading of every interface taken at the
    // first of them, with whole rows; the system does not change for the
    // program in between.
    virtual void BeginSnapshot() {}
    virtual void EndSnapshot() {}
};

// Brackets a counter batch or a snapshot (Begin now, End when it goes).
template <auto Begin, auto End>
class THelperScope {
public:
    template <typename... Args>
    explicit THelperScope(IIpHelper& helper, Args... args) : helper_(helper) {
        (helper_.*Begin)(args...);
    }
    ~THelperScope() { (helper_.*End)(); }
    THelperScope(const THelperScope&) = delete;
    THelperScope& operator=(const THelperScope&) = delete;

private:
    IIpHelper& helper_;
};
using TCounterBatch = THelperScope<&IIpHelper::BeginCounterBatch, &IIpHelper::EndCounterBatch>;
using TSnapshotBatch = THelperScope<&IIpHelper::BeginSnapshot, &IIpHelper::EndSnapshot>;

template <std::size_t N>
void TRowText<N>::assign(const char* text, std::size_t length) {
    if (length >= N) length = N - 1;
    for (std::size_t i = 0; i < length; ++i) chars[i] = text[i];
    chars[length] = 0;
}

template <std::size_t N>
std::string TRowText<N>::str() const {
    return std::string(chars.data());
}

}  // namespace vx
