#include <gtest/gtest.h>

#include <random>

#include <QImage>

#include "canvas/painter_canvas.h"
#include "fake_plot.h"
#include "support/recording_canvas.h"

namespace vx {
namespace {

using Op = test::TRecordingCanvas::Op;

TEST(DataSeriesTest, CapacityGrowsInStepsOf32) {
    Tsp_XYLine s;
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Capacity(), 32);
    for (int i = 0; i < 32; ++i) s.AddXY(i, i);
    EXPECT_EQ(s.Capacity(), 32);
    s.AddXY(32, 32);
    EXPECT_EQ(s.Capacity(), 64);
    s.Delete(0);
    EXPECT_EQ(s.Capacity(), 64);  // deleting never shrinks
    EXPECT_EQ(s.GetX(0), 1);
    s.SetCapacity(10);
    EXPECT_EQ(s.Count(), 10);
    EXPECT_EQ(s.Capacity(), 32);
    EXPECT_EQ(s.GetX(9), 10);
}

TEST(DataSeriesTest, CachedExtremes) {
    Tsp_XYLine s;
    double v = 42;
    EXPECT_FALSE(s.GetXMin(v));
    EXPECT_EQ(v, 42);
    s.AddXY(5, 1);
    s.AddXY(2, 3);
    double xmin, xmax, ymin, ymax;
    ASSERT_TRUE(s.GetXMin(xmin) && s.GetXMax(xmax) && s.GetYMin(ymin) && s.GetYMax(ymax));
    EXPECT_EQ(xmin, 2);
    EXPECT_EQ(xmax, 5);
    EXPECT_EQ(ymin, 1);
    EXPECT_EQ(ymax, 3);
    s.Delete(0);
    ASSERT_TRUE(s.GetXMax(xmax));
    EXPECT_EQ(xmax, 2);  // recomputed from what is left
}

TEST(DataSeriesTest, InsertReplaceDelete) {
    Tsp_XYLine s;
    for (int i = 0; i < 8; ++i) s.AddXY(i, i * 10);
    s.InsertXY(s.Count(), 8, 80);  // as AddXY
    EXPECT_EQ(s.Count(), 9);
    s.InsertXY(s.Count() + 1, 99, 99);  // nothing
    EXPECT_EQ(s.Count(), 9);
    s.InsertXY(1, 0.5, 5);
    EXPECT_EQ(s.GetX(1), 0.5);
    EXPECT_EQ(s.GetX(2), 1);
    s.Delete(1);
    s.DeleteRange(5, 2);  // removes points 2..5
    EXPECT_EQ(s.Count(), 5);
    EXPECT_EQ(s.GetX(2), 6);
    s.DeleteRange(2, s.Count() + 10);  // to the end
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.GetX(1), 1);
    s.ReplaceXY(5, 1, 1);  // out of range: nothing
    s.ReplaceXY(1, 7, 70);
    double xmax;
    s.GetXMax(xmax);
    EXPECT_EQ(xmax, 7);
    s.Delete(-1);
    s.Delete(2);
    EXPECT_EQ(s.Count(), 2);
}

TEST(DataSeriesTest, ArraysUpdateExtremesOnlyForSmallBatches) {
    Tsp_XYLine s;
    std::vector<double> x(300), y(300);
    for (int i = 0; i < 100; ++i) s.AddXY(i, i);
    double v;
    s.GetXMax(v);
    for (int i = 0; i < 10; ++i) x[i] = 1000 + i, y[i] = -i;
    s.AddXYArrays(x.data(), y.data(), 10);
    ASSERT_TRUE(s.GetXMax(v));
    EXPECT_EQ(v, 1009);
    ASSERT_TRUE(s.GetYMin(v));
    EXPECT_EQ(v, -9);
    for (int i = 0; i < 300; ++i) x[i] = -i, y[i] = 5000 + i;
    s.AddXYArrays(x.data(), y.data(), 300);  // a large batch: recomputed on the next query
    ASSERT_TRUE(s.GetXMin(v));
    EXPECT_EQ(v, -299);
    EXPECT_EQ(s.Count(), 410);
}

