#include "remote/remote_link_source.h"

#include <net/if.h>
#include <net/if_arp.h>

#include <algorithm>
#include <chrono>

namespace vx {
namespace {
// Operational states as the kernel numbers them (IF_OPER_*).
constexpr std::uint8_t kOperUnknown = 0, kOperDown = 2, kOperUp = 6;
constexpr std::uint32_t kLowerUp = 0x10000;  // IFF_LOWER_UP (linux/if.h clashes with net/if.h)

// When the reading was taken, as the watchers' clock counts (milliseconds of
// the monotonic clock, kept to 32 bits).
std::uint32_t tickOf(std::chrono::steady_clock::time_point at) {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
}
}  // namespace

TRemoteLinkSource::TRemoteLinkSource(std::shared_ptr<const TRemotePoller> poller, std::size_t host)
    : FPoller(std::move(poller)), FHost(host) {}

std::error_code TRemoteLinkSource::stateError(const TRemoteState& state) {
    if (state.Reached) return {};
    return std::make_error_code(state.Scrapes + state.Failures == 0 ? std::errc::resource_unavailable_try_again
                                                                     : std::errc::host_unreachable);
}

std::uint32_t TRemoteLinkSource::indexOf(const std::string& device) {
    const std::lock_guard<std::mutex> lock(FLock);
    const auto found = FIndices.find(device);
    if (found != FIndices.end()) return found->second;
    FNames.push_back(device);
    const auto index = static_cast<std::uint32_t>(FNames.size());
    FIndices.emplace(device, index);
    return index;
}

std::error_code TRemoteLinkSource::Links(std::vector<TLink>& out) {
    out.clear();
    std::vector<TRemoteInterface> interfaces;
    const std::error_code error = FPoller->WithState(FHost, [&](const TRemoteState& state) {
        if (state.Reached) interfaces = state.Reading.Interfaces;
        return stateError(state);
    });
    if (error) return error;
    for (const TRemoteInterface& i : interfaces) {
        TLink link;
        link.Index = indexOf(i.Device);
        link.Name = i.Device;
        link.Driver = i.Device == "lo" ? "Loopback" : i.Device;
        link.ArpType = i.Device == "lo" ? ARPHRD_LOOPBACK : ARPHRD_ETHER;
        link.OperState = !i.Up ? kOperUnknown : *i.Up ? kOperUp : kOperDown;
        // Without a published state, a device with counters counts as working.
        link.Flags = i.Up.value_or(true) ? IFF_UP | IFF_RUNNING | kLowerUp : 0u;
        if (i.Device == "lo") link.Flags |= IFF_LOOPBACK;
        link.Speed = i.SpeedBitsPerSecond.value_or(0);
        out.push_back(std::move(link));
    }
    return {};
}

std::error_code TRemoteLinkSource::Counters(std::vector<TLinkCounters>& out) {
    out.clear();
    std::vector<std::pair<std::string, TLinkCounters>> read;
    const std::error_code error = FPoller->WithState(FHost, [&](const TRemoteState& state) {
        if (state.Reached)
            for (const TRemoteInterface& i : state.Reading.Interfaces)
                read.push_back({i.Device, {0, i.Received, i.Sent, tickOf(state.ReadAt)}});
        return stateError(state);
    });
    if (error) return error;
    for (auto& [device, counters] : read) {
        counters.Index = indexOf(device);
        out.push_back(counters);
    }
    return {};
}

std::error_code TRemoteLinkSource::CountersOf(std::uint32_t index, TLinkCounters& out) {
    out = TLinkCounters{index, 0, 0};
    std::string_view device;
    {
        const std::lock_guard<std::mutex> lock(FLock);
        if (index == 0 || index > FNames.size()) {
            out.ReadTick = 0;
            return std::make_error_code(std::errc::no_such_device);
        }
        device = FNames[index - 1];  // names neither go nor move: the view stays valid
    }
    return FPoller->WithState(FHost, [&](const TRemoteState& state) {
        out.ReadTick = tickOf(state.ReadAt);  // dated also when failed: the reader knows it polls
        if (const std::error_code error = stateError(state)) return error;
        const auto& interfaces = state.Reading.Interfaces;
        const auto found = std::find_if(interfaces.begin(), interfaces.end(),
                                        [&](const TRemoteInterface& i) { return i.Device == device; });
        if (found == interfaces.end()) return std::make_error_code(std::errc::no_such_device);
        out.Received = found->Received;
        out.Sent = found->Sent;
        return std::error_code{};
    });
}

std::error_code TRemoteLinkSource::Addresses(std::vector<TIpv4Address>& out) {
    out.clear();
    return {};
}

std::error_code TRemoteLinkSource::Gateways(std::vector<TGateway>& out) {
    out.clear();
    return {};
}

std::error_code TRemoteLinkSource::Neighbours(std::vector<TNeighbour>& out) {
    out.clear();
    return {};
}

std::optional<std::uint32_t> TRemoteLinkSource::RouteTo(std::uint32_t) { return std::nullopt; }

THostFacts TRemoteLinkSource::Host() {
    THostFacts facts;
    facts.HostName = FPoller->Host(FHost).Name;
    return facts;
}

}  // namespace vx
