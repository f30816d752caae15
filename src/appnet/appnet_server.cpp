#include "appnet/appnet_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "appnet/appnet_protocol.h"

namespace vx {
namespace {

using Clock = std::chrono::steady_clock;

struct TClient {
    int Fd = -1;
    uid_t Uid = 0;
    std::string Pending;
    Clock::time_point WindowStart{};
    int RequestsInWindow = 0;
    Clock::time_point LastHeard{};
};

// A client that says nothing for this long gives its place up.
constexpr auto kSilentClient = std::chrono::seconds(10);

// The whole answer now, or the client is dropped: answers are a few
// kilobytes and a client that does not read them holds nothing here.
bool sendAll(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

void TAppNetServer::refresh() {
    for (const std::uint64_t gone : FBook.Take(FCounter.Read())) FCounter.Forget(gone);
}

void TAppNetServer::Run(std::chrono::milliseconds idle, const volatile bool* stop) {
    std::vector<TClient> clients;
    Clock::time_point lastActivity = Clock::now(), lastRefresh{};
    // New cgroups are named while their directories exist: the book is
    // brought up to date often while clients ask, now and then otherwise.
    constexpr std::chrono::milliseconds kRefreshBusy{100}, kRefreshQuiet{5000};
    while (!(stop && *stop)) {
        const auto now = Clock::now();
        if (clients.empty() && now - lastActivity >= idle) return;
        for (std::size_t i = clients.size(); i-- > 0;)
            if (now - clients[i].LastHeard >= kSilentClient) {
                ::close(clients[i].Fd);
                clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
            }
        if (now - lastRefresh >= (clients.empty() ? kRefreshQuiet : kRefreshBusy)) {
            refresh();
            lastRefresh = now;
        }
        std::vector<pollfd> fds{{FListener, POLLIN, 0}};
        for (const TClient& c : clients) fds.push_back({c.Fd, POLLIN, 0});
        const int ready = ::poll(fds.data(), fds.size(), 1000);
        if (ready < 0 && errno != EINTR) return;
        if (ready <= 0) continue;
        // Clients first (their indices match fds[1..]), then new ones.
        for (std::size_t i = clients.size(); i-- > 0;) {
            if (!(fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            TClient& c = clients[i];
            char buffer[256];
            const ssize_t n = ::recv(c.Fd, buffer, sizeof buffer, MSG_DONTWAIT);
            bool keep = n > 0;
            c.LastHeard = Clock::now();
            if (keep) c.Pending.append(buffer, static_cast<std::size_t>(n));
            while (keep) {
                const std::size_t end = c.Pending.find('\n');
                if (end == std::string::npos) {
                    keep = c.Pending.size() <= kMaxRequest;
                    break;
                }
                const std::string request = c.Pending.substr(0, end + 1);
                c.Pending.erase(0, end + 1);
                const auto at = Clock::now();
                if (at - c.WindowStart >= std::chrono::seconds(1)) {
                    c.WindowStart = at;
                    c.RequestsInWindow = 0;
                }
                if (request.size() > kMaxRequest || request != kAppNetRequest ||
                    ++c.RequestsInWindow > kMaxRequestsPerSecond) {
                    keep = false;
                    break;
                }
                if (at - lastRefresh >= kRefreshBusy) {
                    refresh();
                    lastRefresh = at;
                }
                keep = sendAll(c.Fd, FormatAppNetAnswer(FInstance, FBook.Rows(c.Uid)));
            }
            if (!keep) {
                ::close(c.Fd);
                clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
            }
            lastActivity = Clock::now();
        }
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) continue;
            lastActivity = Clock::now();
            ucred who{};
            socklen_t length = sizeof who;
            if (static_cast<int>(clients.size()) >= kMaxClients ||
                ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &who, &length) != 0) {
                ::close(fd);
                continue;
            }
            clients.push_back({fd, who.uid, {}, Clock::now(), 0, Clock::now()});
        }
    }
    for (const TClient& c : clients) ::close(c.Fd);
}

}  // namespace vx
