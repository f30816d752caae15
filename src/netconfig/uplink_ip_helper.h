#pragma once

// The uplink total as one more interface: a platform layer that passes every
// question on to the real one and adds the row "All physical" (the sum of
// the physical interfaces, see uplink_total.h) wherever interfaces are
// listed or read, so that the list, its menu, the watchers and the settings
// treat it as any interface. It is there while the machine has a physical
// interface.

#include <memory>
#include <unordered_map>
#include <vector>

#include "netconfig/ip_helper.h"
#include "netconfig/uplink_total.h"

namespace vx {

// Far above any index the kernel gives (they count up from 1).
inline constexpr std::uint32_t kUplinkIndex = 0x7FFFFF00u;
// Its name in the list and the settings file; shown translated.
inline constexpr const char* kUplinkName = "All physical";

class TUplinkIpHelper : public IIpHelper {
public:
    explicit TUplinkIpHelper(std::shared_ptr<IIpHelper> inner);

    bool Present() override { return inner_->Present(); }
    bool HasGetIfEntry2() override { return inner_->HasGetIfEntry2(); }
    bool HasGetAdaptersAddresses() override { return inner_->HasGetAdaptersAddresses(); }
    bool HasConvertInterfaceIndexToLuid() override { return inner_->HasConvertInterfaceIndexToLuid(); }
    std::uint32_t GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) override;
    std::uint32_t GetInterfaceInfo(std::vector<TIpInterfaceEntry>& out, std::uint32_t& size) override {
        return inner_->GetInterfaceInfo(out, size);
    }
    std::uint32_t GetIfEntry(TMibIfRow& row) override;
    std::uint32_t GetIfEntry2(TMibIfRow2& row) override;
    std::uint32_t GetAdaptersAddresses(std::vector<TIpAdapterAddresses>& out, std::uint32_t& size) override {
        return inner_->GetAdaptersAddresses(out, size);
    }
    std::uint32_t ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) override;
    std::uint32_t GetNetworkParams(TFixedInfo& out, std::uint32_t& size) override {
        return inner_->GetNetworkParams(out, size);
    }
    std::uint32_t GetIpAddrTable(std::vector<TMibIpAddrRow>& out, std::uint32_t& size, bool sorted) override {
        return inner_->GetIpAddrTable(out, size, sorted);
    }
    std::uint32_t GetIpNetTable(std::vector<TMibIpNetRow>& out, std::uint32_t& size, bool sorted) override {
        return inner_->GetIpNetTable(out, size, sorted);
    }
    std::uint32_t GetBestInterface(std::uint32_t destination, std::uint32_t& index) override {
        return inner_->GetBestInterface(destination, index);
    }
    void BeginCounterBatch(std::size_t rows) override { inner_->BeginCounterBatch(rows); }
    void EndCounterBatch() override { inner_->EndCounterBatch(); }
    void BeginSnapshot() override { inner_->BeginSnapshot(); }
    void EndSnapshot() override { inner_->EndSnapshot(); }
    TLinkKind LinkKindOf(std::uint32_t index) override;

    // The physical interfaces' indexes as of the last listing.
    std::vector<std::uint32_t> Physical() const;

private:
    // The total now, from the physical interfaces' counters, and whether
    // one of them is operational.
    struct TNow {
        std::uint64_t received = 0, sent = 0;
        bool up = false;
    };
    TNow read();

    std::shared_ptr<IIpHelper> inner_;
    std::vector<std::uint32_t> physical_;
    std::unordered_map<std::uint32_t, TLinkKind> kinds_;  // of the last listing, asked once
    std::vector<TUplinkReading> readings_;                // reused at every read
    TUplinkTotal total_;
};

}  // namespace vx
