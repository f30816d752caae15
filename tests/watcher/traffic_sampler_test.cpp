#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "netconfig/network_configuration.h"
#include "support/fake_link_source.h"
#include "support/manual_clock.h"
#include "watcher/traffic_sampler.h"

namespace vx {
namespace {

// A watcher's sampling over a scripted counter and a hand-moved clock.
class TrafficSamplerTest : public ::testing::Test {
protected:
    test::TFakeLinkSource net;
    test::TManualClock clock;
    TTrafficSampler sampler{net, clock};
    Tsp_Axis bottom{0}, left{sf::Vertical}, right{sf::Vertical};
    Tsp_XYLine download, upload;
    TTrafficGraph graph{bottom, left, right, download, upload};

    void SetUp() override {
        sampler.Adapter.IntfIdx = 4;
        sampler.Initialize();
        left.SetMinMax(0, 10);
        right.SetMinMax(0, 10);
        setCounters(1000, 500);
    }
    void setCounters(std::uint64_t in, std::uint64_t out) { net.SetCounters(4, in, out); }
    TTrafficFigures tick(std::uint32_t ms = 1000) {
        clock.advanceMs(ms);
        return sampler.TimerTimer(graph);
    }
};

TEST_F(TrafficSamplerTest, FirstTickTakesItsOwnBaseline) {
    const TTrafficFigures f = sampler.TimerTimer(graph);
    EXPECT_EQ(f.DownloadRate, 0);
    EXPECT_EQ(f.UploadRate, 0);
    EXPECT_EQ(download.Count(), 1);
    EXPECT_EQ(bottom.Min(), clock.now);
    EXPECT_NEAR((bottom.Max() - bottom.Min()) * 86400, 300, 1e-6);
}

TEST_F(TrafficSamplerTest, RatesTotalsAndMaxima) {
    tick();
    setCounters(1000 + 2048, 500 + 512);
    TTrafficFigures f = tick(2000);  // two seconds
    EXPECT_DOUBLE_EQ(f.DownloadRate, 1024);
    EXPECT_DOUBLE_EQ(f.UploadRate, 256);
    EXPECT_EQ(f.SessionReceived, 2048u);
    EXPECT_EQ(f.Received, 3048u);
    EXPECT_DOUBLE_EQ(download.GetY(1), 1.0);  // KB/s
    setCounters(1000 + 2048 + 100, 500 + 512);
    f = tick();
    EXPECT_DOUBLE_EQ(f.MaxDownload, 1024);  // the maximum stays
    EXPECT_EQ(f.SessionReceived, 2148u);
    sampler.Units = 1;
    setCounters(1000 + 2048 + 100 + 1000, 500 + 512);
    tick();
    EXPECT_DOUBLE_EQ(download.GetY(3), 8.0);  // kilobits per second
}

TEST_F(TrafficSamplerTest, CountersPastFourGiBAndLongSessions) {
    setCounters(4294967295u - 295, 10);  // 296 below 2^32
    tick();
    setCounters(4294967296ull + 200, 10);
    TTrafficFigures f = tick();
    EXPECT_DOUBLE_EQ(f.DownloadRate, 496);
    std::uint64_t total = f.SessionReceived;
    for (int i = 0; i < 5; ++i) {  // 5 x 1 GiB
        setCounters(4294967296ull + 200 + (i + 1) * 1073741824ull, 10);
        f = tick();
    }
    EXPECT_EQ(f.SessionReceived, total + 5 * 1073741824ull);  // no wrap at 4 GiB
}

// The watcher's totals and rates are the interface list's arithmetic:
// differences of the same 64-bit counters, across several passes of 2^32.
TEST_F(TrafficSamplerTest, SixtyFourBitCountersMatchTheInterfaceList) {
    TNetworkConfiguration list(std::shared_ptr<ILinkSource>(&net, [](ILinkSource*) {}));
    const std::uint64_t start = 4294967296ull - 1000;
    setCounters(start, 77);
    tick();
    std::uint64_t listIn = 0, listOut = 0, listStart = 0;
    list.GetTraffic(4, listStart, listOut);
    std::uint64_t in = start;
    for (int i = 1; i <= 6; ++i) {  // 1.5 GiB a tick: 2^32 is passed twice
        in += 1610612736ull;
        setCounters(in, 77 + 1536ull * static_cast<std::uint64_t>(i));
        const TTrafficFigures f = tick(2000);
        list.GetTraffic(4, listIn, listOut);
        EXPECT_EQ(f.Received, listIn);
        EXPECT_EQ(f.Sent, listOut);
        EXPECT_EQ(f.SessionReceived, listIn - listStart);
        EXPECT_DOUBLE_EQ(f.DownloadRate, 1610612736.0 / 2);  // no lost wraps at 6 Gbit/s
        EXPECT_DOUBLE_EQ(f.UploadRate, 768);
    }
    EXPECT_GT(listIn, 2 * 4294967296ull);
}

// When the counters behind a watcher stop being a continuation of the last
// reading, that tick is a new baseline: rate 0, totals unchanged.
TEST_F(TrafficSamplerTest, NewBaselineWhereTheCountersAreNoContinuation) {
    struct Case {
        const char* what;
        std::function<void(test::TFakeLinkSource&, TAdapter&)> change;
        double expectedRate;
    };
    const Case cases[] = {
        {"counter went backwards (driver reload)", [](test::TFakeLinkSource& n, TAdapter&) { n.SetCounters(4, 5000, 100); },
         0},
        {"interface re-created under another index",
         [](test::TFakeLinkSource& n, TAdapter& a) {
             n.SetCounters(9, 9000000000ull + 4096, 700000);
             a.IntfIdx = 9;
         },
         0},
        {"interface gone", [](test::TFakeLinkSource& n, TAdapter&) { n.counters.erase(4); }, 0},
        {"steady growth is counted",
         [](test::TFakeLinkSource& n, TAdapter&) { n.SetCounters(4, 8000000000ull + 4096, 600000); }, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TFakeLinkSource n;
        TTrafficSampler s(n, clock);
        Tsp_XYLine down, up;
        const TTrafficGraph g{bottom, left, right, down, up};
        s.Adapter.IntfIdx = 4;
        n.SetCounters(4, 8000000000ull, 600000);
        s.TimerTimer(g);
        clock.advanceMs(1000);
        const std::uint64_t before = s.TimerTimer(g).SessionReceived;
        c.change(n, s.Adapter);
        clock.advanceMs(1000);
        const TTrafficFigures f = s.TimerTimer(g);
        EXPECT_EQ(f.DownloadRate, c.expectedRate);
        EXPECT_EQ(f.SessionReceived, before + static_cast<std::uint64_t>(c.expectedRate));
        EXPECT_LE(f.MaxDownload, 4096);
    }
}

// A source that polls (a remote exporter) dates its readings: the rate
// divides by the time between readings, a tick with nothing new adds no
// point, a failed reading shows as unavailable (not zero), and what passed
// while the host was away is no rate when it is back.
TEST_F(TrafficSamplerTest, APolledSourceIsRatedBetweenItsReadings) {
    const auto reading = [this](std::uint32_t at, std::uint64_t in, std::uint64_t out) {
        setCounters(in, out);
        net.counters[4].ReadTick = at;
    };
    reading(clock.tick, 1000, 500);
    TTrafficFigures f = sampler.TimerTimer(graph);  // the baseline, nothing to rate yet
    EXPECT_EQ(download.Count(), 0);
    EXPECT_FALSE(f.Unavailable);

    reading(clock.tick + 700, 1000 + 7000, 500 + 700);
    f = tick();
    EXPECT_DOUBLE_EQ(f.DownloadRate, 10000);  // 7000 bytes in 0.7 s, not in the tick's 1 s
    EXPECT_DOUBLE_EQ(f.UploadRate, 1000);
    EXPECT_EQ(download.Count(), 1);

    f = tick();  // the next reading is late: the same figures, no point
    EXPECT_DOUBLE_EQ(f.DownloadRate, 10000);
    EXPECT_EQ(download.Count(), 1);
    reading(clock.tick, 1000 + 7000 + 13000, 500 + 700);  // 1.3 s after the last
    f = tick();
    EXPECT_DOUBLE_EQ(f.DownloadRate, 10000);  // 13000 bytes in 1.3 s
    EXPECT_EQ(f.SessionReceived, 20000u);

    net.failWith["CountersOf"] = std::make_error_code(std::errc::host_unreachable);
    f = tick();
    EXPECT_TRUE(f.Unavailable);
    EXPECT_EQ(f.DownloadRate, 0);
    EXPECT_DOUBLE_EQ(f.MaxDownload, 10000);  // what was measured stays
    EXPECT_EQ(f.SessionReceived, 20000u);
    EXPECT_EQ(download.Count(), 2);

    net.failWith.clear();
    reading(clock.tick, 1000 + 5000000, 500 + 700);  // 5 MB went by while the host was away
    f = tick();
    EXPECT_TRUE(f.Unavailable);  // only a baseline so far
    reading(clock.tick, 1000 + 5000000 + 2000, 500 + 700);  // 1 s after the baseline
    f = tick();
    EXPECT_FALSE(f.Unavailable);
    EXPECT_DOUBLE_EQ(f.DownloadRate, 2000);
    EXPECT_DOUBLE_EQ(f.MaxDownload, 10000);  // no phantom peak
    EXPECT_EQ(f.SessionReceived, 22000u);
}

TEST_F(TrafficSamplerTest, ZeroCountersReBaseline) {
    setCounters(0, 0);
    for (int i = 0; i < 3; ++i) {
        const TTrafficFigures f = tick();
        EXPECT_EQ(f.DownloadRate, 0);
        EXPECT_EQ(f.SessionReceived, 0u);
    }
    setCounters(7000, 9000);  // back: the first reading is the new baseline
    const TTrafficFigures f = tick();
    EXPECT_EQ(f.DownloadRate, 0);
    EXPECT_EQ(f.SessionReceived, 0u);
    net.failWith["CountersOf"] = std::make_error_code(std::errc::no_such_device);  // interface gone
    EXPECT_EQ(tick().DownloadRate, 0);
}

TEST_F(TrafficSamplerTest, TickCountWrapGivesTheTrueInterval) {
    clock.tick = 0xFFFFFFFFu - 499;
    tick(0);
    setCounters(1000 + 1000, 500);
    const TTrafficFigures f = tick(1000);  // the tick count wrapped in between
    EXPECT_DOUBLE_EQ(f.DownloadRate, 1000);
    EXPECT_DOUBLE_EQ(f.UploadRate, 0);
}

TEST_F(TrafficSamplerTest, TimeAxisScrollsOneSecondAtATime) {
    tick();
    const double start = bottom.Min();
    for (int i = 0; i < 298; ++i) tick();
    EXPECT_EQ(bottom.Min(), start);  // still inside the five minutes
    double previous = bottom.Min();
    for (int i = 0; i < 20; ++i) {  // from then on one second per one-second tick
        tick();
        const double step = (bottom.Min() - previous) * 86400;
        EXPECT_TRUE(std::abs(step) < 1e-6 || std::abs(step - 1) < 1e-6) << step;
        previous = bottom.Min();
        EXPECT_GE(bottom.Max() + 1.0 / 86400 + 1e-9, clock.now);
    }
    for (int i = 0; i < 3; ++i) {  // a two-second tick still moves one second only
        previous = bottom.Min();
        tick(2000);
        EXPECT_NEAR((bottom.Min() - previous) * 86400, 1, 1e-6);
    }
}

TEST_F(TrafficSamplerTest, AxesGrowAtOnceAndShrinkAfterAViewLength) {
    tick();
    setCounters(1000 + 50 * 1024, 500);  // 50 KB/s
    tick();
    EXPECT_DOUBLE_EQ(left.Max(), 50);
    EXPECT_DOUBLE_EQ(right.Max(), 50);
    std::uint32_t in = 1000 + 50 * 1024;
    for (int i = 0; i < 300; ++i) {
        in += 3 * 1024;  // a quiet 3 KB/s
        setCounters(in, 500);
        tick();
    }
    EXPECT_DOUBLE_EQ(left.Max(), 50);  // not yet
    in += 3 * 1024;
    setCounters(in, 500);
    tick();
    EXPECT_DOUBLE_EQ(left.Max(), 10);  // the highest since was 3: raised to 10
    EXPECT_DOUBLE_EQ(right.Max(), 10);
}

TEST_F(TrafficSamplerTest, SeriesKeepAtMostADayOfPoints) {
    download.SetLockInvalidate(true);
    upload.SetLockInvalidate(true);
    for (int i = 0; i < TTrafficSampler::kMaxPoints + 50; ++i) tick();
    EXPECT_EQ(download.Count(), TTrafficSampler::kMaxPoints);
    EXPECT_EQ(upload.Count(), TTrafficSampler::kMaxPoints);
}

}  // namespace
}  // namespace vx
