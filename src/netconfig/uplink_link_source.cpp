#include "netconfig/uplink_link_source.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>

namespace vx {

TUplinkLinkSource::TUplinkLinkSource(std::shared_ptr<ILinkSource> inner) : FInner(std::move(inner)) {}

std::error_code TUplinkLinkSource::Links(std::vector<TLink>& out) {
    if (const std::error_code error = FInner->Links(out)) return error;
    FPhysical.clear();
    bool up = false;
    for (const TLink& link : out) {
        if (!IsPhysical(link.Kind) || link.Index == kUplinkIndex) continue;
        FPhysical.push_back(link.Index);
        up = up || link.OperState == IF_OPER_UP;
    }
    if (FPhysical.empty()) return {};
    TLink uplink;
    uplink.Index = kUplinkIndex;
    uplink.Name = kUplinkName;
    uplink.Driver = "Sum of the physical interfaces";
    uplink.ArpType = ARPHRD_ETHER;  // the picture and type of a wired card
    uplink.Flags = IFF_UP;
    uplink.OperState = up ? IF_OPER_UP : IF_OPER_DOWN;
    out.push_back(std::move(uplink));
    return {};
}

void TUplinkLinkSource::update(const std::vector<TLinkCounters>& all) {
    FReadings.clear();
    for (const TLinkCounters& c : all)
        if (std::find(FPhysical.begin(), FPhysical.end(), c.Index) != FPhysical.end())
            FReadings.push_back({c.Index, c.Received, c.Sent});
    FTotal.Update(FReadings);
}

std::error_code TUplinkLinkSource::Counters(std::vector<TLinkCounters>& out) {
    if (const std::error_code error = FInner->Counters(out)) return error;
    if (FPhysical.empty()) return {};
    update(out);
    out.push_back({kUplinkIndex, FTotal.Received(), FTotal.Sent()});
    return {};
}

std::error_code TUplinkLinkSource::CountersOf(std::uint32_t index, TLinkCounters& out) {
    if (index != kUplinkIndex) return FInner->CountersOf(index, out);
    out = TLinkCounters{};
    if (FPhysical.empty()) return std::make_error_code(std::errc::no_such_device);
    if (const std::error_code error = FInner->Counters(FAll)) return error;
    update(FAll);
    out = {kUplinkIndex, FTotal.Received(), FTotal.Sent()};
    return {};
}

}  // namespace vx
