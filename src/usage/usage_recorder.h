#pragma once

// Keeps the usage history while the program runs: every interval it reads
// all interfaces' counters, books the differences on today's local date,
// writes them in one transaction, and announces allowances crossed (80 %
// and 100 %, once each per billing period). Also at Flush (the program's
// end).
//
// One writer per history: the recorder holds a lock file beside it for as
// long as it records, and another program (a second Vantrix that got past
// the single-instance check) does not record while it is held. A history
// that cannot be opened or written is reported once, with the file and
// the reason, and tried again at every interval; what was counted
// meanwhile stays pending and is written once the fault clears.

#include <QObject>
#include <QTimer>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>

#include "usage/counter_source.h"
#include "usage/usage_accountant.h"
#include "usage/usage_store.h"

namespace vx {

class TUsageRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60000;

    // source: the kernel's when null; now: the wall clock when empty.
    explicit TUsageRecorder(std::string databasePath, std::unique_ptr<TUsageCounterSource> source = nullptr,
                            std::function<std::time_t()> now = {}, QObject* parent = nullptr);
    ~TUsageRecorder() override;

    // Opens the history and takes the first reading (catching up on traffic
    // while the program was closed), then records every interval.
    void Start(int intervalMs = kIntervalMs);
    // Reads, books and writes now.
    void Record();
    // The last reading written (at the program's end); nothing when the
    // recorder was never started.
    void Flush() {
        if (FTimer.isActive()) Record();
    }
    TUsageStore& Store() { return FStore; }
    TUsageCounterSource& CounterSource() { return *FSource; }
    std::time_t NowTime() const { return FNow(); }
    int Today() const;

signals:
    // Written; whoever shows the history reads it again.
    void Recorded();
    void AllowanceReached(const QString& interfaceName, int percent, quint64 used, quint64 allowance);
    // Once, when the history cannot be kept or had to be started anew.
    void Problem(const QString& message);

private:
    bool ensureOpen();
    bool takeLock();
    void checkAllowances();
    // Says `message` unless a problem was already said since the last
    // successful write.
    void problem(const QString& message);

    std::string FPath;
    std::unique_ptr<TUsageCounterSource> FSource;
    std::function<std::time_t()> FNow;
    TUsageStore FStore;
    std::optional<TUsageAccountant> FAccountant;
    std::vector<TUsageReading> FReadings;
    QTimer FTimer;
    int FLock = -1;          // the writer's lock file, held while recording
    bool FReported = false;  // a problem was said since the last good write
    bool FAdoptStored = false;  // counting began before the history could be opened
};

// The history's file beside the settings file: "vantrix.ini" gives
// "vantrix.usage.sqlite".
std::string UsageDatabasePathFor(const std::string& settingsFile);

}  // namespace vx
