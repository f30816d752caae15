#include <gtest/gtest.h>

#include <cmath>

#include "plot/scale.h"
#include "support/recording_canvas.h"
#include "sysinfo/date_time.h"

namespace vx {
namespace {

std::vector<double> ticks(Tsp_Scale& s) {
    std::vector<double> out;
    for (int i = 0; i < s.TickCount(); ++i) out.push_back(s.TickValue(i));
    return out;
}

struct TickCase {
    double min, max;
    int requested;
    double intFactor;
    int step;
    std::vector<double> ticks;
};

// Names the case by its range; gtest would otherwise dump the raw bytes.
void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.min << ".." << c.max << " in " << c.requested;
}

class ScaleTicksTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(ScaleTicksTest, RoundTicks) {
    const TickCase& c = GetParam();
    struct Sized : Tsp_Scale {
        explicit Sized(int n) : Tsp_Scale(0) { fTicksCount = static_cast<std::uint8_t>(n); }
    } s(c.requested);
    s.ChangeMinMax(c.min, c.max);
    EXPECT_DOUBLE_EQ(s.IntFactorValue(), c.intFactor);
    if (c.step) {
        EXPECT_EQ(s.Step(), c.step);
    }
    const auto got = ticks(s);
    ASSERT_EQ(got.size(), c.ticks.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.ticks[i], 1e-12) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ScaleTicksTest,
    ::testing::Values(TickCase{0, 10, 6, 10, 20, {0, 2, 4, 6, 8, 10}},
                      TickCase{0, 10, 7, 10, 16, {0, 1.6, 3.2, 4.8, 6.4, 8, 9.6}},
                      TickCase{0, 12.3, 6, 1, 2, {0, 2, 4, 6, 8, 10, 12}},
                      TickCase{0, 0.5, 6, 100, 0, {0, 0.1, 0.2, 0.3, 0.4, 0.5}},
                      TickCase{0, 37.5, 6, 1, 7, {0, 7, 14, 21, 28, 35}},
                      TickCase{5, 5, 5, 10, 0, {5.0, 5.2, 5.4, 5.6, 5.8, 6.0}},
                      TickCase{10, 0, 6, 10, 20, {0, 2, 4, 6, 8, 10}}));

TEST(ScaleTest, EmptyRangesWiden) {
    Tsp_Scale s(0);
    s.ChangeMinMax(5, 5);
    EXPECT_EQ(s.Min(), 5);
    EXPECT_EQ(s.Max(), 6);
    s.ChangeMinMax(100, 100);
    EXPECT_EQ(s.Min(), 99);
    EXPECT_EQ(s.Max(), 110);
    s.ChangeMinMax(-100, -100);
    EXPECT_LT(s.Min(), s.Max());
}

TEST(ScaleTest, PixelsAndBack) {
    Tsp_Scale h(0);
    h.SetLine(10, 100, 200);
    h.ChangeMinMax(0, 10);
    EXPECT_EQ(h.V2P(0), 10);
    EXPECT_EQ(h.V2P(10), 210);
    EXPECT_EQ(h.V2P(1e6), 16383);
    EXPECT_EQ(h.V2P(-1e6), -16383);
    for (double v : {0.0, 3.33, 7.5, 9.99}) EXPECT_NEAR(h.P2V(h.V2P(v)), v, 0.5 / 20);

    Tsp_Scale v(sf::Vertical);
    v.SetLine(30, 120, 100);
    v.ChangeMinMax(0, 10);
    EXPECT_EQ(v.V2P(0), 120);  // the minimum at the origin, the maximum above it
    EXPECT_EQ(v.V2P(10), 20);

    Tsp_Scale inv(sf::Inversed);
    inv.SetLine(0, 0, 100);
    inv.ChangeMinMax(0, 10);
    EXPECT_EQ(inv.V2P(10), 0);
    EXPECT_EQ(inv.V2P(0), 100);

    h.SetLine(10, 100, 0);
    EXPECT_EQ(h.Len(), 1);
    h.SetLine(10, 100, -50);
    EXPECT_EQ(h.Len(), 50);
}

// A five-minute time axis from noon: three ticks 146.88 s apart that keep
// their moments while the axis moves on by a second.
TEST(ScaleTest, TimeAxisKeepsTheTickPhase) {
    struct TimeScale : Tsp_Scale {
        TimeScale() : Tsp_Scale(sf::LabelAsDateTime) {
            fTicksCount = 3;
            fLabelFormat = "hh:mm:ss";
        }
    } s;
    s.SetLine(27, 94, 396);
    const double noon = *TryEncodeDateTime({2026, 12, 10, 12, 0, 0, 0});
    s.ChangeMinMax(noon, noon + 300.0 / 86400);
    EXPECT_DOUBLE_EQ(s.IntFactorValue(), 10000);
    EXPECT_EQ(s.Step(), 17);
    ASSERT_EQ(s.TickCount(), 3);
    std::string text;
    const char* labels[] = {"12:00:00", "12:02:26", "12:04:53"};
    for (int i = 0; i < 3; ++i) {
        s.GetTickLabel(i, text);
        EXPECT_EQ(text, labels[i]);
    }
    EXPECT_NEAR((s.TickValue(1) - s.TickValue(0)) * 86400, 146.88, 1e-6);

    const double before1 = s.TickValue(1);
    const int pos1 = s.TickPos(1);
    struct Mover : Tsp_Scale {
        using Tsp_Scale::MoveBy;
    };
    static_cast<Mover&>(static_cast<Tsp_Scale&>(s)).MoveBy(false, 0, 1.0 / 86400);
    // The first tick (12:00:00) dropped out; the former second one is first now.
    EXPECT_NEAR(s.TickValue(0), before1, 1e-9);
    EXPECT_NEAR(s.TickPos(0), pos1 - 396.0 / 300, 1.0);
}

TEST(ScaleTest, StoredFormRoundTrip) {
    Tsp_Scale bottom(448);
    bottom.SetLine(27, 94, 396);
    bottom.ChangeMinMax(-0.225, 9.225);
    TStoredValues stored;
    bottom.WriteStored(stored);
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0].first, "SFlags");
    EXPECT_EQ(stored[1].first, "SLinePos");
    EXPECT_EQ(stored[2].first, "fMin");
    EXPECT_EQ(stored[3].first, "fMax");

    Tsp_Scale copy(0);
    copy.ReadStored(stored);
    EXPECT_EQ(copy.Flags(), 448);
    EXPECT_EQ(copy.OX(), 27);
    EXPECT_EQ(copy.Len(), 396);
    EXPECT_EQ(copy.Min(), -0.225);
    EXPECT_EQ(copy.Max(), 9.225);

    Tsp_Scale left(1);  // no "fMin": the minimum stays 0
    left.ChangeMinMax(0, 10);
    stored.clear();
    left.WriteStored(stored);
    EXPECT_EQ(stored.size(), 3u);
    Tsp_Scale fresh(0);
    fresh.ReadStored(stored);
    EXPECT_EQ(fresh.Min(), 0);
    EXPECT_EQ(fresh.Max(), 10);
}