TEST(DataSeriesTest, NotificationsReachThePlot) {
    test::TFakePlot plot;
    Tsp_XYLine s;
    s.SetPlot(&plot);
    ASSERT_EQ(plot.series.size(), 1u);
    s.AddXY(1, 1);
    EXPECT_EQ(plot.changed, 1);
    EXPECT_EQ(plot.updates, 1);  // repainted before AddXY returns
    s.SetLockInvalidate(true);
    s.AddXY(2, 2);
    s.AddXY(3, 3);
    EXPECT_EQ(plot.changed, 1);
    s.SetLockInvalidate(false);  // one pass for the batch
    EXPECT_EQ(plot.changed, 2);
    s.LineAttr().SetColor(clRed);
    EXPECT_EQ(plot.fieldInvalidated, 1);
    s.PointAttr().SetVisible(true);
    EXPECT_EQ(plot.fieldInvalidated, 2);
    s.SetActive(false);
    s.AddXY(4, 4);  // inactive: no notice
    EXPECT_EQ(plot.changed, 3);  // only the SetActive itself
    s.SetPlot(nullptr);
    EXPECT_TRUE(plot.series.empty());
}

TEST(DataSeriesTest, PointAttributeSizes) {
    Tsp_PointAttr p;
    EXPECT_EQ(p.HSize(), 5);
    p.SetHSize(4);
    EXPECT_EQ(p.HSize(), 5);
    p.SetVSize(9);
    EXPECT_EQ(p.VSize(), 9);
    p.SetBorderWidth(9);
    EXPECT_EQ(p.BorderWidth(), 2);  // at most the half sizes
    p.SetHSize(-3);
    EXPECT_EQ(p.HSize(), 1);
}

// A line series on a 240 x 120 field whose axes both run from 0 to 10.
class DrawnSeriesTest : public ::testing::Test {
protected:
    DrawnSeriesTest() {
        plot.canvas = &canvas;
        plot.bottom.ChangeMinMax(0, 10);
        plot.left.ChangeMinMax(0, 10);
        s.SetPlot(&plot);
    }

    test::TFakePlot plot;
    test::TRecordingCanvas canvas{{0, 0, 240, 120}};
    Tsp_XYLine s;
};

