// One whole watcher tick as the user runs it: a real Tfrm_vx_Watcher on
// screen (offscreen platform), a scripted network layer with traffic, a
// hand-moved clock; the tick samples, adds two points, drops the oldest
// once the history is full, moves the axes and paints the panel once.
// Compared: 300 points of history against a full day (86,400).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_link_source.h"
#include "support/manual_clock.h"
#include "watcher/watcher_panel.h"

namespace {

using namespace vx;

struct TTickRig {
    std::shared_ptr<test::TFakeLinkSource> net = std::make_shared<test::TFakeLinkSource>();
    std::shared_ptr<test::TManualClock> clock = std::make_shared<test::TManualClock>();
    std::unique_ptr<Tfrm_vx_Watcher> panel;
    std::uint64_t in = 1000000, out = 500000;
    unsigned step = 0;

    explicit TTickRig(int history) {
        net->SetCounters(3, 0, 0);
        panel = std::make_unique<Tfrm_vx_Watcher>(nullptr, net, clock);
        TAdapter a;
        a.Name = "eth0";
        a.IntfIdx = 3;
        panel->SetAdapter(a);
        panel->Initialize();
        panel->SetUnits(0);
        panel->resize(475, 210);
        panel->show();
        for (int i = 0; i < history; ++i) tick();  // fill the history first
        QApplication::processEvents();
    }
    void tick() {
        // A varying rate, so axes and extremes have work to do.
        in += 20000 + (step * 7919u) % 90000u;
        out += 3000 + (step * 104729u) % 9000u;
        ++step;
        net->SetCounters(3, in, out);
        clock->advanceMs(1000);
        panel->TimerTimer();
    }
};

void BM_WatcherTick(benchmark::State& state) {
    TTickRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        rig.tick();
        QApplication::processEvents();  // the tick's one paint
    }
    state.counters["points"] = rig.panel->sp_XYLine1.Count();
}
BENCHMARK(BM_WatcherTick)->Arg(300)->Arg(86400)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// Both histories side by side in one run, ticks interleaved so that both
// see the same machine state; reports "ratio" = full day / 300 points.
void BM_WatcherTickRatio(benchmark::State& state) {
    TTickRig shortRig(300), dayRig(86400);
    double shortSeconds = 0, daySeconds = 0;
    for (auto _ : state) {
        for (TTickRig* rig : {&shortRig, &dayRig}) {
            const auto start = std::chrono::steady_clock::now();
            rig->tick();
            QApplication::processEvents();
            const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            (rig == &shortRig ? shortSeconds : daySeconds) += spent;
        }
    }
    state.counters["ratio"] = daySeconds / shortSeconds;
}
BENCHMARK(BM_WatcherTickRatio)->Unit(benchmark::kMicrosecond)->MinTime(4.0);

// The process's resident set in MB (VmRSS).
double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kb = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kb;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    return kb / 1024;
}

// What four watchers holding a full day of history (86,400 points per
// series) keep
// resident beyond four watchers with 300 points. A second day of ticks
// drops a full day, so the storage is in its all-day steady state.
void BM_FourWatchersFullDayResident(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::unique_ptr<TTickRig>> rigs;
        for (int i = 0; i < 4; ++i) rigs.push_back(std::make_unique<TTickRig>(300));
        const double before = residentMb();
        for (auto& rig : rigs) {
            for (int i = 300; i < 2 * 86400; ++i) {
                rig->tick();
                if (i % 1000 == 0) QApplication::processEvents();
            }
            QApplication::processEvents();
        }
        const double after = residentMb();
        state.counters["MB_300_points"] = before;
        state.counters["MB_full_day"] = after;
        state.counters["MB_growth"] = after - before;
        state.counters["points"] = rigs.front()->panel->sp_XYLine1.Count();
    }
}
BENCHMARK(BM_FourWatchersFullDayResident)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
