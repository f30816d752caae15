#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "plot/xy_plot.h"
#include "support/recording_canvas.h"

namespace vx {
namespace {

using Op = test::TRecordingCanvas::Op;

// A shown plot, laid out, with ranges 0..100 on every axis.
class PlotInteractionTest : public ::testing::Test {
protected:
    Tsp_XYPlot plot;
    void SetUp() override {
        plot.resize(300, 200);
        for (Tsp_Axis* a : {&plot.LeftAxis(), &plot.RightAxis(), &plot.BottomAxis(), &plot.TopAxis()})
            a->SetMinMax(0, 100);
        plot.show();
        test::TRecordingCanvas screen({0, 0, 300, 200});
        plot.PaintOn(screen);  // lays the field out
        ASSERT_GT(plot.FieldRect().width(), 100);
    }
    QPoint inField(int dx, int dy) const {
        const TRect f = plot.FieldRect();
        return {f.left + 50 + dx, f.top + 50 + dy};
    }
    void drag(Qt::KeyboardModifiers keys, QPoint from, QPoint to) {
        QTest::mousePress(&plot, Qt::LeftButton, keys, from);
        QTest::mouseMove(&plot, to);
        QMouseEvent move(QEvent::MouseMove, to, plot.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, keys);
        QApplication::sendEvent(&plot, &move);
        QTest::mouseRelease(&plot, Qt::LeftButton, keys, to);
    }
};

TEST_F(PlotInteractionTest, CtrlDragPansWithThePointer) {
    const double pixelsPerValue = plot.BottomAxis().SM();
    drag(Qt::ControlModifier, inField(0, 0), inField(10, 0));
    EXPECT_NEAR(plot.BottomAxis().Min(), -10 / pixelsPerValue, 1e-9);  // earlier by 10 pixels' worth
    EXPECT_NEAR(plot.LeftAxis().Min(), 0, 1e-9);  // no vertical movement
    EXPECT_TRUE(plot.BottomAxis().MinMaxStored());
    EXPECT_EQ(plot.ZoomData().State, 0);
}

TEST_F(PlotInteractionTest, ShiftDragZoomsAndShiftClickUndoes) {
    drag(Qt::ShiftModifier, inField(0, 0), inField(40, 30));
    EXPECT_GT(plot.BottomAxis().Min(), 0);
    EXPECT_LT(plot.BottomAxis().Max(), 100);
    EXPECT_LT(plot.LeftAxis().Max(), 100);
    QTest::mouseClick(&plot, Qt::LeftButton, Qt::ShiftModifier, inField(5, 5));
    EXPECT_EQ(plot.BottomAxis().Min(), 0);
    EXPECT_EQ(plot.BottomAxis().Max(), 100);
    EXPECT_EQ(plot.LeftAxis().Max(), 100);
}

TEST_F(PlotInteractionTest, SmallDragsAndRectanglesDoNothing) {
    drag(Qt::ShiftModifier, inField(0, 0), inField(2, 3));  // within 3 pixels: a click
    EXPECT_EQ(plot.BottomAxis().Min(), 0);
    plot.ApplyZoom({10, 10, 12, 60}, zpdBoth);  // 2 x 50: ignored
    EXPECT_EQ(plot.BottomAxis().Max(), 100);
    EXPECT_FALSE(plot.BottomAxis().MinMaxStored());
    drag(Qt::AltModifier, inField(0, 0), inField(40, 40));  // no gesture for these keys
    EXPECT_EQ(plot.BottomAxis().Max(), 100);
}

// With zooming in one direction only, the edge that the direction pins is no
// reference for the click threshold: a press and release within 3 pixels is
// still a click, which undoes the zoom.
TEST_F(PlotInteractionTest, OneDirectionZoomClickUndoes) {
    for (const Tsp_zpDirections d : {zpdHorizontal, zpdVertical}) {
        SCOPED_TRACE(d == zpdHorizontal ? "horizontal" : "vertical");
        for (Tsp_Axis* a : {&plot.LeftAxis(), &plot.RightAxis(), &plot.BottomAxis(), &plot.TopAxis()})
            a->SetMinMax(0, 100);
        plot.SetZoom(d);
        drag(Qt::ShiftModifier, inField(0, 0), inField(40, 30));
        ASSERT_TRUE(plot.BottomAxis().Max() < 100 || plot.LeftAxis().Max() < 100);
        drag(Qt::ShiftModifier, inField(5, 5), inField(6, 6));  // a 1-pixel wobble
        EXPECT_EQ(plot.ZoomData().State, 0);
        EXPECT_EQ(plot.BottomAxis().Max(), 100);
        EXPECT_EQ(plot.LeftAxis().Max(), 100);
    }
}

// The control's own cursor comes back after every gesture; a click that
// starts none leaves it alone.
TEST_F(PlotInteractionTest, OwnCursorSurvivesClicksAndGestures) {
    plot.setCursor(Qt::CrossCursor);
    plot.SetPanCursor(Qt::ClosedHandCursor);
    struct Gesture {
        const char* what;
        std::function<void()> run;
    };
    const Gesture gestures[] = {
        {"plain click", [&] { QTest::mouseClick(&plot, Qt::LeftButton, Qt::NoModifier, inField(0, 0)); }},
        {"right click", [&] { QTest::mouseClick(&plot, Qt::RightButton, Qt::NoModifier, inField(0, 0)); }},
        {"ctrl drag", [&] { drag(Qt::ControlModifier, inField(0, 0), inField(10, 4)); }},
        {"shift drag", [&] { drag(Qt::ShiftModifier, inField(0, 0), inField(40, 30)); }},
        {"shift click", [&] { QTest::mouseClick(&plot, Qt::LeftButton, Qt::ShiftModifier, inField(0, 0)); }},
    };
    for (const Gesture& g : gestures) {
        SCOPED_TRACE(g.what);
        g.run();
        EXPECT_EQ(plot.cursor().shape(), Qt::CrossCursor);
    }
}

// A point added straight onto the surface after a paint finds no surface
// (the paint's canvas is gone) and waits for the next paint instead of
// drawing on freed memory (AddressSanitizer reports the latter).
TEST_F(PlotInteractionTest, QuickAddAfterAPaintWaitsForTheNextPaint) {
    Tsp_XYLine line;
    line.SetPlot(&plot);
    plot.SetBufferedDisplay(true);
    line.AddXY(10, 10);
    plot.repaint();
    EXPECT_EQ(plot.DCanvas(), nullptr);
    line.QuickAddXY(20, 20);
    line.QuickAddXY(30, 40);
    EXPECT_EQ(line.Count(), 3);
    const QImage picture = plot.grab().toImage();
    const TRect f = plot.FieldRect();
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(f.width(), 0);
}

TEST_F(PlotInteractionTest, AxisZoomHandlerCanRefuse) {
    plot.OnAxisZoom = [&](Tsp_XYPlot*, Tsp_Axis& axis, double&, double&, bool& canZoom) {
        if (&axis == &plot.LeftAxis()) canZoom = false;
    };
    const TRect f = plot.FieldRect();
    plot.ApplyZoom({f.left + 10, f.top + 10, f.left + 60, f.top + 60}, zpdBoth);
    EXPECT_EQ(plot.LeftAxis().Max(), 100);
    EXPECT_LT(plot.RightAxis().Max(), 100);
    EXPECT_LT(plot.BottomAxis().Max(), 100);
}

TEST_F(PlotInteractionTest, CursorLineOnlyInsideTheField) {
    test::TRecordingCanvas canvas({0, 0, 300, 200});
    plot.SetXCursorOn(true);
    plot.SetXCursorVal(50);
    struct Probe : Tsp_XYPlot {
        using Tsp_XYPlot::DrawOverlay;
    };
    static_cast<Probe&>(plot).DrawOverlay(canvas);
    auto lines = canvas.callsOf(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen.mode, TPenMode::pmNot);
    EXPECT_EQ(lines[0].points[0], (TPoint{plot.BottomAxis().V2P(50), plot.FieldRect().top + 1}));
    canvas.clear();
    plot.SetXCursorVal(0);  // on the field's left edge column: not drawn
    static_cast<Probe&>(plot).DrawOverlay(canvas);
    EXPECT_TRUE(canvas.callsOf(Op::Line).empty());
}

struct TBandMarker : Tsp_PlotMarker {
    int draws = 0;
    void Draw(Canvas& canvas) override {
        ++draws;
        canvas.setBrush({clRed, TBrushStyle::bsSolid});
        canvas.fillRect({0, 0, 5, 5});
    }
};

TEST_F(PlotInteractionTest, MarkersDrawBeforeOrAfterTheSeries) {
    TBandMarker marker;
    EXPECT_FALSE(marker.Visible());
    EXPECT_EQ(marker.WhenDraw(), dmBeforeSeries);
    marker.SetPlot(&plot);
    EXPECT_EQ(marker.XAxisObj(), &plot.BottomAxis());
    marker.SetYAxis(dsyRight);
    EXPECT_EQ(marker.YAxisObj(), &plot.RightAxis());
    test::TRecordingCanvas canvas({0, 0, 300, 200});
    plot.DrawPlot(&canvas, 300, 200);
    EXPECT_EQ(marker.draws, 0);  // hidden
    marker.SetVisible(true);
    marker.SetWhenDraw(dmAfterSeries);
    plot.DrawPlot(&canvas, 300, 200);
    EXPECT_EQ(marker.draws, 1);
    marker.SetPlot(nullptr);
    plot.DrawPlot(&canvas, 300, 200);
    EXPECT_EQ(marker.draws, 1);
}

}  // namespace
}  // namespace vx
