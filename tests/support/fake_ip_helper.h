#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "netconfig/ip_helper.h"

namespace vx::test {

// A scripted network layer. Tests fill in what the "platform" knows and how
// it answers; every call is logged with the buffer size it was given.
class TFakeIpHelper : public IIpHelper {
public:
    bool present = true;
    bool hasIfEntry2 = true;
    bool hasAdaptersAddresses = true;
    bool hasLuid = true;

    std::vector<TIpAdapterInfo> adapters;
    std::vector<TIpInterfaceEntry> interfaces;
    std::map<std::uint32_t, TMibIfRow> rows;
    std::map<std::uint32_t, TMibIfRow2> rows2;
    std::vector<TIpAdapterAddresses> adapterAddresses;
    TFixedInfo params;
    std::vector<TMibIpAddrRow> addrTable;
    std::vector<TMibIpNetRow> netTable;
    std::map<std::uint32_t, std::string> aliases;
    std::optional<std::uint32_t> bestInterface;
    std::map<std::uint32_t, TLinkKind> kinds;  // by index; Other where not named

    // Forced answers by operation name ("GetIfEntry2", ...).
    std::map<std::string, std::uint32_t> failWith;
    // Extra bytes a table query asks for beyond what it needs, used up one
    // per "too small" answer: {100, 50} answers too small twice more.
    std::map<std::string, std::vector<std::uint32_t>> extraNeeded;

    struct Call {
        std::string op;
        std::uint32_t size;
    };
    std::vector<Call> calls;
    std::vector<std::uint32_t> sizesOf(const std::string& op) const;
    int countOf(const std::string& op) const;

    bool Present() override { return present; }
    bool HasGetIfEntry2() override { return hasIfEntry2; }
    bool HasGetAdaptersAddresses() override { return hasAdaptersAddresses; }
    bool HasConvertInterfaceIndexToLuid() override { return hasLuid; }
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
    TLinkKind LinkKindOf(std::uint32_t index) override {
        const auto it = kinds.find(index);
        return it == kinds.end() ? TLinkKind::Other : it->second;
    }

private:
    std::optional<std::uint32_t> forced(const std::string& op, std::uint32_t size);
    template <typename Row>
    std::uint32_t table(const std::string& op, const std::vector<Row>& source, std::vector<Row>& out,
                        std::uint32_t& size, std::uint32_t rowSize, std::uint32_t tooSmall, bool emptyIsNoData);
};

// A chain of "address=mask" entries linked in order.
TIpAddrChain Chain(std::initializer_list<std::pair<const char*, const char*>> entries);

}  // namespace vx::test
