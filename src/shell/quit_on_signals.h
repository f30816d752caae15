#pragma once

// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in a terminal) end
// the program through its event loop instead of killing it where it stands:
// a settings save in progress completes, and the window saves its layout
// as on a normal exit. The handler only writes a byte to a pipe; the event
// loop reads it and quits.

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace vx {

class TQuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit TQuitOnSignals(QObject* parent = nullptr);
    ~TQuitOnSignals() override;

    // How many signals asked the program to end.
    int Received() const { return FReceived; }

private:
    std::unique_ptr<QSocketNotifier> FNotifier;
    int FReceived = 0;
};

}  // namespace vx
