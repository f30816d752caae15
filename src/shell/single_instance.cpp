#include "shell/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/runtime_folder.h"

namespace vx {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kReplyTimeoutMs = 5000;
constexpr int kWaitForLockMs = 10000;
constexpr int kPollMs = 50;
constexpr int kRetryAcceptMs = 1000;
constexpr std::string_view kActivate = "activate\n";
constexpr std::string_view kAnswer = "ok\n";
// A client says one short line; anything longer is not one of ours.
constexpr std::size_t kMaxMessage = 64;

bool addressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    return true;
}

// Writes all of `data`, waiting up to the timeout while the socket is full.
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, kConnectTimeoutMs) <= 0) return false;
        } else if (n < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

}  // namespace

struct TSingleInstance::TClient {
    int fd = -1;
    std::string received;
    std::unique_ptr<QSocketNotifier> notifier;
    ~TClient() {
        notifier.reset();
        if (fd >= 0) ::close(fd);
    }
};

QString TSingleInstance::SocketName(const std::string& settingsFile) {
    // The settings file's path, hashed, tells two portable copies apart.
    const TRuntimeFolder folder = ChooseRuntimeFolder();
    if (folder.path.empty()) return {};
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(settingsFile), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(QString::fromStdString(folder.path))
        .filePath(QStringLiteral("vantrix-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash)));
}

TSingleInstance::TSingleInstance(const std::string& settingsFile, QObject* parent)
    : QObject(parent), FPath(SocketName(settingsFile).toStdString()) {
    if (FPath.empty()) FFolderError = ChooseRuntimeFolder().error;
}

TSingleInstance::~TSingleInstance() {
    Release();
    if (FLock >= 0) ::close(FLock);
}

void TSingleInstance::Release() {
    FClients.clear();
    delete FNotifier;
    FNotifier = nullptr;
    if (FListener >= 0) {
        ::close(FListener);
        FListener = -1;
        ::unlink(FPath.c_str());
    }
}

TSingleInstance::TAnswer TSingleInstance::askRunningInstance() const {
    sockaddr_un address;
    if (!addressOf(FPath, address)) return TAnswer::Nobody;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return TAnswer::Nobody;
    const auto closeWith = [fd](TAnswer answer) {
        ::close(fd);
        return answer;
    };
    // A listener whose queue is full refuses with EAGAIN for the moment: it
    // is alive, so it is asked again, and one that stays that busy is left
    // to come round.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    int rc;
    while ((rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address)) < 0 &&
           (errno == EAGAIN || errno == EINTR) && std::chrono::steady_clock::now() < deadline)
        ::usleep(10000);
    if (rc < 0) return closeWith(errno == EAGAIN ? TAnswer::Busy : TAnswer::Nobody);

    // Only the user's own listener on the user's own socket file is a
    // Vantrix; anything else is told nothing.
    ucred peer{};
    socklen_t size = sizeof peer;
    struct stat st {};
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid() ||
        ::lstat(FPath.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid())
        return closeWith(TAnswer::Foreign);

    if (!writeAll(fd, kActivate)) return closeWith(TAnswer::Nobody);
    // The instance answers once its event loop has taken the request. One
    // that closes without answering is ending; one that takes long is
    // still starting, and will take the request when it gets to it.
    std::string reply;
    const auto replyDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(replyDeadline -
                                                                                 std::chrono::steady_clock::now());
        if (left.count() <= 0) return closeWith(TAnswer::Busy);
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return closeWith(ready == 0 ? TAnswer::Busy : TAnswer::Nobody);
        char buffer[16];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return closeWith(TAnswer::Nobody);
        reply.append(buffer, static_cast<std::size_t>(n));
        if (reply.find('\n') != std::string::npos || reply.size() > kMaxMessage)
            return closeWith(reply == kAnswer ? TAnswer::Activated : TAnswer::Foreign);
    }
}

bool TSingleInstance::takeLock() {
    if (FLock < 0) {
        const std::string lockPath = FPath + ".lock";
        FLock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (FLock < 0) return false;
    }
    int rc;
    while ((rc = ::flock(FLock, LOCK_EX | LOCK_NB)) < 0 && errno == EINTR) {
    }
    return rc == 0;
}

