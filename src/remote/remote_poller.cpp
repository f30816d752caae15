#include "remote/remote_poller.h"

namespace vx {

TRemotePoller::TRemotePoller(std::vector<TRemoteHost> hosts, std::chrono::milliseconds period, TScrapeLimits limits,
                             TNotify notify)
    : FNotify(std::move(notify)), FPeriodMs(period.count()) {
    for (TRemoteHost& host : hosts) {
        FHosts.push_back(std::make_unique<THostWorker>(std::move(host), limits));
        FHosts.back()->Scraper.SetAbortFlag(&FStopping);
    }
    for (std::size_t i = 0; i < FHosts.size(); ++i) FHosts[i]->Thread = std::thread([this, i] { run(i); });
}

TRemotePoller::~TRemotePoller() {
    {
        const std::lock_guard<std::mutex> lock(FWaitLock);
        FStopping = true;
    }
    FWake.notify_all();
    for (auto& host : FHosts) host->Thread.join();
}

TRemoteState TRemotePoller::State(std::size_t host) const {
    const std::lock_guard<std::mutex> lock(FHosts[host]->Lock);
    return FHosts[host]->State;
}

void TRemotePoller::SetPeriod(std::chrono::milliseconds period) { FPeriodMs = period.count(); }

void TRemotePoller::SetActive(std::size_t host, bool active) {
    if (FHosts[host]->Active.exchange(active) == active || !active) return;
    {
        const std::lock_guard<std::mutex> lock(FWaitLock);  // no wake-up lost between a check and a wait
    }
    FWake.notify_all();
}

void TRemotePoller::run(std::size_t index) {
    THostWorker& worker = *FHosts[index];
    using Clock = std::chrono::steady_clock;
    while (!FStopping) {
        TScrapeResult result = worker.Scraper.Scrape();
        if (FStopping) break;
        {
            const std::lock_guard<std::mutex> lock(worker.Lock);
            TRemoteState& state = worker.State;
            state.Reached = result.Ok;
            if (result.Ok) {
                state.Error.clear();
                state.Reading = std::move(result.Reading);
                state.ReadAt = Clock::now();
                ++state.Scrapes;
            } else {
                state.Error = std::move(result.Error);
                ++state.Failures;
            }
        }
        if (FNotify) FNotify(index);
        // The next scrape half a period before the next beat of the
        // monotonic clock's multiples of the period, where the watchers
        // tick: each tick then finds one new reading, taken moments
        // before. A scrape that overran waits for the next such moment
        // (no burst).
        const auto period = std::chrono::milliseconds(FPeriodMs.load());
        const auto nextMoment = [period] {
            const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
            auto at = now - now % period + period / 2;
            if (at <= now) at += period;
            return Clock::time_point{at};
        };
        const bool wasActive = worker.Active;
        std::unique_lock<std::mutex> lock(FWaitLock);
        FWake.wait_until(lock, wasActive ? nextMoment() : Clock::now() + kIdlePeriod,
                         [&] { return FStopping.load() || (!wasActive && worker.Active); });
        if (!wasActive && worker.Active && !FStopping) {
            // Looked at again: at the next moment of the period, as the
            // watchers expect their readings.
            const auto at = nextMoment();
            while (!FStopping && Clock::now() < at) FWake.wait_until(lock, at);
        }
    }
}

}  // namespace vx
