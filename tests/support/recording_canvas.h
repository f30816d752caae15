#pragma once

#include <string>
#include <vector>

#include "canvas/canvas.h"

namespace vx::test {

// A canvas that draws nothing and logs every primitive with the pen, brush
// and font in force, so tests can say "a line from (0,52) to (100,52) was
// drawn in red" without looking at pixels. Text is measured with a fixed
// metric: every character is charWidth wide, a line is |font height| + 2 high.
class TRecordingCanvas : public Canvas {
public:
    enum class Op { Line, Polyline, Polygon, Rectangle, Ellipse, FillRect, FrameRect, FocusRect, TextOut, DrawText, Pixmap, Clip };
    struct Call {
        Op op;
        std::vector<TPoint> points;  // lines and polylines: all points; text and images: the origin
        TRect rect;
        std::string text;
        unsigned flags = 0;
        TPenAttr pen;
        TBrushAttr brush;
        TFontAttr font;
        TColor transparent = clNone;
    };

    explicit TRecordingCanvas(TRect surface = {0, 0, 640, 480}) : surface_(surface) {}

    std::vector<Call> calls;
    int charWidth = 6;

    std::vector<Call> callsOf(Op op) const;
    void clear() { calls.clear(); }

    void polyline(std::span<const TPoint> points) override;
    void polygon(std::span<const TPoint> points) override;
    void rectangle(const TRect& r) override;
    void ellipse(const TRect& r) override;
    void fillRect(const TRect& r) override;
    void frameRect(const TRect& r) override;
    void drawFocusRect(const TRect& r) override;
    void textOut(int x, int y, const std::string& text) override;
    TSize textExtent(const std::string& text) override;
    int drawText(const std::string& text, TRect& r, unsigned flags) override;
    TRect clipRect() const override { return FClip; }
    void setClipRect(const TRect& r) override;
    void drawPixmap(int x, int y, const TPixmap& image, TColor transparent) override;

protected:
    void drawLine(TPoint from, TPoint to) override;

private:
    Call make(Op op) const;
    void recordRect(Op op, const TRect& r);
    TRect surface_;
    TRect FClip = surface_;
};

}  // namespace vx::test
