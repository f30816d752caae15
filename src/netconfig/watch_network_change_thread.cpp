#include "netconfig/watch_network_change_thread.h"

#include <net/if.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QMetaObject>
#include <array>
#include <cerrno>
#include <future>

#include "netconfig/network_change_notifier.h"

namespace vx {
namespace {

int openChangeSocket() {
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (fd < 0) return -1;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = RTMGRP_IPV4_IFADDR | RTMGRP_LINK;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads every message waiting in the socket; true when there was any (an
// overrun, where the kernel dropped messages, counts as a change too).
bool drain(int fd) {
    static thread_local std::array<char, 16384> buffer;
    bool any = false;
    for (;;) {
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n > 0) {
            any = true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == ENOBUFS) {
            any = true;
            continue;
        }
        return any;
    }
}

bool haveInterfaces() {
    struct if_nameindex* list = ::if_nameindex();
    if (!list) return false;
    const bool any = list[0].if_index != 0;
    ::if_freenameindex(list);
    return any;
}

}  // namespace

TWatchNetworkChangeThread::TWatchNetworkChangeThread(TNetworkChangeNotifier* target) {
    FShared->target = target;
    FWakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::promise<void> started;
    std::future<void> running = started.get_future();
    FThread = std::thread([this, &started] {
        FThreadId = static_cast<std::uint32_t>(::gettid());
        started.set_value();
        run();
    });
    running.wait();  // so that ThreadId is known once the constructor returns
}

TWatchNetworkChangeThread::~TWatchNetworkChangeThread() {
    {
        std::lock_guard lock(FShared->mutex);
        FShared->target = nullptr;
        FShared->stop = true;
    }
    FShared->handled.notify_all();
    if (FWakeFd >= 0) {
        const std::uint64_t one = 1;
        (void)!::write(FWakeFd, &one, sizeof one);
    }
    if (FThread.joinable()) FThread.join();
    if (FWakeFd >= 0) ::close(FWakeFd);
}

bool TWatchNetworkChangeThread::stopping() {
    std::lock_guard lock(FShared->mutex);
    return FShared->stop;
}

void TWatchNetworkChangeThread::sleepMs(int ms) {
    pollfd wake{FWakeFd, POLLIN, 0};
    ::poll(&wake, 1, ms);
}

// Waits for a change message, then lets the rest of its burst arrive.
// False when asked to stop. The stop request wakes the wait through the
// event descriptor, so an idle program is not woken at all; only without
// one (it could not be made) is the wait cut into kWaitSliceMs slices.
bool TWatchNetworkChangeThread::waitForChange(int socket) {
    for (;;) {
        if (stopping()) return false;
        pollfd fds[2] = {{socket, POLLIN, 0}, {FWakeFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, FWakeFd >= 0 ? -1 : kWaitSliceMs);
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0 || !(fds[0].revents & POLLIN)) continue;
        if (!drain(socket)) continue;
        for (int quiet = 0; quiet < 10 && !stopping(); ++quiet) {
            pollfd more{socket, POLLIN, 0};
            if (::poll(&more, 1, kQuietMs) <= 0) break;
            drain(socket);
        }
        return !stopping();
    }
}

// Posts the notification to the GUI thread and waits until it has run (or
// the notifier went away). False when asked to stop.
bool TWatchNetworkChangeThread::handOver() {
    std::unique_lock lock(FShared->mutex);
    if (FShared->stop || !FShared->target) return false;
    const std::uint64_t ticket = ++FShared->posted;
    const std::shared_ptr<Shared> shared = FShared;
    const std::uint32_t res = FRes;
    // The notifier is the context: if it is destroyed first, Qt drops the call.
    QMetaObject::invokeMethod(
        FShared->target,
        [shared, ticket, res] {
            TNetworkChangeNotifier* target;
            {
                std::lock_guard inner(shared->mutex);
                target = shared->target;
            }
            if (target) target->relay(res);
            {
                std::lock_guard inner(shared->mutex);
                shared->done = ticket;
            }
            shared->handled.notify_all();
        },
        Qt::QueuedConnection);
    FShared->handled.wait(lock, [&] { return FShared->stop || FShared->done >= ticket; });
    return !FShared->stop;
}

void TWatchNetworkChangeThread::run() {
    const int socket = openChangeSocket();
    while (socket >= 0 && !stopping()) {
        if (!haveInterfaces()) {
            sleepMs(kNoInterfacePauseMs);
            continue;
        }
        if (!waitForChange(socket)) break;
        if (!handOver()) break;
    }
    if (socket >= 0) ::close(socket);
    FThreadId = 0;
}

}  // namespace vx