TEST(ScaleTest, DrawsLineTicksAndLabels) {
    Tsp_Scale left(sf::Vertical);
    left.SetLine(26, 93, 84);
    left.ChangeMinMax(0, 10);
    test::TRecordingCanvas canvas;
    left.LineAttr().SetWidth(2);
    left.DrawLine(canvas, 1, 2);
    const auto lines = canvas.callsOf(test::TRecordingCanvas::Op::Line);
    ASSERT_EQ(lines.size(), 2u);  // width 2: two one-pixel lines moving outward
    EXPECT_EQ(lines[0].points, (std::vector<TPoint>{{26, 95}, {26, 7}}));
    EXPECT_EQ(lines[1].points, (std::vector<TPoint>{{25, 95}, {25, 7}}));
    canvas.clear();
    left.DrawTicks(canvas);
    const auto marks = canvas.callsOf(test::TRecordingCanvas::Op::Line);
    ASSERT_EQ(static_cast<int>(marks.size()), left.TickCount());
    EXPECT_EQ(marks[0].points, (std::vector<TPoint>{{24, 93}, {20, 93}}));
    const auto labels = canvas.callsOf(test::TRecordingCanvas::Op::TextOut);
    ASSERT_EQ(static_cast<int>(labels.size()), left.TickCount());
    EXPECT_EQ(labels[0].text, "0");
    EXPECT_EQ(labels.back().text, "10");
    EXPECT_EQ(labels.back().points[0].x + canvas.textWidth("10"), 26 - 2 - 5);  // right-aligned to the line
}

TEST(ScaleTest, LayoutMeasures) {
    Tsp_Scale bottom(0);
    bottom.SetLine(20, 100, 200);
    bottom.ChangeMinMax(0, 10);
    EXPECT_EQ(bottom.BandWidth(6, 13), 1 + 13 + 5);
    EXPECT_EQ(bottom.OrgIndent(6, 13), 3);  // label "0" is 6 wide: half of it reaches before the line
    Tsp_Scale left(sf::Vertical);
    left.SetLine(30, 100, 80);
    left.ChangeMinMax(0, 10);
    EXPECT_EQ(left.BandWidth(6, 13), 1 + 3 * 6 + 5);  // widest labels "2.5" and "7.5"
    EXPECT_EQ(left.EndIndent(6, 13), 6);
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST(ScaleTest, EvenTicksRunThroughBothEnds) {
    Tsp_Scale s(sf::EvenTicks);
    s.SetLine(0, 0, 100);
    s.ChangeMinMax(0, 7);
    ASSERT_EQ(s.TickCount(), 5);
    EXPECT_DOUBLE_EQ(s.TickValue(0), 0);
    EXPECT_DOUBLE_EQ(s.TickValue(2), 3.5);
    EXPECT_DOUBLE_EQ(s.TickValue(4), 7);
    EXPECT_EQ(s.TickPos(1), 25);
    EXPECT_EQ(s.TickPos(4), 100);
}

TEST(ScaleTest, DrawBoundsOfAHorizontalScale) {
    Tsp_Scale s(0);
    s.SetLine(20, 50, 100);
    s.ChangeMinMax(0, 10);
    test::TRecordingCanvas canvas;
    TRect r{0, 0, 0, 0};
    s.CalcDrawBounds(canvas, r);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.bottom, 50 + 1 + canvas.textHeight("8") + 5);
    EXPECT_EQ(r.left, 20 - canvas.textWidth("0") / 2);
    EXPECT_EQ(r.right, 120 + canvas.textWidth("10") / 2);  // the last label reaches past the line
}

}  // namespace
}  // namespace vx
