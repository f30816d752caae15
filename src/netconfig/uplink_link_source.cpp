#include "netconfig/uplink_link_source.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>

namespace vx {

TUplinkLinkSource::TUplinkLinkSource(std::shared_ptr<ILinkSource> inner) : inner_(std::move(inner)) {}

std::error_code TUplinkLinkSource::Links(std::vector<TLink>& out) {
    if (const std::error_code error = inner_->Links(out)) return error;
    physical_.clear();
    bool up = false;
    for (const TLink& link : out) {
        if (!IsPhysical(link.Kind) || link.Index == kUplinkIndex) continue;
        physical_.push_back(link.Index);
        up = up || link.OperState == IF_OPER_UP;
    }
    if (physical_.empty()) return {};
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
    readings_.clear();
    for (const TLinkCounters& c : all)
        if (std::find(physical_.begin(), physical_.end(), c.Index) != physical_.end())
            readings_.push_back({c.Index, c.Received, c.Sent});
    total_.Update(readings_);
}

std::error_code TUplinkLinkSource::Counters(std::vector<TLinkCounters>& out) {
    if (const std::error_code error = inner_->Counters(out)) return error;
    if (physical_.empty()) return {};
    update(out);
    out.push_back({kUplinkIndex, total_.Received(), total_.Sent()});
    return {};
}

std::error_code TUplinkLinkSource::CountersOf(std::uint32_t index, TLinkCounters& out) {
    if (index != kUplinkIndex) return inner_->CountersOf(index, out);
    out = TLinkCounters{};
    if (physical_.empty()) return std::make_error_code(std::errc::no_such_device);
    if (const std::error_code error = inner_->Counters(all_)) return error;
    update(all_);
    out = {kUplinkIndex, total_.Received(), total_.Sent()};
    return {};
}

}  // namespace vx
