#include "usage/usage_recorder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "usage/allowance.h"
#include "usage/usage_day.h"

namespace vx {

std::string UsageDatabasePathFor(const std::string& settingsFile) {
    std::filesystem::path p(settingsFile);
    p.replace_extension(".usage.sqlite");
    return p.string();
}

TUsageRecorder::TUsageRecorder(std::string databasePath, std::unique_ptr<TUsageCounterSource> source,
                               std::function<std::time_t()> now, QObject* parent)
    : QObject(parent),
      FPath(std::move(databasePath)),
      FSource(source ? std::move(source) : std::make_unique<TUsageCounterSource>()),
      FNow(now ? std::move(now) : [] { return std::time(nullptr); }) {
    connect(&FTimer, &QTimer::timeout, this, &TUsageRecorder::Record);
}

TUsageRecorder::~TUsageRecorder() {
    FStore.Close();
    if (FLock >= 0) ::close(FLock);
}

int TUsageRecorder::Today() const { return LocalDayOf(FNow()); }

void TUsageRecorder::Start(int intervalMs) {
    Record();
    FTimer.start(intervalMs);
}

void TUsageRecorder::problem(const QString& message) {
    if (FReported) return;
    FReported = true;
    emit Problem(message);
}

bool TUsageRecorder::takeLock() {
    if (FLock < 0) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(FPath).parent_path(), ec);
        FLock = ::open((FPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (FLock < 0) return false;
    }
    int rc;
    while ((rc = ::flock(FLock, LOCK_EX | LOCK_NB)) < 0 && errno == EINTR) {
    }
    return rc == 0;
}

bool TUsageRecorder::ensureOpen() {
    if (FStore.IsOpen() && !FStore.FoundDamage()) return true;
    if (!takeLock()) {
        if (FLock >= 0)
            problem(tr("Another Vantrix is recording the usage history %1; this one does not record while it runs.")
                        .arg(QString::fromStdString(FPath)));
        else
            problem(tr("The usage history %1 cannot be kept: %2: %3")
                        .arg(QString::fromStdString(FPath), QString::fromStdString(FPath + ".lock"),
                             QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    if (!FStore.Open(FPath)) {
        problem(tr("The usage history %1 cannot be opened: %2. Vantrix tries again every minute.")
                    .arg(QString::fromStdString(FPath), QString::fromStdString(FStore.Problem())));
        // This run's traffic is counted meanwhile (no other writer holds
        // the lock), and written once the history opens.
        if (!FAccountant) {
            FAccountant.emplace(FSource->BootId(), std::vector<TUsageBaseline>{});
            FAdoptStored = true;
        }
        return false;
    }
    if (!FStore.MovedAsideTo().empty()) emit Problem(QString::fromStdString(FStore.Problem()));
    // A fresh start of the history keeps what this run counted so far.
    if (!FAccountant) {
        FAccountant.emplace(FSource->BootId(), FStore.Baselines(FSource->BootId()));
    } else if (FAdoptStored) {
        FAccountant->AdoptStored(FStore.Baselines(FSource->BootId()));
    }
    FAdoptStored = false;
    return true;
}

void TUsageRecorder::Record() {
    if (!ensureOpen()) {
        // Counted meanwhile, written once the history can be opened.
        if (FAccountant && FSource->Read(FReadings)) FAccountant->Account(FReadings, Today());
        return;
    }
    if (FSource->Read(FReadings)) FAccountant->Account(FReadings, Today());
    if (!FAccountant->HasPending()) return;
    if (!FStore.Commit(FAccountant->Pending())) {  // kept for the next try
        problem(tr("The usage history %1 could not be written: %2. Vantrix tries again every minute.")
                    .arg(QString::fromStdString(FPath), QString::fromStdString(FStore.Problem())));
        return;
    }
    FReported = false;
    FAccountant->Committed();
    checkAllowances();
    emit Recorded();
}

void TUsageRecorder::checkAllowances() {
    const int today = Today();
    for (const TUsageInterface& i : FStore.InterfacesWithAllowance()) {
        const std::uint64_t allowance = AllowanceBytes(i.AllowanceGB);
        if (allowance == 0) continue;
        const TBillingPeriod period = BillingPeriodOf(today, i.BillingDay);
        const std::uint64_t used = FStore.Sum(i.Id, period.Start, period.End).Total();
        const int level = AllowanceLevel(used, allowance);
        const int announced = i.NotifiedPeriod == period.Start ? i.NotifiedLevel : 0;
        if (level <= announced) continue;
        if (!FStore.SetNotified(i.Id, period.Start, level)) continue;  // announced once it is on record
        emit AllowanceReached(QString::fromStdString(i.Name), level, used, allowance);
    }
}

}  // namespace vx
