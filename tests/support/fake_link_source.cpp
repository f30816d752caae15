#include "support/fake_link_source.h"

#include <linux/if.h>
#include <linux/if_arp.h>

namespace vx::test {

TLink& TFakeLinkSource::AddLink(std::uint32_t index, const std::string& name, TLinkKind kind) {
    TLink link;
    link.Index = index;
    link.Name = name;
    link.Driver = name;
    link.Kind = kind;
    link.ArpType = ARPHRD_ETHER;
    link.Flags = IFF_UP | IFF_RUNNING | IFF_LOWER_UP;
    link.OperState = IF_OPER_UP;
    link.Mtu = 1500;
    links.push_back(link);
    counters[index] = {index, 0, 0};
    return links.back();
}

TLink* TFakeLinkSource::Find(std::uint32_t index) {
    for (TLink& link : links)
        if (link.Index == index) return &link;
    return nullptr;
}

void TFakeLinkSource::SetCounters(std::uint32_t index, std::uint64_t received, std::uint64_t sent) {
    counters[index] = {index, received, sent};
}

void TFakeLinkSource::AddTraffic(std::uint32_t index, std::uint64_t received, std::uint64_t sent) {
    TLinkCounters& c = counters[index];
    c.Index = index;
    c.Received += received;
    c.Sent += sent;
}

int TFakeLinkSource::totalCalls() const {
    int total = 0;
    for (const auto& [name, count] : calls) total += count;
    return total;
}

int TFakeLinkSource::countOf(const std::string& reading) const {
    const auto it = calls.find(reading);
    return it == calls.end() ? 0 : it->second;
}

std::error_code TFakeLinkSource::failure(const std::string& reading) {
    ++calls[reading];
    const auto it = failWith.find(reading);
    return it == failWith.end() ? std::error_code() : it->second;
}

template <typename Row>
std::error_code TFakeLinkSource::table(const std::string& reading, const std::vector<Row>& rows, std::vector<Row>& out) {
    out.clear();
    if (const std::error_code e = failure(reading)) return e;
    out = rows;
    return {};
}

std::error_code TFakeLinkSource::Links(std::vector<TLink>& out) {
    return table("Links", links, out);
}

std::error_code TFakeLinkSource::Counters(std::vector<TLinkCounters>& out) {
    out.clear();
    if (const std::error_code e = failure("Counters")) return e;
    for (const auto& [index, c] : counters) out.push_back(c);
    return {};
}

std::error_code TFakeLinkSource::CountersOf(std::uint32_t index, TLinkCounters& out) {
    out = TLinkCounters{};
    const auto it = counters.find(index);
    if (const std::error_code e = failure("CountersOf")) {
        if (it != counters.end()) out.ReadTick = it->second.ReadTick;  // a polling source dates its failures too
        return e;
    }
    if (it == counters.end()) return std::make_error_code(std::errc::no_such_device);
    out = it->second;
    return {};
}

std::error_code TFakeLinkSource::Addresses(std::vector<TIpv4Address>& out) {
    return table("Addresses", addresses, out);
}

std::error_code TFakeLinkSource::Gateways(std::vector<TGateway>& out) {
    return table("Gateways", gateways, out);
}

std::error_code TFakeLinkSource::Neighbours(std::vector<TNeighbour>& out) {
    return table("Neighbours", neighbours, out);
}

std::optional<std::uint32_t> TFakeLinkSource::RouteTo(std::uint32_t) {
    if (failure("RouteTo")) return std::nullopt;
    return route;
}

THostFacts TFakeLinkSource::Host() {
    failure("Host");
    return host;
}

}  // namespace vx::test
