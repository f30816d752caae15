#pragma once

// The uplink total as one more link: a source that passes every question on
// to the real one and adds the link "All physical" (the sum of the physical
// interfaces, see uplink_total.h) wherever links are listed or counted, so
// that the list, its menu, the watchers and the settings treat it as any
// interface. It is there while the machine has a physical interface.

#include <memory>
#include <vector>

#include "netconfig/link_source.h"
#include "netconfig/uplink_total.h"

namespace vx {

// Far above any index the kernel gives (they count up from 1).
inline constexpr std::uint32_t kUplinkIndex = 0x7FFFFF00u;
// Its name in the list and the settings file; shown translated.
inline constexpr const char* kUplinkName = "All physical";

class TUplinkLinkSource : public ILinkSource {
public:
    explicit TUplinkLinkSource(std::shared_ptr<ILinkSource> inner);

    std::error_code Links(std::vector<TLink>& out) override;
    std::error_code Counters(std::vector<TLinkCounters>& out) override;
    std::error_code CountersOf(std::uint32_t index, TLinkCounters& out) override;
    std::error_code Addresses(std::vector<TIpv4Address>& out) override { return FInner->Addresses(out); }
    std::error_code Gateways(std::vector<TGateway>& out) override { return FInner->Gateways(out); }
    std::error_code Neighbours(std::vector<TNeighbour>& out) override { return FInner->Neighbours(out); }
    std::optional<std::uint32_t> RouteTo(std::uint32_t destination) override { return FInner->RouteTo(destination); }
    THostFacts Host() override { return FInner->Host(); }

private:
    // Adds the physical links' entries of `all` to the total.
    void update(const std::vector<TLinkCounters>& all);

    std::shared_ptr<ILinkSource> FInner;
    std::vector<std::uint32_t> FPhysical;
    std::vector<TLinkCounters> FAll;        // reused at every single read
    std::vector<TUplinkReading> FReadings;  // reused at every read
    TUplinkTotal FTotal;
};

}  // namespace vx
