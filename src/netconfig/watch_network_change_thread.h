#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace vx {

class TNetworkChangeNotifier;

// The notifier's worker. It keeps one netlink socket subscribed to IPv4
// address and link changes for its whole life, so messages that come while
// the GUI thread handles a notification wait in the socket.
class TWatchNetworkChangeThread {
public:
    explicit TWatchNetworkChangeThread(TNetworkChangeNotifier* target);
    // Detaches the target, wakes the worker and waits for it to end.
    ~TWatchNetworkChangeThread();
    TWatchNetworkChangeThread(const TWatchNetworkChangeThread&) = delete;
    TWatchNetworkChangeThread& operator=(const TWatchNetworkChangeThread&) = delete;

    std::uint32_t ThreadId() const { return FThreadId.load(); }

    static constexpr int kWaitSliceMs = 500;
    static constexpr int kNoInterfacePauseMs = 1000;
    // A burst ends when the kernel has been quiet this long.
    static constexpr int kQuietMs = 40;

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable handled;
        TNetworkChangeNotifier* target = nullptr;  // nullptr once the notifier goes
        bool stop = false;
        std::uint64_t posted = 0;
        std::uint64_t done = 0;
    };

    void run();
    bool waitForChange(int socket);
    bool handOver();
    bool stopping();
    void sleepMs(int ms);

    std::shared_ptr<Shared> FShared = std::make_shared<Shared>();
    const std::uint32_t FRes = 0;
    int FWakeFd = -1;
    std::atomic<std::uint32_t> FThreadId{0};
    std::thread FThread;
};

}  // namespace vx
