#include "shell/quit_on_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace vx {
namespace {

int gWriteEnd = -1;  // written from the signal handler
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    (void)!::write(gWriteEnd, &byte, 1);
    errno = saved;
}

}  // namespace

TQuitOnSignals::TQuitOnSignals(QObject* parent) : QObject(parent) {
    int fds[2];
    if (gWriteEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) return;
    gWriteEnd = fds[0];
    const int readEnd = fds[1];
    FNotifier = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
    connect(FNotifier.get(), &QSocketNotifier::activated, this, [this, readEnd] {
        char buffer[16];
        while (::read(readEnd, buffer, sizeof buffer) > 0) ++FReceived;
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) ::sigaction(s, &action, nullptr);
}

TQuitOnSignals::~TQuitOnSignals() {
    if (!FNotifier) return;
    for (const int s : kSignals) ::signal(s, SIG_DFL);
    const int readEnd = static_cast<int>(FNotifier->socket());
    FNotifier.reset();
    ::close(readEnd);
    ::close(gWriteEnd);
    gWriteEnd = -1;
}

}  // namespace vx
