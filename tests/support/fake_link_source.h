#pragma once

#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "netconfig/link_source.h"

namespace vx::test {

// A link source the test fills in: the links, each link's counters, the
// tables and the host, and which readings fail. Every reading is counted.
class TFakeLinkSource : public ILinkSource {
public:
    std::vector<TLink> links;
    std::map<std::uint32_t, TLinkCounters> counters;  // by index; a link without an entry reads no counters
    std::vector<TIpv4Address> addresses;
    std::vector<TGateway> gateways;
    std::vector<TNeighbour> neighbours;
    std::optional<std::uint32_t> route;
    THostFacts host;
    // Readings that fail, by name ("Links", "Counters", "CountersOf", ...).
    std::map<std::string, std::error_code> failWith;
    std::map<std::string, int> calls;

    // A link that is up with a carrier, and its counters at 0.
    TLink& AddLink(std::uint32_t index, const std::string& name, TLinkKind kind = TLinkKind::Other);
    TLink* Find(std::uint32_t index);
    void SetCounters(std::uint32_t index, std::uint64_t received, std::uint64_t sent);
    void AddTraffic(std::uint32_t index, std::uint64_t received, std::uint64_t sent);
    int countOf(const std::string& reading) const;
    int totalCalls() const;

    std::error_code Links(std::vector<TLink>& out) override;
    std::error_code Counters(std::vector<TLinkCounters>& out) override;
    std::error_code CountersOf(std::uint32_t index, TLinkCounters& out) override;
    std::error_code Addresses(std::vector<TIpv4Address>& out) override;
    std::error_code Gateways(std::vector<TGateway>& out) override;
    std::error_code Neighbours(std::vector<TNeighbour>& out) override;
    std::optional<std::uint32_t> RouteTo(std::uint32_t destination) override;
    THostFacts Host() override;

private:
    std::error_code failure(const std::string& reading);
    // A table as set, unless the reading is to fail.
    template <typename Row>
    std::error_code table(const std::string& reading, const std::vector<Row>& rows, std::vector<Row>& out);
};

}  // namespace vx::test
