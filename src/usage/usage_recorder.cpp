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
      path_(std::move(databasePath)),
      source_(source ? std::move(source) : std::make_unique<TUsageCounterSource>()),
      now_(now ? std::move(now) : [] { return std::time(nullptr); }) {
    connect(&timer_, &QTimer::timeout, this, &TUsageRecorder::Record);
}

TUsageRecorder::~TUsageRecorder() {
    store_.Close();
    if (lock_ >= 0) ::close(lock_);
}

int TUsageRecorder::Today() const { return LocalDayOf(now_()); }

void TUsageRecorder::Start(int intervalMs) {
    Record();
    timer_.start(intervalMs);
}

void TUsageRecorder::problem(const QString& message) {
    if (reported_) return;
    reported_ = true;
    emit Problem(message);
}

bool TUsageRecorder::takeLock() {
    if (lock_ < 0) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
        lock_ = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lock_ < 0) return false;
    }
    int rc;
    while ((rc = ::flock(lock_, LOCK_EX | LOCK_NB)) < 0 && errno == EINTR) {
    }
    return rc == 0;
}

bool TUsageRecorder::ensureOpen() {
    if (store_.IsOpen() && !store_.FoundDamage()) return true;
    if (!takeLock()) {
        if (lock_ >= 0)
            problem(tr("Another Vantrix is recording the usage history %1; this one does not record while it runs.")
                        .arg(QString::fromStdString(path_)));
        else
            problem(tr("The usage history %1 cannot be kept: %2: %3")
                        .arg(QString::fromStdString(path_), QString::fromStdString(path_ + ".lock"),
                             QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    if (!store_.Open(path_)) {
        problem(tr("The usage history %1 cannot be opened: %2. Vantrix tries again every minute.")
                    .arg(QString::fromStdString(path_), QString::fromStdString(store_.Problem())));
        // This run's traffic is counted meanwhile (no other writer holds
        // the lock), and written once the history opens.
        if (!accountant_) {
            accountant_.emplace(source_->BootId(), std::vector<TUsageBaseline>{});
            adoptStored_ = true;
        }
        return false;
    }
    if (!store_.MovedAsideTo().empty()) emit Problem(QString::fromStdString(store_.Problem()));
    // A fresh start of the history keeps what this run counted so far.
    if (!accountant_) {
        accountant_.emplace(source_->BootId(), store_.Baselines(source_->BootId()));
    } else if (adoptStored_) {
        accountant_->AdoptStored(store_.Baselines(source_->BootId()));
    }
    adoptStored_ = false;
    return true;
}

void TUsageRecorder::Record() {
    if (!ensureOpen()) {
        // Counted meanwhile, written once the history can be opened.
        if (accountant_ && source_->Read(readings_)) accountant_->Account(readings_, Today());
        return;
    }
    if (source_->Read(readings_)) accountant_->Account(readings_, Today());
    if (!accountant_->HasPending()) return;
    if (!store_.Commit(accountant_->Pending())) {  // kept for the next try
        problem(tr("The usage history %1 could not be written: %2. Vantrix tries again every minute.")
                    .arg(QString::fromStdString(path_), QString::fromStdString(store_.Problem())));
        return;
    }
    reported_ = false;
    accountant_->Committed();
    checkAllowances();
    emit Recorded();
}

void TUsageRecorder::checkAllowances() {
    const int today = Today();
    for (const TUsageInterface& i : store_.InterfacesWithAllowance()) {
        const std::uint64_t allowance = AllowanceBytes(i.AllowanceGB);
        if (allowance == 0) continue;
        const TBillingPeriod period = BillingPeriodOf(today, i.BillingDay);
        const std::uint64_t used = store_.Sum(i.Id, period.Start, period.End).Total();
        const int level = AllowanceLevel(used, allowance);
        const int announced = i.NotifiedPeriod == period.Start ? i.NotifiedLevel : 0;
        if (level <= announced) continue;
        if (!store_.SetNotified(i.Id, period.Start, level)) continue;  // announced once it is on record
        emit AllowanceReached(QString::fromStdString(i.Name), level, used, allowance);
    }
}

}  // namespace vx
