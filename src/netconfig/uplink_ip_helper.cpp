#include "netconfig/uplink_ip_helper.h"

#include <cstring>

namespace vx {
namespace {

constexpr std::uint32_t kEthernetType = 6;  // the picture and type of a wired card

TIpAddrChain noAddress() { return {TIpAddrString{"0.0.0.0", "0.0.0.0", -1}}; }

}  // namespace

TUplinkIpHelper::TUplinkIpHelper(std::shared_ptr<IIpHelper> inner) : inner_(std::move(inner)) {}

std::vector<std::uint32_t> TUplinkIpHelper::Physical() const { return physical_; }

std::uint32_t TUplinkIpHelper::GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) {
    const std::uint32_t result = inner_->GetAdaptersInfo(out, size);
    if (result != kNoError) return result;
    // Each interface's kind is asked once a listing; the configuration's
    // own question for it is answered from here.
    physical_.clear();
    kinds_.clear();
    for (const TIpAdapterInfo& info : out) {
        if (info.Index == kUplinkIndex) continue;
        const TLinkKind kind = inner_->LinkKindOf(info.Index);
        kinds_[info.Index] = kind;
        if (IsPhysical(kind)) physical_.push_back(info.Index);
    }
    if (physical_.empty()) return result;
    TIpAdapterInfo uplink;
    uplink.AdapterName = kUplinkName;
    uplink.Description = "Sum of the physical interfaces";
    uplink.Index = kUplinkIndex;
    uplink.Type = kEthernetType;
    uplink.IpAddressList = uplink.GatewayList = uplink.DhcpServer = uplink.PrimaryWinsServer =
        uplink.SecondaryWinsServer = noAddress();
    out.push_back(std::move(uplink));
    return result;
}

TUplinkIpHelper::TNow TUplinkIpHelper::read() {
    TNow now;
    readings_.clear();
    for (const std::uint32_t index : physical_) {
        if (inner_->HasGetIfEntry2()) {
            TMibIfRow2 row;
            row.InterfaceIndex = index;
            if (inner_->GetIfEntry2(row) != kNoError) continue;
            readings_.push_back({index, row.InOctets, row.OutOctets});
            now.up = now.up || row.OperStatus == 1;
        } else {
            TMibIfRow row;
            row.dwIndex = index;
            if (inner_->GetIfEntry(row) != kNoError) continue;
            readings_.push_back({index, row.dwInOctets, row.dwOutOctets});
            now.up = now.up || row.dwOperStatus == 5;
        }
    }
    total_.Update(readings_);
    now.received = total_.Received();
    now.sent = total_.Sent();
    return now;
}

std::uint32_t TUplinkIpHelper::GetIfEntry(TMibIfRow& row) {
    if (row.dwIndex != kUplinkIndex) return inner_->GetIfEntry(row);
    if (physical_.empty()) return kErrorNotFound;
    const TNow now = read();
    const std::uint32_t index = row.dwIndex;
    row = TMibIfRow{};
    row.dwIndex = index;
    row.wszName.assign(kUplinkName, std::strlen(kUplinkName));
    row.dwType = kEthernetType;
    row.dwAdminStatus = 1;
    row.dwOperStatus = now.up ? 5 : 2;
    row.dwInOctets = static_cast<std::uint32_t>(now.received);
    row.dwOutOctets = static_cast<std::uint32_t>(now.sent);
    return kNoError;
}

std::uint32_t TUplinkIpHelper::GetIfEntry2(TMibIfRow2& row) {
    if (row.InterfaceIndex != kUplinkIndex) return inner_->GetIfEntry2(row);
    if (physical_.empty()) return kErrorNotFound;
    const TNow now = read();
    const std::uint32_t index = row.InterfaceIndex;
    row = TMibIfRow2{};
    row.InterfaceIndex = index;
    row.Description.assign(kUplinkName, std::strlen(kUplinkName));
    row.Type = kEthernetType;
    row.AdminStatus = 1;
    row.OperStatus = now.up ? 1 : 2;
    row.InOctets = now.received;
    row.OutOctets = now.sent;
    return kNoError;
}

std::uint32_t TUplinkIpHelper::ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) {
    if (index == kUplinkIndex) return kErrorNotFound;
    return inner_->ConvertInterfaceIndexToAlias(index, alias);
}

TLinkKind TUplinkIpHelper::LinkKindOf(std::uint32_t index) {
    if (index == kUplinkIndex) return TLinkKind::Other;
    const auto known = kinds_.find(index);
    return known != kinds_.end() ? known->second : inner_->LinkKindOf(index);
}

}  // namespace vx
