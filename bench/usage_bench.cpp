// The usage history as the program runs it, on a real SQLite file:
//  - the per-minute write (read 50 interfaces' counters, book, write in one
//    transaction, check the allowances), CPU time per write;
//  - opening the Usage window (a real TUsageWindow, shown and painted
//    offscreen) over ten years of daily rows for 50 interfaces.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <filesystem>
#include <memory>

#include "support/temp_dir.h"
#include "support/fake_link_source.h"
#include "usage/usage_day.h"
#include "usage_view/usage_window.h"

namespace {

using namespace vx;

constexpr int kInterfaces = 50;

std::shared_ptr<test::TFakeLinkSource> fiftyInterfaces() {
    auto links = std::make_shared<test::TFakeLinkSource>();
    for (int i = 0; i < kInterfaces; ++i) {
        const auto index = static_cast<std::uint32_t>(i + 2);
        links->AddLink(index, "veth" + std::to_string(i), TLinkKind::Veth);
        links->SetCounters(index, 1000000, 1000000);
    }
    return links;
}

// A history that has seen `count` interfaces come and go (container veths):
// each with a day of traffic and a baseline of an earlier boot.
void seenBefore(const std::string& path, int count) {
    if (count <= 0) return;
    TUsageStore store;
    store.Open(path);
    TUsageBatch batch;
    for (int i = 0; i < count; ++i) {
        const std::string key = "name:old" + std::to_string(i);
        batch.Names[key] = "old" + std::to_string(i);
        batch.Increments[{key, 20261101}] = {1000, 100};
        batch.Baselines.push_back({key, static_cast<std::uint32_t>(1000 + i), "boot-0", {1000, 100}});
    }
    store.Commit(batch);
}

// range(0): interfaces seen before and gone (50 and 100,000): a write's cost
// must not grow with them.
void BM_UsageMinuteWrite(benchmark::State& state) {
    test::TTempDir dir;
    auto counters = fiftyInterfaces();
    std::time_t now = LocalMidnight(20261210) + 3600;
    seenBefore(dir.file("u.sqlite"), static_cast<int>(state.range(0)));
    TUsageRecorder recorder(dir.file("u.sqlite"), std::make_unique<TUsageCounterSource>(counters),
                            [&now] { return now; });
    recorder.Start(3600000);
    for (const TUsageInterface& i : recorder.Store().Interfaces())
        if (i.Id % 5 == 0 && i.Key.starts_with("name:veth")) recorder.Store().SetAllowance(i.Id, 1000, 15);
    unsigned step = 0;
    for (auto _ : state) {
        for (auto& [index, c] : counters->counters) {
            c.Received += 5000000 + (step * 7919u) % 100000u;
            c.Sent += 500000;
        }
        now += 60;
        ++step;
        recorder.Record();
    }
    state.counters["interfaces"] = kInterfaces;
    state.counters["seen_before"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_UsageMinuteWrite)->Arg(50)->Arg(100000)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

// Ten years of days up to today for 50 interfaces, written once.
const std::string& tenYears() {
    static test::TTempDir dir;
    static const std::string path = [] {
        const std::string file = dir.file("ten-years.sqlite");
        TUsageStore store;
        store.Open(file);
        const int today = LocalDayOf(std::time(nullptr));
        TUsageBatch batch;
        for (int i = 0; i < kInterfaces; ++i) {
            const std::string key = "name:veth" + std::to_string(i);
            batch.Names[key] = "veth" + std::to_string(i);
            for (int d = AddDays(today, -3652); d <= today; d = AddDays(d, 1))
                batch.Increments[{key, d}] = {static_cast<std::uint64_t>(1000000000 + d % 977 * 1000000),
                                              static_cast<std::uint64_t>(100000000 + d % 311 * 100000)};
        }
        store.Commit(batch);
        return file;
    }();
    return path;
}

void BM_UsageWindowOpen(benchmark::State& state) {
    auto counters = fiftyInterfaces();
    TUsageRecorder recorder(tenYears(), std::make_unique<TUsageCounterSource>(counters));
    recorder.Start(3600000);
    std::int64_t rows = 0;
    for (auto _ : state) {
        auto window = std::make_unique<TUsageWindow>(recorder);
        window->SelectInterface(QStringLiteral("veth25"));
        window->show();
        QApplication::processEvents();  // laid out and painted
        window->grab();
        rows = window->cbInterface->count();
    }
    state.counters["interfaces"] = static_cast<double>(rows);
}
BENCHMARK(BM_UsageWindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace
