#include "support/recording_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace vx::test {

TRecordingCanvas::Call TRecordingCanvas::make(Op op) const {
    Call c{op, {}, {}, {}, 0, pen(), brush(), font(), clNone};
    return c;
}

void TRecordingCanvas::recordRect(Op op, const TRect& r) {
    Call c = make(op);
    c.rect = r;
    calls.push_back(c);
}

std::vector<TRecordingCanvas::Call> TRecordingCanvas::callsOf(Op op) const {
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [op](const Call& c) { return c.op == op; });
    return out;
}

void TRecordingCanvas::drawLine(TPoint from, TPoint to) {
    Call c = make(Op::Line);
    c.points = {from, to};
    calls.push_back(c);
}

void TRecordingCanvas::polyline(std::span<const TPoint> points) {
    Call c = make(Op::Polyline);
    c.points.assign(points.begin(), points.end());
    calls.push_back(c);
}

void TRecordingCanvas::polygon(std::span<const TPoint> points) {
    Call c = make(Op::Polygon);
    c.points.assign(points.begin(), points.end());
    calls.push_back(c);
}

void TRecordingCanvas::rectangle(const TRect& r) { recordRect(Op::Rectangle, r); }

void TRecordingCanvas::ellipse(const TRect& r) { recordRect(Op::Ellipse, r); }

void TRecordingCanvas::fillRect(const TRect& r) { recordRect(Op::FillRect, r); }

void TRecordingCanvas::frameRect(const TRect& r) { recordRect(Op::FrameRect, r); }

void TRecordingCanvas::drawFocusRect(const TRect& r) { recordRect(Op::FocusRect, r); }

void TRecordingCanvas::textOut(int x, int y, const std::string& text) {
    Call c = make(Op::TextOut);
    c.points = {{x, y}};
    c.text = text;
    calls.push_back(c);
}

TSize TRecordingCanvas::textExtent(const std::string& text) {
    return {static_cast<int>(text.size()) * charWidth, std::abs(font().height) + 2};
}

int TRecordingCanvas::drawText(const std::string& text, TRect& r, unsigned flags) {
    const TSize size = textExtent(text);
    if (flags & dt::CalcRect) {
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
        return size.cy;
    }
    Call c = make(Op::DrawText);
    c.rect = r;
    c.text = text;
    c.flags = flags;
    calls.push_back(c);
    return size.cy;
}

void TRecordingCanvas::setClipRect(const TRect& r) {
    FClip = r;
    recordRect(Op::Clip, r);
}

void TRecordingCanvas::drawPixmap(int x, int y, const TPixmap& image, TColor transparent) {
    Call c = make(Op::Pixmap);
    c.points = {{x, y}};
    c.rect = {x, y, x + image.width, y + image.height};
    c.transparent = transparent;
    calls.push_back(c);
}

}  // namespace vx::test