TEST_F(DrawnSeriesTest, SkipsSegmentsFarAwayOnBothEnds) {
    s.AddXY(-1e7, 5);  // far left of the axis
    s.AddXY(-1e6, 5);  // far left too
    s.AddXY(5, 5);
    canvas.clear();
    s.Draw();
    const auto lines = canvas.callsOf(Op::Polyline);
    ASSERT_EQ(lines.size(), 1u);  // only the segment that reaches into the range
    EXPECT_EQ(lines[0].points[0].x, -16383);
    EXPECT_EQ(lines[0].points[1].x, plot.bottom.V2P(5));

    Tsp_XYLine single;
    single.SetPlot(&plot);
    single.AddXY(5, 5);
    canvas.clear();
    single.Draw();  // one point and invisible points: nothing
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(DrawnSeriesTest, PointSymbolsInsideTheField) {
    s.LineAttr().SetVisible(false);
    s.PointAttr().SetVisible(true);
    s.PointAttr().SetKind(ptDiamond);
    s.AddXY(5, 5);
    s.AddXY(5, 50);  // outside the field: no symbol
    canvas.clear();
    s.Draw();
    const auto polys = canvas.callsOf(Op::Polygon);
    ASSERT_EQ(polys.size(), 1u);
    const int x = plot.bottom.V2P(5), y = plot.left.V2P(5);
    EXPECT_EQ(polys[0].points, (std::vector<TPoint>{{x, y - 2}, {x + 2, y}, {x, y + 2}, {x - 2, y}}));
}

// Sorted x values let drawing skip what lies outside the time range; the
// picture must be the same as drawing every point.
TEST(DataSeriesTest, SortedDrawingGivesTheSamePicture) {
    auto render = [](Tsp_XYLine& s, test::TFakePlot& plot) {
        TImageCanvas image(240, 120, clWhite);
        plot.canvas = &image.canvas();
        image.canvas().setClipRect(plot.field);
        s.Draw();
        plot.canvas = nullptr;
        return image.finish();
    };
    test::TFakePlot plot;
    plot.bottom.ChangeMinMax(400, 460);
    plot.left.ChangeMinMax(0, 100);
    Tsp_XYLine sorted, unsorted;
    for (Tsp_XYLine* s : {&sorted, &unsorted}) {
        s->SetPlot(&plot);
        s->LineAttr().SetWidth(3);
        s->PointAttr().SetVisible(true);
        for (int i = 0; i < 1000; ++i) s->AddXY(i, 50 + 45 * std::sin(i * 0.7));
    }
    unsorted.AddXY(-5, 0);  // one step back, then gone again: same data, no longer known sorted
    unsorted.Delete(unsorted.Count() - 1);
    ASSERT_TRUE(sorted.XSorted());
    ASSERT_FALSE(unsorted.XSorted());
    EXPECT_EQ(render(sorted, plot), render(unsorted, plot));
}

TEST(DataSeriesTest, DroppingTheOldestPointKeepsTheRest) {
    // A short history, and one long enough that the storage is compacted
    // long before half of it lies in front.
    for (const int history : {1000, 20000}) {
        SCOPED_TRACE(history);
        Tsp_XYLine s;
        for (int i = 0; i < history; ++i) s.AddXY(i, -i);
        const int drops = 3 * history + 17;
        for (int i = 0; i < drops; ++i) {  // the watcher's tick: add one, drop the oldest
            s.AddXY(history + i, -(history + i));
            s.Delete(0);
        }
        ASSERT_EQ(s.Count(), history);
        for (int i = 0; i < history; ++i) {
            ASSERT_EQ(s.GetX(i), drops + i);
            ASSERT_EQ(s.GetY(i), -(drops + i));
        }
        EXPECT_EQ(s.Capacity(), (history / 32 + 1) * 32);
        double v = 0;
        ASSERT_TRUE(s.GetYMin(v));
        EXPECT_EQ(v, -(drops + history - 1));
    }
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// The extremes kept across dropping the oldest point are those a plain scan
// of the points finds, whatever the values (repeats, new extremes, ties).
TEST(DataSeriesTest, ExtremesSurviveDroppingTheOldestPoint) {
    for (const int distinct : {2, 5, 1000}) {
        SCOPED_TRACE(distinct);
        Tsp_XYLine s;
        std::mt19937 random(static_cast<unsigned>(distinct));
        std::uniform_int_distribution<int> value(0, distinct - 1), action(0, 9);
        double x = 0;
        for (int step = 0; step < 20000; ++step) {
            if (action(random) < 6 || s.Count() < 2) {
                x += value(random) == 0 ? -1 : 0.5;  // now and then out of order
                s.AddXY(x, value(random));
            } else {
                s.Delete(0);
            }
            if (step % 7) continue;
            double xmin = s.GetX(0), xmax = xmin, ymin = s.GetY(0), ymax = ymin;
            for (int i = 1; i < s.Count(); ++i) {
                xmin = std::min(xmin, s.GetX(i));
                xmax = std::max(xmax, s.GetX(i));
                ymin = std::min(ymin, s.GetY(i));
                ymax = std::max(ymax, s.GetY(i));
            }
            double v = 0;
            ASSERT_TRUE(s.GetXMin(v));
            ASSERT_EQ(v, xmin) << step;
            s.GetXMax(v);
            ASSERT_EQ(v, xmax) << step;
            s.GetYMin(v);
            ASSERT_EQ(v, ymin) << step;
            s.GetYMax(v);
            ASSERT_EQ(v, ymax) << step;
        }
    }
}

TEST(DataSeriesTest, LegendMarkerAndQuickAdd) {
    Tsp_XYLine s;
    s.LineAttr().SetColor(clLime);
    s.PointAttr().SetVisible(true);
    test::TRecordingCanvas canvas;
    const TPenAttr pen{clRed, TPenStyle::psDash, 3, TPenMode::pmCopy};
    canvas.setPen(pen);
    s.DrawLegendMarker(canvas, {10, 20, 50, 30});
    const auto lines = canvas.callsOf(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<TPoint>{{11, 25}, {50, 25}}));
    EXPECT_EQ(lines[0].pen.color, clLime);
    ASSERT_EQ(canvas.callsOf(Op::Rectangle).size(), 1u);
    EXPECT_EQ(canvas.callsOf(Op::Rectangle)[0].rect, (TRect{28, 23, 33, 28}));  // centred symbol
    EXPECT_EQ(canvas.pen(), pen);  // the canvas pen comes back
    EXPECT_FALSE(s.DrawingLegendMarker());

    test::TFakePlot plot;
    test::TRecordingCanvas surface({0, 0, 240, 120});
    plot.canvas = &surface;
    plot.bottom.ChangeMinMax(0, 10);
    plot.left.ChangeMinMax(0, 10);
    s.SetPlot(&plot);
    surface.clear();
    s.QuickAddXY(2, 2);
    s.QuickAddXY(4, 6);
    EXPECT_EQ(plot.updates, 0);  // drawn straight away, no repaint
    EXPECT_EQ(plot.bufferInvalidated, 2);
    ASSERT_EQ(surface.callsOf(Op::Polyline).size(), 1u);
    EXPECT_EQ(surface.callsOf(Op::Clip).front().rect, plot.field);
    EXPECT_EQ(s.Count(), 2);
}

}  // namespace
}  // namespace vx
