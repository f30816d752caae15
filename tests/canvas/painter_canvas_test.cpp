// The QPainter backend draws what the program's drawing code expects pixel
// for pixel: end points excluded, rectangles inside their right and bottom
// edges, inverting pens that undo themselves.
#include <gtest/gtest.h>

#include <QPainter>

#include <QImage>
#include <span>
#include <vector>

#include "canvas/painter_canvas.h"
#include "support/recording_canvas.h"

namespace vx {
namespace {

TColor at(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return rgbColor(qRed(p), qGreen(p), qBlue(p));
}

template <typename Pred>
int countPixels(const QImage& img, Pred pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += pred(x, y);
    return n;
}

int countColor(const QImage& img, TColor color) {
    return countPixels(img, [&](int x, int y) { return at(img, x, y) == color; });
}

int countDark(const QImage& img) {
    return countPixels(img, [&](int x, int y) { return qGray(img.pixel(x, y)) < 128; });
}

TEST(PainterCanvasTest, LinesLeaveOutTheirEndPoint) {
    TImageCanvas c(20, 20, clWhite);
    c.canvas().setPen({clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy});
    c.canvas().moveTo(2, 5);
    c.canvas().lineTo(10, 5);  // pixels 2..9
    c.canvas().moveTo(4, 8);
    c.canvas().lineTo(4, 12);  // pixels 8..11
    c.canvas().moveTo(12, 12);
    c.canvas().lineTo(15, 15);  // (12,12) (13,13) (14,14)
    const QImage img = c.finish();
    EXPECT_EQ(at(img, 14, 14), clRed);
    EXPECT_EQ(at(img, 15, 15), clWhite);
    EXPECT_EQ(at(img, 2, 5), clRed);
    EXPECT_EQ(at(img, 9, 5), clRed);
    EXPECT_EQ(at(img, 10, 5), clWhite);
    EXPECT_EQ(at(img, 4, 11), clRed);
    EXPECT_EQ(at(img, 4, 12), clWhite);
    EXPECT_EQ(countColor(img, clRed), 8 + 4 + 3);
}

TEST(PainterCanvasTest, RectanglesStayInsideRightAndBottom) {
    TImageCanvas c(20, 20, clWhite);
    c.canvas().setPen({clBlack});
    c.canvas().setBrush({clBlue, TBrushStyle::bsSolid});
    c.canvas().rectangle({2, 2, 8, 6});  // outline on x 2..7, y 2..5
    c.canvas().setBrush({clLime, TBrushStyle::bsSolid});
    c.canvas().fillRect({10, 10, 13, 12});
    const QImage img = c.finish();
    EXPECT_EQ(at(img, 2, 2), clBlack);
    EXPECT_EQ(at(img, 7, 5), clBlack);
    EXPECT_EQ(at(img, 8, 5), clWhite);
    EXPECT_EQ(at(img, 7, 6), clWhite);
    EXPECT_EQ(at(img, 3, 3), clBlue);
    EXPECT_EQ(countColor(img, clBlue), 4 * 2);
    EXPECT_EQ(countColor(img, clLime), 3 * 2);
}

// An outline without a fill is drawn as strips: the pixels are the
// painter's own outline's, for every shape of rectangle, also cut by the
// edges and by a clip.
TEST(PainterCanvasTest, OutlinesWithoutFillAreThePaintersOwn) {
    const TRect rects[] = {{2, 2, 8, 6}, {0, 0, 20, 20}, {-5, -3, 7, 9}, {15, 15, 30, 25}, {4, 4, 5, 12},
                           {4, 4, 12, 5}, {6, 6, 7, 7},   {3, 9, 5, 11}, {0, 12, 25, 19}, {18, 0, 21, 30}};
    for (const bool clipped : {false, true}) {
        for (const TRect& r : rects) {
            SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom << " clip "
                                            << clipped);
            TImageCanvas strips(20, 20, clWhite);
            if (clipped) strips.canvas().setClipRect({3, 3, 12, 14});
            strips.canvas().setPen({clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy});
            strips.canvas().setBrush({clBlue, TBrushStyle::bsClear});
            strips.canvas().rectangle(r);
            QImage reference(20, 20, QImage::Format_RGB32);
            reference.fill(Qt::white);
            {
                QPainter p(&reference);
                if (clipped) p.setClipRect(QRect(3, 3, 9, 11));
                QPen pen(Qt::red);
                pen.setWidth(0);
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
            }
            EXPECT_EQ(strips.finish().convertToFormat(QImage::Format_RGB32), reference);
        }
    }
}

TEST(PainterCanvasTest, NotXorDrawnTwiceRestoresThePicture) {
    TImageCanvas c(30, 30, clWhite);
    Canvas& canvas = c.canvas();
    canvas.setBrush({clRed, TBrushStyle::bsSolid});
    canvas.fillRect({0, 0, 15, 30});
    const QImage before = c.image().copy();
    canvas.setPen({clBlack, TPenStyle::psDot, 1, TPenMode::pmNotXor});
    const TPoint box[] = {{3, 3}, {25, 3}, {25, 25}, {3, 25}, {3, 3}};
    canvas.polyline(box);
    EXPECT_NE(c.image(), before);
    canvas.polyline(box);
    EXPECT_EQ(c.finish(), before);
}

// Drawing a run of segments in one call gives the pixels of one two-point
// polyline per pair (a polyline through all points differs at the joints).
TEST(PainterCanvasTest, SegmentsEqualOnePolylinePerPair) {
    std::vector<TPoint> run;
    unsigned seed = 7;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int y = static_cast<int>((seed >> 16) % 80) - 10;  // some beyond the edges
        run.push_back({i % 3 == 0 && i > 0 ? run.back().x : i / 2 + 5, i % 11 == 0 && i > 0 ? run.back().y : y});
    }
    const TPenAttr pens[] = {
        {clLime, TPenStyle::psSolid, 1, TPenMode::pmCopy},
        {clLime, TPenStyle::psSolid, 3, TPenMode::pmCopy},
        {clRed, TPenStyle::psDash, 1, TPenMode::pmCopy},
        {clWhite, TPenStyle::psSolid, 1, TPenMode::pmXor},
    };
    for (const TPenAttr& pen : pens) {
        SCOPED_TRACE(pen.width * 10 + static_cast<int>(pen.style) + 100 * static_cast<int>(pen.mode));
        TImageCanvas perPair(110, 60, clBlack), together(110, 60, clBlack);
        perPair.canvas().setPen(pen);
        for (std::size_t i = 1; i < run.size(); ++i)
            perPair.canvas().polyline(std::span<const TPoint>(run).subspan(i - 1, 2));
        together.canvas().setPen(pen);
        together.canvas().segments(run);
        EXPECT_EQ(perPair.finish(), together.finish());
    }
}

