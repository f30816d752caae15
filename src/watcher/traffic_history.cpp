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

TTrafficHistory::TTrafficHistory() { fEpochs.push_back({0, 0, {}}); }

void TTrafficHistory::Append(TDateTime time, std::uint32_t elapsedMs, std::uint64_t received, std::uint64_t sent,
                             int units) {
    const std::uint64_t tick = fFirstTick + fTime.size();
    if (units != fEpochs.back().units) {
        if (fEpochs.back().firstTick == tick && fEpochs.size() == 1)
            fEpochs.back().units = units;
        else
            fEpochs.push_back({tick, units, {}});
    }
    fTime.push_back(time);
    fElapsed.push_back(elapsedMs);
    fReceived.push_back(received);
    fSent.push_back(sent);
}

void TTrafficHistory::DropFirst() {
    if (fTime.size() == 0) return;
    fTime.pop_front();
    fElapsed.pop_front();
    fReceived.pop_front();
    fSent.pop_front();
    ++fFirstTick;
    // An epoch whose points are all gone matters no more.
    while (fEpochs.size() > 1 && fEpochs[1].firstTick <= fFirstTick) fEpochs.erase(fEpochs.begin());
}

void TTrafficHistory::ConvertUnits(int units, double factor) {
    const std::uint64_t tick = fFirstTick + fTime.size();
    if (fTime.size() == 0) {
        fEpochs.assign(1, {tick, units, {}});
        return;
    }
    if (fEpochs.back().firstTick != tick) fEpochs.push_back({tick, units, {}});
    fEpochs.back().units = units;
    fEpochs.back().factorsBefore.push_back(factor);
}

double TTrafficHistory::plotted(int i, std::uint64_t octets) const {
    const std::uint64_t tick = fFirstTick + static_cast<std::uint64_t>(i);
    std::size_t epoch = fEpochs.size() - 1;
    while (epoch > 0 && fEpochs[epoch].firstTick > tick) --epoch;
    double value = PlotValue(fEpochs[epoch].units, RateOf(octets, fElapsed[static_cast<std::size_t>(i)]));
    for (std::size_t later = epoch + 1; later < fEpochs.size(); ++later)
        for (const double factor : fEpochs[later].factorsBefore) value *= factor;
    return value;
}

bool TTrafficHistory::Compact() const {
    return !fTime.isWide() && !fElapsed.isWide() && !fReceived.isWide() && !fSent.isWide();
}

}  // namespace vx
