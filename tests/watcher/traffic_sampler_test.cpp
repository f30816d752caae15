#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_ip_helper.h"
#include "support/manual_clock.h"
#include "watcher/traffic_sampler.h"

namespace vx {
namespace {

// A watcher's sampling over a scripted counter and a hand-moved clock.
class TrafficSamplerTest : public ::testing::Test {
protected:
    test::TFakeIpHelper net;
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
    void setCounters(std::uint32_t in, std::uint32_t out) {
        net.rows[4].dwInOctets = in;
        net.rows[4].dwOutOctets = out;
    }
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

TEST_F(TrafficSamplerTest, CounterWrapAndLongSessions) {
    setCounters(4294967295u - 295, 10);  // 296 below 2^32
    tick();
    setCounters(200, 10);
    TTrafficFigures f = tick();
    EXPECT_DOUBLE_EQ(f.DownloadRate, 496);
    std::uint64_t total = f.SessionReceived;
    for (int i = 0; i < 5; ++i) {  // 5 x 1 GiB
        setCounters(static_cast<std::uint32_t>(200 + (i + 1) * 1073741824ull), 10);
        f = tick();
    }
    EXPECT_EQ(f.SessionReceived, total + 5 * 1073741824ull);  // no wrap at 4 GiB
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
    net.failWith["GetIfEntry"] = kErrorNotFound;  // interface gone
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
