#include "shell/single_instance.h"

#include <fcntl.h>
#include <poll.h>
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
#include <cstring>

namespace vx {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kRetryAcceptMs = 1000;
constexpr std::string_view kActivate = "activate\n";
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
    // A full path in the user's runtime folder (private to the user), else
    // the temporary folder; the settings file's path, hashed, tells two
    // portable copies apart.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(settingsFile), QCryptographicHash::Sha256).toHex().left(16);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("vantrix-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash)));
}

TSingleInstance::TSingleInstance(const std::string& settingsFile, QObject* parent)
    : QObject(parent), FPath(SocketName(settingsFile).toStdString()) {}

TSingleInstance::~TSingleInstance() {
    FClients.clear();
    delete FNotifier;
    if (FListener >= 0) {
        ::close(FListener);
        if (FOwnsPath) ::unlink(FPath.c_str());
    }
}

bool TSingleInstance::askRunningInstance() const {
    sockaddr_un address;
    if (!addressOf(FPath, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // A listener whose queue is full refuses with EAGAIN for the moment: it
    // is alive, so it is asked again; one that stays that busy is still
    // taken as running, never as a stale socket to take over.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    int rc;
    while ((rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address)) < 0 &&
           (errno == EAGAIN || errno == EINTR) && std::chrono::steady_clock::now() < deadline)
        ::usleep(10000);
    const bool running = rc == 0 || errno == EAGAIN;
    if (rc == 0) writeAll(fd, kActivate);
    ::close(fd);
    return running;
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
        const int error = errno;  // for the caller: EADDRINUSE means a socket file is in the way
        ::close(FListener);
        FListener = -1;
        errno = error;
        return false;
    }
    FOwnsPath = true;
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
    // The client is dropped once its notifier has finished signalling.
    client->notifier->setEnabled(false);
    QMetaObject::invokeMethod(
        this, [this, client] { std::erase_if(FClients, [client](const auto& c) { return c.get() == client; }); },
        Qt::QueuedConnection);
    if (activate && OnActivate) OnActivate();
}

bool TSingleInstance::Claim() {
    if (askRunningInstance()) return false;
    if (listenOn()) return true;
    if (errno == EADDRINUSE) {
        // Nobody answered: a socket left by a crashed instance. Take it over.
        ::unlink(FPath.c_str());
        if (listenOn()) return true;
        // Another start won the race in between: defer to it.
        if (askRunningInstance()) return false;
    }
    return true;  // no socket at all: run alone rather than not at all
}

}  // namespace vx