TEST(PainterCanvasTest, ClipLimitsDrawingAndReportsItsBox) {
    TImageCanvas c(20, 20, clWhite);
    EXPECT_EQ(c.canvas().clipRect(), (TRect{0, 0, 20, 20}));
    c.canvas().setClipRect({5, 5, 10, 10});
    EXPECT_EQ(c.canvas().clipRect(), (TRect{5, 5, 10, 10}));
    c.canvas().setBrush({clBlack, TBrushStyle::bsSolid});
    c.canvas().fillRect({0, 0, 20, 20});
    EXPECT_EQ(countColor(c.finish(), clBlack), 25);
}

TEST(PainterCanvasTest, PixmapWithTransparentColour) {
    TPixmap icon(4, 4, 0xFFFFFFFF);  // white background
    icon.setPixel(1, 1, 0xFF0000FF);  // one blue pixel
    TImageCanvas c(10, 10, clRed);
    c.canvas().drawPixmap(2, 2, icon, clWhite);
    const QImage img = c.finish();
    EXPECT_EQ(at(img, 3, 3), clBlue);
    EXPECT_EQ(at(img, 2, 2), clRed);  // white was left out
    EXPECT_EQ(countColor(img, clWhite), 0);
}

TEST(PainterCanvasTest, TextIsMeasuredAndDrawnInTheFontColour) {
    TImageCanvas c(200, 60, clWhite);
    Canvas& canvas = c.canvas();
    TFontAttr font;
    font.height = -14;
    font.color = clBlack;
    canvas.setFont(font);
    const TSize one = canvas.textExtent("W");
    const TSize three = canvas.textExtent("WWW");
    EXPECT_GT(one.cx, 0);
    EXPECT_GE(one.cy, 14);
    EXPECT_GT(three.cx, 2 * one.cx);

    TRect r{0, 0, 40, 0};
    const int h = canvas.drawText("one two three four", r, dt::WordBreak | dt::CalcRect);
    EXPECT_GT(h, one.cy);  // wrapped onto more than one line
    EXPECT_LE(r.width(), 40);

    canvas.setBrush({clWhite, TBrushStyle::bsClear});
    canvas.textOut(5, 5, "Vantrix");
    EXPECT_GT(countDark(c.finish()), 20);
}

TEST(RecordingCanvasTest, LogsPrimitivesWithTheirPen) {
    test::TRecordingCanvas canvas;
    canvas.setPen({clRed, TPenStyle::psDash, 2, TPenMode::pmCopy});
    canvas.moveTo(0, 52);
    canvas.lineTo(100, 52);
    ASSERT_EQ(canvas.calls.size(), 1u);
    const auto& call = canvas.calls[0];
    EXPECT_EQ(call.op, test::TRecordingCanvas::Op::Line);
    EXPECT_EQ(call.points, (std::vector<TPoint>{{0, 52}, {100, 52}}));
    EXPECT_EQ(call.pen.color, clRed);
    EXPECT_EQ(canvas.penPos(), (TPoint{100, 52}));
}

}  // namespace
}  // namespace vx
