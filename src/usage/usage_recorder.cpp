#include "usage/usage_recorder.h"

#include <filesystem>

#include "usage/allowance.h"
#include "usage/usage_day.h"

namespace vx {

std::string UsageDatabasePathFor(const std::string& settingsFile) {
    std::filesystem::path p(settingsFile);
    p.replace_extension(".usage.sqlite");
    return p.string();
}

TUsageRecorder::TUsageRecorder(std::string databasePath, std::unique_ptr<IUsageCounterSource> source,
                               std::function<std::time_t()> now, QObject* parent)
    : QObject(parent),
      path_(std::move(databasePath)),
      source_(source ? std::move(source) : MakeKernelCounterSource()),
      now_(now ? std::move(now) : [] { return std::time(nullptr); }) {
    connect(&timer_, &QTimer::timeout, this, &TUsageRecorder::Record);
}

TUsageRecorder::~TUsageRecorder() = default;

int TUsageRecorder::Today() const { return LocalDayOf(now_()); }

void TUsageRecorder::Start(int intervalMs) {
    Record();
    timer_.start(intervalMs);
}

bool TUsageRecorder::ensureOpen() {
    if (store_.IsOpen() && !store_.FoundDamage()) return true;
    if (gaveUp_) return false;
    if (!store_.Open(path_)) {
        gaveUp_ = true;
        emit Problem(QString::fromStdString(store_.Problem()));
        return false;
    }
    if (!store_.MovedAsideTo().empty()) emit Problem(QString::fromStdString(store_.Problem()));
    // A fresh start of the history keeps what this run counted so far.
    if (!accountant_) accountant_.emplace(source_->BootId(), store_.Baselines());
    return true;
}

void TUsageRecorder::Record() {
    if (!ensureOpen()) return;
    if (source_->Read(readings_)) accountant_->Account(readings_, Today());
    if (!accountant_->HasPending()) return;
    if (!store_.Commit(accountant_->Pending())) return;  // kept for the next try
    accountant_->Committed();
    checkAllowances();
    emit Recorded();
}

void TUsageRecorder::checkAllowances() {
    const int today = Today();
    for (const TUsageInterface& i : store_.Interfaces()) {
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
