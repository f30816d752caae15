#pragma once

// Polls remote hosts' exporters, each host on a thread of its own so that
// a slow or silent host delays no other: at once, then once per period,
// half a period before each beat the watchers tick on (a scrape that
// overran waits for the next such moment, never a burst). The latest state of each host is read from any thread; the
// owner may be told after each scrape (on the host's thread). Destroying
// the poller aborts transfers under way.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "remote/exporter_scrape.h"

namespace vx {

struct TRemoteState {
    bool Reached = false;  // the last scrape succeeded
    std::string Error;     // why the last scrape failed, while not reached
    TExporterReading Reading;           // of the last good scrape
    std::chrono::steady_clock::time_point ReadAt{};  // when it ended
    std::uint64_t Scrapes = 0, Failures = 0;
};

class TRemotePoller {
public:
    using TNotify = std::function<void(std::size_t host)>;

    TRemotePoller(std::vector<TRemoteHost> hosts, std::chrono::milliseconds period, TScrapeLimits limits = {},
                  TNotify notify = {});
    ~TRemotePoller();
    TRemotePoller(const TRemotePoller&) = delete;
    TRemotePoller& operator=(const TRemotePoller&) = delete;

    std::size_t HostCount() const { return FHosts.size(); }
    const TRemoteHost& Host(std::size_t host) const { return FHosts[host]->Scraper.Host(); }
    TRemoteState State(std::size_t host) const;
    // Calls `read` with the host's state under its lock (no copy): `read`
    // is quick and calls nothing of the poller.
    template <class F>
    auto WithState(std::size_t host, F&& read) const {
        const std::lock_guard<std::mutex> lock(FHosts[host]->Lock);
        return read(static_cast<const TRemoteState&>(FHosts[host]->State));
    }
    // From each host's next wait on.
    void SetPeriod(std::chrono::milliseconds period);
    // A host whose figures nobody looks at (no watcher, the list hidden) is
    // asked only every kIdlePeriod, for the usage history and its state;
    // made active again, it is asked at the next moment of the period.
    static constexpr std::chrono::milliseconds kIdlePeriod{60000};
    void SetActive(std::size_t host, bool active);
    bool Active(std::size_t host) const { return FHosts[host]->Active; }

private:
    struct THostWorker {
        explicit THostWorker(TRemoteHost host, const TScrapeLimits& limits) : Scraper(std::move(host), limits) {}
        TExporterScraper Scraper;
        mutable std::mutex Lock;
        TRemoteState State;
        std::atomic<bool> Active{true};
        std::thread Thread;
    };
    void run(std::size_t host);

    std::vector<std::unique_ptr<THostWorker>> FHosts;
    TNotify FNotify;
    std::atomic<bool> FStopping{false};
    std::mutex FWaitLock;
    std::condition_variable FWake;
    std::atomic<std::int64_t> FPeriodMs;
};

}  // namespace vx
