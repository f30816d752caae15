#pragma once

// The network platform layer on Linux: rtnetlink through libnl-route-3 for
// links, addresses, routes and neighbours; one raw rtnetlink request for a
// single interface's row (no allocation); sysfs and /proc for speeds,
// wireless and switches; the system's text files for DNS and DHCP leases.
//
// Every interface the kernel lists is an adapter, loopback included.
// WINS does not exist here: HaveWins is false, its lists hold 0.0.0.0.
// An empty address list holds one 0.0.0.0=0.0.0.0 line, as the adapter
// record always carries one embedded entry.

#include <chrono>
#include <map>
#include <memory>

#include "netconfig/ip_helper.h"
#include "netconfig/link_facts.h"
#include "netconfig/system_files.h"

struct nl_sock;
struct nl_cache;

namespace vx {

class LinuxIpHelper : public IIpHelper {
public:
    explicit LinuxIpHelper(TSystemFiles files = TSystemFiles());
    ~LinuxIpHelper() override;

    bool Present() override;
    bool HasGetIfEntry2() override { return true; }
    bool HasGetAdaptersAddresses() override { return true; }
    bool HasConvertInterfaceIndexToLuid() override { return true; }

    std::uint32_t GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) override;
    std::uint32_t GetInterfaceInfo(std::vector<TIpInterfaceEntry>& out, std::uint32_t& size) override;
    std::uint32_t GetIfEntry(TMibIfRow& row) override;
    std::uint32_t GetIfEntry2(TMibIfRow2& row) override;
    std::uint32_t GetAdaptersAddresses(std::vector<TIpAdapterAddresses>& out, std::uint32_t& size) override;
    std::uint32_t ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) override;
    std::uint32_t GetNetworkParams(TFixedInfo& out, std::uint32_t& size) override;
    std::uint32_t GetIpAddrTable(std::vector<TMibIpAddrRow>& out, std::uint32_t& size, bool sorted) override;
    std::uint32_t GetIpNetTable(std::vector<TMibIpNetRow>& out, std::uint32_t& size, bool sorted) override;
    std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t& index) override;
    void BeginCounterBatch(std::size_t rows) override;
    TLinkKind LinkKindOf(std::uint32_t index) override;
    void EndCounterBatch() override;
    void BeginSnapshot() override;
    void EndSnapshot() override;

private:
    // The facts of `index`: from the batch's dump while a batch is open
    // (taken at its first use), else from a request of its own.
    bool linkFacts(std::uint32_t index, TLinkFacts& facts);
    bool countersOnly() const { return batchDepth_ > 0 && snapshotDepth_ == 0; }
    // Link speed and interface type from sysfs, read once per interface
    // during a snapshot.
    std::uint64_t speedOf(const char* name);
    std::uint32_t typeOf(std::uint16_t arpType, const char* name);
    // A table answered "too small" is kept for the caller's immediate retry
    // with a bigger buffer, so that growing a buffer does not ask the kernel
    // twice.
    template <typename Row>
    struct Memo {
        std::vector<Row> rows;
        std::chrono::steady_clock::time_point at;
        bool valid = false;
    };
    template <typename Row, typename Build>
    std::uint32_t answer(Memo<Row>& memo, std::vector<Row>& out, std::uint32_t& size, std::uint32_t rowSize,
                         std::uint32_t tooSmall, bool emptyIsNoData, Build build);

    std::vector<TIpAdapterInfo> buildAdapters();
    std::vector<TIpInterfaceEntry> buildInterfaces();
    std::vector<TIpAdapterAddresses> buildAdapterAddresses();
    std::vector<TMibIpAddrRow> buildAddrTable();
    std::vector<TMibIpNetRow> buildNetTable();

    struct SocketDeleter {
        void operator()(nl_sock* s) const;
    };
    nl_sock* socket();

    TSystemFiles files_;
    std::unique_ptr<nl_sock, SocketDeleter> sock_;
    TLinkQuery linkQuery_;
    int batchDepth_ = 0;
    bool batchRead_ = false;
    std::size_t batchRows_ = 0;
    bool batchOk_ = false;
    std::vector<TLinkFacts> batch_;
    std::size_t batchNext_ = 0;
    int snapshotDepth_ = 0;
    bool snapshotRead_ = false;
    bool snapshotOk_ = false;
    std::vector<TLinkFacts> snapshot_;
    std::size_t snapshotNext_ = 0;
    std::map<std::string, std::uint64_t> speeds_;
    std::shared_ptr<nl_cache> snapshotLinks_;  // one link table per snapshot
    // The kernel's link table: the snapshot's, or a fresh one outside a snapshot.
    std::shared_ptr<nl_cache> linkCache();
    std::map<std::pair<std::uint16_t, std::string>, std::uint32_t> types_;
    Memo<TIpAdapterInfo> adapters_;
    Memo<TIpInterfaceEntry> interfaces_;
    Memo<TIpAdapterAddresses> adapterAddresses_;
    Memo<TMibIpAddrRow> addrTable_;
    Memo<TMibIpNetRow> netTable_;
};

}  // namespace vx
