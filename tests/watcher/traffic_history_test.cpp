#include <gtest/gtest.h>

#include <QImage>
#include <bit>
#include <cstdint>
#include <random>
#include <sstream>

#include "plot/xy_plot.h"
#include "support/fake_link_source.h"
#include "watcher/history_export.h"
#include "watcher/traffic_sampler.h"

namespace vx {
namespace {

// Times shaped as the system clock gives them: a day number plus whole
// milliseconds of the day, added as the clock adds them.
class TMillisecondClock : public IClock {
public:
    std::uint64_t ms = 3'600'000ull * 23;  // an hour before midnight: the history crosses a day
    std::uint32_t TickCount() override { return static_cast<std::uint32_t>(ms); }
    TDateTime Now() override {
        return static_cast<double>(46000 + ms / 86'400'000) + static_cast<double>(ms % 86'400'000) / 86400000.0;
    }
};

// A clock whose times are sums of fractions of a day, as a hand-moved test
// clock's are: mostly not a whole millisecond in the clock's own encoding.
class TFractionClock : public TMillisecondClock {
public:
    TDateTime now = 46000.5;
    TDateTime Now() override { return now; }
};

struct THistoryCase {
    const char* name;
    bool fractionClock;     // times the compact form cannot hold
    std::uint64_t maxStep;  // largest counter step a tick
    bool longGaps;          // some intervals over a minute
    int ticks;
    bool compact;  // the history should stay in its narrow form
};

void PrintTo(const THistoryCase& c, std::ostream* out) { *out << c.name; }

class TrafficHistoryTest : public ::testing::TestWithParam<THistoryCase> {};

// The history computes the same doubles a series fed with the plotted
// values (and multiplied on each change of units) held: every point, the
// extremes, the export and the drawn pixels.
TEST_P(TrafficHistoryTest, ShowsWhatPlottedPointsShowed) {
    const THistoryCase& c = GetParam();
    test::TFakeLinkSource net;
    TMillisecondClock msClock;
    TFractionClock fractionClock;
    TMillisecondClock& clock = c.fractionClock ? fractionClock : msClock;
    TTrafficSampler sampler(net, clock);
    sampler.Adapter.IntfIdx = 2;
    sampler.Initialize();
    Tsp_XYPlot plot, refPlot;
    Tsp_XYLine down, up, refDown, refUp;
    const TTrafficGraph graph{plot.BottomAxis(), plot.LeftAxis(), plot.RightAxis(), down, up};

    std::mt19937_64 random(7);
    std::uint64_t in = 1'000'000, out = 2'000'000;
    net.SetCounters(2, in, out);
    for (int t = 0; t < c.ticks; ++t) {
        if (t == c.ticks / 3 || t == c.ticks / 2 || t == 2 * c.ticks / 3) {
            const double factor = sampler.ChangeUnits((sampler.Units + 1) % 3);
            down.PointsChanged();
            up.PointsChanged();
            refDown.ScaleY(factor);
            refUp.ScaleY(factor);
        }
        std::uint32_t interval = 1000 + static_cast<std::uint32_t>(random() % 7) - 3;
        if (c.longGaps && t % 97 == 5) interval = 70'000 + static_cast<std::uint32_t>(random() % 100'000);
        if (t % 53 == 9) interval = 0;
        clock.ms += interval;
        fractionClock.now += interval / 86400000.0;
        in += random() % (c.maxStep + 1);
        out += random() % (c.maxStep / 3 + 1);
        net.SetCounters(2, in, out);
        const TTrafficFigures f = sampler.TimerTimer(graph);
        refDown.AddXY(clock.Now(), sampler.PlotValue(f.DownloadRate));
        refUp.AddXY(clock.Now(), sampler.PlotValue(f.UploadRate));
        if (refDown.Count() > TTrafficSampler::kMaxPoints) {
            refDown.Delete(0);
            refUp.Delete(0);
        }
    }
    EXPECT_EQ(sampler.History().Compact(), c.compact);

    ASSERT_EQ(down.Count(), refDown.Count());
    ASSERT_EQ(up.Count(), refUp.Count());
    int different = 0;
    for (int i = 0; i < down.Count(); ++i)
        different += std::bit_cast<std::uint64_t>(down.GetX(i)) != std::bit_cast<std::uint64_t>(refDown.GetX(i)) ||
                     std::bit_cast<std::uint64_t>(down.GetY(i)) != std::bit_cast<std::uint64_t>(refDown.GetY(i)) ||
                     std::bit_cast<std::uint64_t>(up.GetX(i)) != std::bit_cast<std::uint64_t>(refUp.GetX(i)) ||
                     std::bit_cast<std::uint64_t>(up.GetY(i)) != std::bit_cast<std::uint64_t>(refUp.GetY(i));
    EXPECT_EQ(different, 0);
    for (auto [series, ref] : {std::pair{&down, &refDown}, std::pair{&up, &refUp}}) {
        double a = 0, b = 0;
        EXPECT_TRUE(series->GetXMin(a) && ref->GetXMin(b) && a == b);
        EXPECT_TRUE(series->GetXMax(a) && ref->GetXMax(b) && a == b);
        EXPECT_TRUE(series->GetYMin(a) && ref->GetYMin(b) && a == b);
        EXPECT_TRUE(series->GetYMax(a) && ref->GetYMax(b) && a == b);
    }

    std::ostringstream csv, refCsv;
    WriteHistoryCsv(down, up, sampler.Units, csv);
    WriteHistoryCsv(refDown, refUp, sampler.Units, refCsv);
    EXPECT_TRUE(csv.str() == refCsv.str());

    // The last five minutes drawn by both, as a watcher's graph.
    for (Tsp_XYPlot* p : {&plot, &refPlot}) {
        p->resize(451, 115);
        p->BottomAxis().SetMinMax(clock.Now() - 300.0 / 86400, clock.Now());
        p->LeftAxis().SetMinMax(0, plot.LeftAxis().Max());
    }
    down.SetPlot(&plot);
    up.SetPlot(&plot);
    refDown.SetPlot(&refPlot);
    refUp.SetPlot(&refPlot);
    EXPECT_TRUE(plot.RenderImage() == refPlot.RenderImage());
}

INSTANTIATE_TEST_SUITE_P(
    Histories, TrafficHistoryTest,
    ::testing::Values(THistoryCase{"SystemClock", false, 3'000'000, false, 3000, true},
                      THistoryCase{"FractionClock", true, 3'000'000, false, 3000, false},
                      THistoryCase{"OverFourGigabytesATick", false, 20'000'000'000ull, false, 3000, false},
                      THistoryCase{"GapsOverAMinute", false, 3'000'000, true, 3000, false},
                      THistoryCase{"MoreThanADay", false, 3'000'000, false, TTrafficSampler::kMaxPoints + 700, true}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace vx
