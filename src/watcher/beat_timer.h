#pragma once

// A timer that fires on a common beat: at the monotonic clock's multiples
// of its period. Timers of the same period (every watcher, the list) then
// wake the program once and repaint the window once for all of them,
// instead of each at its own moment.

#include <QTimer>
#include <chrono>

namespace vx {

class TBeatTimer : public QTimer {
public:
    explicit TBeatTimer(QObject* parent = nullptr) : QTimer(parent) {
        setTimerType(Qt::PreciseTimer);
        // Runs before any other receiver: from the first beat on, the timer
        // keeps the period.
        connect(this, &QTimer::timeout, this, [this] {
            if (interval() != FPeriod) setInterval(FPeriod);
        });
    }
    // Starts (or restarts) at `periodMs`; the first tick comes at the next beat.
    void StartOnBeat(int periodMs) {
        FPeriod = periodMs;
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
        start(static_cast<int>(periodMs - now % periodMs));
    }
    int Period() const { return FPeriod; }

private:
    int FPeriod = 1000;
};

}  // namespace vx