bool TSingleInstance::listenOn() {
    sockaddr_un address;
    if (!addressOf(FPath, address)) return false;
    FListener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (FListener < 0) return false;
    // Only this user may connect: the socket file is made without any
    // permission for others.
    const mode_t previous = ::umask(0077);
    const int rc = ::bind(FListener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::umask(previous);
    if (rc < 0 || ::listen(FListener, 8) < 0) {
        ::close(FListener);
        FListener = -1;
        return false;
    }
    FNotifier = new QSocketNotifier(FListener, QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { acceptClients(); });
    return true;
}

void TSingleInstance::acceptClients() {
    for (;;) {
        const int fd = ::accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0 && (errno == EINTR || errno == ECONNABORTED)) continue;
        if (fd < 0 && errno != EAGAIN) {
            // Out of file descriptors or memory: the waiting client stays
            // queued, and the socket would wake the loop at once again.
            FNotifier->setEnabled(false);
            QTimer::singleShot(kRetryAcceptMs, FNotifier, [this] { FNotifier->setEnabled(true); });
        }
        if (fd < 0) return;
        // Only the user's own processes are heard (root can pass the
        // socket file's permissions).
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid()) {
            ::close(fd);
            continue;
        }
        auto client = std::make_unique<TClient>();
        client->fd = fd;
        client->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        TClient* raw = client.get();
        connect(client->notifier.get(), &QSocketNotifier::activated, this, [this, raw] { readClient(raw); });
        FClients.push_back(std::move(client));
    }
}

void TSingleInstance::readClient(TClient* client) {
    char buffer[kMaxMessage];
    bool done = false;
    for (;;) {
        const ssize_t n = ::recv(client->fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            client->received.append(buffer, static_cast<std::size_t>(n));
            // One line is all a client says; more than a short one is not ours.
            done = client->received.find('\n') != std::string::npos || client->received.size() > kMaxMessage;
            if (done) break;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            done = n == 0 || errno != EAGAIN;  // the client has gone, or the connection broke
            break;
        }
    }
    if (!done) return;
    const bool activate = client->received == kActivate;
    // The answer tells the caller that this instance is alive and took it.
    if (activate) ::send(client->fd, kAnswer.data(), kAnswer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    // The client is dropped once its notifier has finished signalling.
    client->notifier->setEnabled(false);
    QMetaObject::invokeMethod(
        this, [this, client] { std::erase_if(FClients, [client](const auto& c) { return c.get() == client; }); },
        Qt::QueuedConnection);
    if (activate && OnActivate) OnActivate();
}

bool TSingleInstance::Claim() {
    const auto runAlone = [](const std::string& why) {
        std::fprintf(stderr, "Vantrix: %s; running without the single-instance check\n", why.c_str());
        return true;
    };
    if (FPath.empty()) return runAlone(FFolderError);
    sockaddr_un address;
    if (!addressOf(FPath, address)) return runAlone(FPath + ": the name is too long for a local socket");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitForLockMs);
    for (;;) {
        if (takeLock()) {
            // Whatever is at the socket's name is left from an instance
            // that has ended: the lock would still be held otherwise.
            ::unlink(FPath.c_str());
            if (listenOn()) return true;
            return runAlone(FPath + ": " + std::strerror(errno));
        }
        if (FLock < 0) return runAlone(FPath + ".lock: " + std::strerror(errno));
        switch (askRunningInstance()) {
        case TAnswer::Activated:
        case TAnswer::Busy:
            return false;
        case TAnswer::Foreign:
            return runAlone(FPath + " is not the user's own Vantrix");
        case TAnswer::Nobody:
            break;  // starting and not yet listening, or ending: ask again, or take the lock once it is free
        }
        if (std::chrono::steady_clock::now() > deadline)
            return runAlone("another Vantrix holds " + FPath + ".lock but does not answer");
        ::usleep(kPollMs * 1000);
    }
}

}  // namespace vx
