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
    physical_.clear();
    for (const TIpAdapterInfo& info : out)
        if (info.Index != kUplinkIndex && IsPhysical(inner_->LinkKindOf(info.Index))) physical_.push_back(info.Index);
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

void TUplinkIpHelper::read(std::uint64_t& received, std::uint64_t& sent, bool& up) {
    std::vector<TUplinkReading> readings;
    readings.reserve(physical_.size());
    up = false;
    for (const std::uint32_t index : physical_) {
        if (inner_->HasGetIfEntry2()) {
            TMibIfRow2 row;
            row.InterfaceIndex = index;
            if (inner_->GetIfEntry2(row) != kNoError) continue;
            readings.push_back({index, row.InOctets, row.OutOctets});
            up = up || row.OperStatus == 1;
        } else {
            TMibIfRow row;
            row.dwIndex = index;
            if (inner_->GetIfEntry(row) != kNoError) continue;
            readings.push_back({index, row.dwInOctets, row.dwOutOctets});
            up = up || row.dwOperStatus == 5;
        }
    }
    total_.Update(readings);
    received = total_.Received();
    sent = total_.Sent();
}

std::uint32_t TUplinkIpHelper::GetIfEntry(TMibIfRow& row) {
    if (row.dwIndex != kUplinkIndex) return inner_->GetIfEntry(row);
    if (physical_.empty()) return kErrorNotFound;
    std::uint64_t received = 0, sent = 0;
    bool up = false;
    read(received, sent, up);
    const std::uint32_t index = row.dwIndex;
    row = TMibIfRow{};
    row.dwIndex = index;
    row.wszName.assign(kUplinkName, std::strlen(kUplinkName));
    row.dwType = kEthernetType;
    row.dwAdminStatus = 1;
    row.dwOperStatus = up ? 5 : 2;
    row.dwInOctets = static_cast<std::uint32_t>(received);
    row.dwOutOctets = static_cast<std::uint32_t>(sent);
    return kNoError;
}

std::uint32_t TUplinkIpHelper::GetIfEntry2(TMibIfRow2& row) {
    if (row.InterfaceIndex != kUplinkIndex) return inner_->GetIfEntry2(row);
    if (physical_.empty()) return kErrorNotFound;
    std::uint64_t received = 0, sent = 0;
    bool up = false;
    read(received, sent, up);
    const std::uint32_t index = row.InterfaceIndex;
    row = TMibIfRow2{};
    row.InterfaceIndex = index;
    row.Description.assign(kUplinkName, std::strlen(kUplinkName));
    row.Type = kEthernetType;
    row.AdminStatus = 1;
    row.OperStatus = up ? 1 : 2;
    row.InOctets = received;
    row.OutOctets = sent;
    return kNoError;
}

std::uint32_t TUplinkIpHelper::ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) {
    if (index == kUplinkIndex) return kErrorNotFound;
    return inner_->ConvertInterfaceIndexToAlias(index, alias);
}

TLinkKind TUplinkIpHelper::LinkKindOf(std::uint32_t index) {
    return index == kUplinkIndex ? TLinkKind::Other : inner_->LinkKindOf(index);
}

}  // namespace vx
