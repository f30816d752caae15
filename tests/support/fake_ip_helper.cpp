#include "support/fake_ip_helper.h"

#include <algorithm>

namespace vx::test {

std::vector<std::uint32_t> TFakeIpHelper::sizesOf(const std::string& op) const {
    std::vector<std::uint32_t> out;
    for (const Call& c : calls)
        if (c.op == op) out.push_back(c.size);
    return out;
}

int TFakeIpHelper::countOf(const std::string& op) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.op == op; }));
}

std::optional<std::uint32_t> TFakeIpHelper::forced(const std::string& op, std::uint32_t size) {
    calls.push_back({op, size});
    const auto it = failWith.find(op);
    if (it == failWith.end()) return std::nullopt;
    return it->second;
}

template <typename Row>
std::uint32_t TFakeIpHelper::table(const std::string& op, const std::vector<Row>& source, std::vector<Row>& out,
                                   std::uint32_t& size, std::uint32_t rowSize, std::uint32_t tooSmall,
                                   bool emptyIsNoData) {
    if (const auto f = forced(op, size)) return *f;
    if (source.empty() && emptyIsNoData) return kErrorNoData;
    std::uint32_t needed = static_cast<std::uint32_t>(std::max<std::size_t>(source.size(), 1)) * rowSize;
    auto& extra = extraNeeded[op];
    if (!extra.empty()) needed += extra.front();
    if (size < needed) {
        if (!extra.empty()) extra.erase(extra.begin());
        size = needed;
        return tooSmall;
    }
    out = source;
    return kNoError;
}

std::uint32_t TFakeIpHelper::GetAdaptersInfo(std::vector<TIpAdapterInfo>& out, std::uint32_t& size) {
    return table("GetAdaptersInfo", adapters, out, size, kAdapterInfoSize, kErrorBufferOverflow, false);
}

std::uint32_t TFakeIpHelper::GetInterfaceInfo(std::vector<TIpInterfaceEntry>& out, std::uint32_t& size) {
    return table("GetInterfaceInfo", interfaces, out, size, kInterfaceEntrySize, kErrorInsufficientBuffer, false);
}

std::uint32_t TFakeIpHelper::GetIfEntry(TMibIfRow& row) {
    if (const auto f = forced("GetIfEntry", row.dwIndex)) return *f;
    const auto it = rows.find(row.dwIndex);
    if (it == rows.end()) return kErrorInvalidParameter;
    row = it->second;
    return kNoError;
}

std::uint32_t TFakeIpHelper::GetIfEntry2(TMibIfRow2& row) {
    if (const auto f = forced("GetIfEntry2", row.InterfaceIndex)) return *f;
    const auto it = rows2.find(row.InterfaceIndex);
    if (it == rows2.end()) return kErrorNotFound;
    row = it->second;
    return kNoError;
}

std::uint32_t TFakeIpHelper::GetAdaptersAddresses(std::vector<TIpAdapterAddresses>& out, std::uint32_t& size) {
    return table("GetAdaptersAddresses", adapterAddresses, out, size, kAdapterAddressesSize, kErrorBufferOverflow,
                 false);
}

std::uint32_t TFakeIpHelper::ConvertInterfaceIndexToAlias(std::uint32_t index, std::string& alias) {
    if (const auto f = forced("ConvertInterfaceIndexToAlias", index)) return *f;
    const auto it = aliases.find(index);
    if (it == aliases.end()) return kErrorNotFound;
    alias = it->second;
    return kNoError;
}

std::uint32_t TFakeIpHelper::GetNetworkParams(TFixedInfo& out, std::uint32_t& size) {
    if (const auto f = forced("GetNetworkParams", size)) return *f;
    std::uint32_t needed = kNetworkParamsSize;
    auto& extra = extraNeeded["GetNetworkParams"];
    if (!extra.empty()) needed += extra.front();
    if (size < needed) {
        if (!extra.empty()) extra.erase(extra.begin());
        size = needed;
        return kErrorBufferOverflow;
    }
    out = params;
    return kNoError;
}

std::uint32_t TFakeIpHelper::GetIpAddrTable(std::vector<TMibIpAddrRow>& out, std::uint32_t& size, bool) {
    return table("GetIpAddrTable", addrTable, out, size, kIpAddrRowSize, kErrorInsufficientBuffer, true);
}

std::uint32_t TFakeIpHelper::GetIpNetTable(std::vector<TMibIpNetRow>& out, std::uint32_t& size, bool) {
    return table("GetIpNetTable", netTable, out, size, kIpNetRowSize, kErrorInsufficientBuffer, true);
}

std::uint32_t TFakeIpHelper::GetBestInterface(std::uint32_t destination, std::uint32_t& index) {
    if (const auto f = forced("GetBestInterface", destination)) return *f;
    if (!bestInterface) return 1231;
    index = *bestInterface;
    return kNoError;
}

TIpAddrChain Chain(std::initializer_list<std::pair<const char*, const char*>> entries) {
    TIpAddrChain chain;
    int i = 0;
    for (const auto& [ip, mask] : entries) {
        chain.push_back({ip, mask, i + 1 < static_cast<int>(entries.size()) ? i + 1 : -1});
        ++i;
    }
    return chain;
}

}  // namespace vx::test
