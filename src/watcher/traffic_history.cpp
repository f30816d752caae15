#include "watcher/traffic_history.h"

#include <cmath>
#include <limits>

namespace vx {
namespace {
constexpr double kMsPerDay = 86400000.0;
}  // namespace

double TTrafficHistory::RateOf(std::uint64_t octets, std::uint32_t elapsedMs) {
    double elapsed = elapsedMs / 1000.0;
    if (elapsed == 0) elapsed = 1;
    return static_cast<double>(octets) / elapsed;
}

double TTrafficHistory::PlotValue(int units, double bytesPerSecond) {
    if (units == 0) return bytesPerSecond / 1024;
    if (units == 1) return bytesPerSecond * 8 / 1000;
    return bytesPerSecond;
}

bool TTrafficHistory::TTimeCodec::encode(TDateTime value, Narrow& narrow, bool first) {
    if (!std::isfinite(value) || value < 0 || value > 4e6) return false;
    const double day = std::floor(value);
    if (first) baseDay = day;
    const double ms = std::round((value - day) * kMsPerDay) + (day - baseDay) * kMsPerDay;
    if (ms < std::numeric_limits<Narrow>::min() || ms > std::numeric_limits<Narrow>::max()) return false;
    narrow = static_cast<Narrow>(ms);
    return decode(narrow) == value;
}

// The day and the time of day added as the clock's own encoding adds them.
TDateTime TTrafficHistory::TTimeCodec::decode(Narrow narrow) const {
    constexpr std::int64_t kDay = 86400000;
    std::int64_t days = narrow / kDay, ms = narrow % kDay;
    if (ms < 0) {
        ms += kDay;
        --days;
    }
    return (baseDay + static_cast<double>(days)) + static_cast<double>(ms) / kMsPerDay;
}

TTrafficHistory::TTrafficHistory() { FEpochs.push_back({0, 0, {}}); }

void TTrafficHistory::Append(TDateTime time, std::uint32_t elapsedMs, std::uint64_t received, std::uint64_t sent,
                             int units) {
    const std::uint64_t tick = FFirstTick + FTime.size();
    if (units != FEpochs.back().units) {
        if (FEpochs.back().firstTick == tick && FEpochs.size() == 1)
            FEpochs.back().units = units;
        else
            FEpochs.push_back({tick, units, {}});
    }
    FTime.push_back(time);
    FElapsed.push_back(elapsedMs);
    FReceived.push_back(received);
    FSent.push_back(sent);
}

void TTrafficHistory::DropFirst() {
    if (FTime.size() == 0) return;
    FTime.pop_front();
    FElapsed.pop_front();
    FReceived.pop_front();
    FSent.pop_front();
    ++FFirstTick;
    // An epoch whose points are all gone matters no more.
    while (FEpochs.size() > 1 && FEpochs[1].firstTick <= FFirstTick) FEpochs.erase(FEpochs.begin());
}

void TTrafficHistory::ConvertUnits(int units, double factor) {
    const std::uint64_t tick = FFirstTick + FTime.size();
    if (FTime.size() == 0) {
        FEpochs.assign(1, {tick, units, {}});
        return;
    }
    if (FEpochs.back().firstTick != tick) FEpochs.push_back({tick, units, {}});
    FEpochs.back().units = units;
    FEpochs.back().factorsBefore.push_back(factor);
}

double TTrafficHistory::plotted(int i, std::uint64_t octets) const {
    const std::uint64_t tick = FFirstTick + static_cast<std::uint64_t>(i);
    std::size_t epoch = FEpochs.size() - 1;
    while (epoch > 0 && FEpochs[epoch].firstTick > tick) --epoch;
    double value = PlotValue(FEpochs[epoch].units, RateOf(octets, FElapsed[static_cast<std::size_t>(i)]));
    for (std::size_t later = epoch + 1; later < FEpochs.size(); ++later)
        for (const double factor : FEpochs[later].factorsBefore) value *= factor;
    return value;
}

bool TTrafficHistory::Compact() const {
    return !FTime.isWide() && !FElapsed.isWide() && !FReceived.isWide() && !FSent.isWide();
}

}  // namespace vx
