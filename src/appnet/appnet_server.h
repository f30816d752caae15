#pragma once

// The counter service's loop: answers clients on a listening Unix socket
// with the totals they may see (SO_PEERCRED says who asks; nothing the
// client says about itself counts), and keeps the book current. Bounds:
// at most kMaxClients at once (more are closed at once), a request of at
// most kMaxRequest bytes, at most kMaxRequestsPerSecond a client (more end
// the connection), an answer written at once or never (a client that does
// not read is dropped, and so is one silent for 10 s). Ends after `idle`
// without a client. An answer is at most 100 ms old: the book is read
// again for a request unless it was read that recently.

#include <chrono>
#include <string>

#include "appnet/cgroup_counter.h"
#include "appnet/traffic_book.h"

namespace vx {

class TAppNetServer {
public:
    static constexpr int kMaxClients = 32;
    static constexpr std::size_t kMaxRequest = 64;
    static constexpr int kMaxRequestsPerSecond = 10;

    TAppNetServer(int listener, TCgroupTrafficCounter& counter, TTrafficBook& book, std::string instance)
        : FListener(listener), FCounter(counter), FBook(book), FInstance(std::move(instance)) {}

    // Returns when idle for `idle`, or when `stop` becomes true (signals).
    void Run(std::chrono::milliseconds idle, const volatile bool* stop = nullptr);

private:
    void refresh();
    int FListener;
    TCgroupTrafficCounter& FCounter;
    TTrafficBook& FBook;
    std::string FInstance;
};

}  // namespace vx
