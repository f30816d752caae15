#pragma once

// One remote host's interfaces as links, read from a poller's latest
// scrape: the same readings the local interfaces answer, so that the list,
// the watchers and the usage history take them as they take the kernel's.
// A device keeps its index for the source's life (by name, in order of
// first appearance), also when it goes and comes back. A host not reached
// answers an error (host_unreachable; resource_unavailable_try_again before
// its first scrape ends), never zero counters; the poller's state says why.
// Addresses, gateways, neighbours and routes are the host's own business:
// none are given.

#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "netconfig/link_source.h"
#include "remote/remote_poller.h"

namespace vx {

class TRemoteLinkSource : public ILinkSource {
public:
    TRemoteLinkSource(std::shared_ptr<const TRemotePoller> poller, std::size_t host);

    std::error_code Links(std::vector<TLink>& out) override;
    std::error_code Counters(std::vector<TLinkCounters>& out) override;
    std::error_code CountersOf(std::uint32_t index, TLinkCounters& out) override;
    std::error_code Addresses(std::vector<TIpv4Address>& out) override;
    std::error_code Gateways(std::vector<TGateway>& out) override;
    std::error_code Neighbours(std::vector<TNeighbour>& out) override;
    std::optional<std::uint32_t> RouteTo(std::uint32_t destination) override;
    THostFacts Host() override;

private:
    static std::error_code stateError(const TRemoteState& state);
    std::uint32_t indexOf(const std::string& device);

    std::shared_ptr<const TRemotePoller> FPoller;
    std::size_t FHost;
    std::mutex FLock;  // the index table (readers may be on several threads)
    std::map<std::string, std::uint32_t, std::less<>> FIndices;
    std::deque<std::string> FNames;  // by index - 1; they never move
};

}  // namespace vx
