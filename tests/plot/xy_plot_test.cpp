#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>

#include "canvas/painter_canvas.h"
#include "plot/xy_plot.h"
#include "support/recording_canvas.h"

namespace vx {
namespace {

using Op = test::TRecordingCanvas::Op;

TEST(XYPlotTest, NewPlot) {
    Tsp_XYPlot plot;
    EXPECT_EQ(plot.size(), QSize(180, 120));
    EXPECT_EQ(plot.FieldColor(), clWhite);
    EXPECT_TRUE(plot.LeftAxis().GridAttr().Visible());
    EXPECT_TRUE(plot.BottomAxis().GridAttr().Visible());
    EXPECT_FALSE(plot.RightAxis().GridAttr().Visible());
    EXPECT_TRUE(plot.RightAxis().NoTicks() && plot.RightAxis().NoTicksLabel());
    EXPECT_TRUE(plot.TopAxis().NoTicks() && plot.TopAxis().NoTicksLabel());
    EXPECT_FALSE(plot.ValidArrange() || plot.ValidAround() || plot.ValidField());
}

// The watcher's axes: "###0.##" on the left, "hh:mm:ss" at the bottom, an
// 11-pixel font. The bottom band is 1 + 11 + 5 + 4 = 21 pixels.
TEST(XYPlotTest, LayoutFromTheAxesBands) {
    Tsp_XYPlot plot;
    plot.resize(451, 115);
    TFontAttr font;
    font.height = -11;
    plot.SetPlotFont(font);
    plot.BottomAxis().SetLabelFormat("hh:mm:ss");
    plot.BottomAxis().SetLabelAsDataTime(true);
    plot.BottomAxis().SetTicksCount(3);
    plot.BottomAxis().SetMinMax(45000.5, 45000.5 + 300.0 / 86400);
    test::TRecordingCanvas canvas({0, 0, 451, 115});
    TRect field;
    plot.OnFieldDraw = [&](Tsp_XYPlot* p) { field = p->FieldRect(); };
    plot.DrawPlot(&canvas, 451, 115);
    EXPECT_EQ(115 - field.bottom, 21);  // as the watcher's field (27, 9, 424, 94)
    EXPECT_EQ(plot.BottomAxis().OY(), field.bottom);
    EXPECT_EQ(plot.LeftAxis().OX(), field.left - 1);
}

TEST(XYPlotTest, TinyPlotKeepsAThreePixelField) {
    Tsp_XYPlot plot;
    test::TRecordingCanvas canvas({0, 0, 20, 20});
    bool sawField = false;
    plot.OnFieldDraw = [&](Tsp_XYPlot* p) {
        sawField = true;
        EXPECT_EQ(p->FieldRect().width(), 3);
        EXPECT_EQ(p->FieldRect().height(), 3);
    };
    plot.DrawPlot(&canvas, 20, 20);
    EXPECT_TRUE(sawField);
    canvas.clear();
    plot.DrawPlot(&canvas, 9, 40);  // too small: nothing
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(XYPlotTest, AutomaticRangesFollowTheData) {
    Tsp_XYPlot plot;
    Tsp_XYLine s;
    s.SetPlot(&plot);
    s.SetLockInvalidate(true);  // no immediate repaints in this test
    plot.LeftAxis().SetAutoMax(true);
    s.SetLockInvalidate(false);
    s.AddXY(0, 0);
    s.AddXY(1, 40);
    ASSERT_TRUE(plot.AutoScaleAxis(plot.LeftAxis()));
    EXPECT_DOUBLE_EQ(plot.LeftAxis().Max(), 40 + (40 - plot.LeftAxis().Min()) * 0.0 + 0.025 * (40 - 0));
    EXPECT_FALSE(plot.AutoScaleAxis(plot.RightAxis()));  // not automatic

    plot.LeftAxis().SetMinMax(0, 10);  // clears the automatic bits
    s.AddXY(2, 50);
    EXPECT_EQ(plot.LeftAxis().Max(), 10);
}

TEST(XYPlotTest, FieldOnlyChangesRepaintOnlyTheFieldWhenBuffered) {
    Tsp_XYPlot plot;
    plot.SetBufferedDisplay(true);
    int labels = 0, fields = 0;
    plot.OnGetTickLabel = [&](Tsp_XYPlot*, Tsp_Axis&, int, double, std::string&) { ++labels; };
    plot.OnFieldDraw = [&](Tsp_XYPlot*) { ++fields; };
    test::TRecordingCanvas screen({0, 0, 180, 120});
    plot.PaintOn(screen);
    EXPECT_GT(labels, 0);
    EXPECT_EQ(fields, 1);
    ASSERT_EQ(screen.callsOf(Op::Pixmap).size(), 1u);  // the buffer, copied in one go

    labels = 0;
    plot.InvalidateParts(false, false, true);
    plot.PaintOn(screen);
    EXPECT_EQ(labels, 0);  // the surroundings came from the buffer
    EXPECT_EQ(fields, 2);

    plot.PaintOn(screen);  // nothing invalid: nothing redrawn
    EXPECT_EQ(fields, 2);
    plot.BottomAxis().MoveMinMax(1);  // surroundings and field, not the layout
    EXPECT_TRUE(plot.ValidArrange());
    EXPECT_FALSE(plot.ValidAround());
}

TEST(XYPlotTest, NoFieldColourLeavesTheFieldUnpainted) {
    Tsp_XYPlot plot;
    plot.SetFieldColor(clNone);
    test::TRecordingCanvas canvas({0, 0, 180, 120});
    plot.DrawPlot(&canvas, 180, 120);
    for (const auto& f : canvas.callsOf(Op::FillRect)) EXPECT_NE(f.brush.color, clNone);
    const auto fills = canvas.callsOf(Op::FillRect);
    EXPECT_EQ(fills.size(), 4u);  // only the four bands around the field
}

TEST(XYPlotTest, PicturePixels) {
    Tsp_XYPlot plot;
    plot.resize(200, 120);
    plot.SetFieldColor(clBlack);
    plot.LeftAxis().GridAttr().SetColor(4605510);
    Tsp_XYLine s;
    s.LineAttr().SetColor(clLime);
    s.SetPlot(&plot);
    plot.BottomAxis().SetMinMax(0, 10);
    plot.LeftAxis().SetMinMax(0, 10);
    s.AddXY(0, 5);
    s.AddXY(10, 5);
    const QImage img = plot.RenderImage();
    if (const char* path = std::getenv("VX_SAVE_PNG")) img.save(path);  // for a look at the picture
    plot.DrawPlot(nullptr, 0, 0);
    int lime = 0, black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            lime += p == qRgb(0, 255, 0);
            black += p == qRgb(0, 0, 0);
        }
    EXPECT_GT(lime, 100);   // the series line across the field
    EXPECT_GT(black, 1000);  // the field
    plot.CopyToClipboardBitmap();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(200, 120));
}

}  // namespace
}  // namespace vx
