#include <algorithm>
#include <cmath>

#include "plot/axis.h"
#include "plot/data_series.h"

namespace vx {
namespace {

bool farAway(int x, int y) { return x < -16000 || x > 16000 || y < -16000 || y > 16000; }

}  // namespace

Tsp_XYLine::Tsp_XYLine() {
    fPA.fOnChange = [this](Tsp_PointAttr* sender) { AttrChanged(sender); };
}

Tsp_XYLine::~Tsp_XYLine() { fPA.fOnChange = nullptr; }

void Tsp_XYLine::AttrChanged(void* sender) { Tsp_XYDataSeries::AttrChanged(sender); }

void Tsp_XYLine::drawPoint(int x, int y) {
    Canvas& c = *fCanvas;
    const int h = fPA.eHSize(), hh = fPA.oHSize(), v = fPA.eVSize(), vv = fPA.oVSize();
    switch (fPA.Kind()) {
        case ptRectangle:
        case ptCustom: c.rectangle({x - h, y - v, x + hh, y + vv}); break;
        case ptEllipse: c.ellipse({x - h, y - v, x + hh, y + vv}); break;
        case ptDiamond: {
            const TPoint p[] = {{x, y - v}, {x + h, y}, {x, y + v}, {x - h, y}};
            c.polygon(p);
            break;
        }
        case ptCross:
            c.moveTo(x - h, y);
            c.lineTo(x + hh, y);
            c.moveTo(x, y - v);
            c.lineTo(x, y + vv);
            break;
        case ptTriangle: {
            const TPoint p[] = {{x, y - v}, {x + h, y + v}, {x - h, y + v}};
            c.polygon(p);
            break;
        }
        case ptDownTriangle: {
            const TPoint p[] = {{x - h, y - v}, {x + h, y - v}, {x, y + v}};
            c.polygon(p);
            break;
        }
    }
}

// With x values that never decrease, only the points from one before the
// horizontal range to one after it can show; a margin of a line width in
// pixels keeps thick segments that end just outside the range.
std::pair<int, int> Tsp_XYLine::visibleRange(const Tsp_Axis& xAxis) const {
    if (!fSorted || fPN < 3) return {0, fPN - 1};
    const double margin = (fLineAttr.Width() + std::max(fPA.HSize(), 1) + 2) / std::fabs(xAxis.SM());
    const double lo = xAxis.Min() - margin;
    const double hi = xAxis.Max() + margin;
    // First index whose x reaches `bound` (or passes it, with `after`).
    auto search = [this](double bound, bool after) {
        int at = 0, count = fPN;
        while (count > 0) {
            const int step = count / 2;
            const double x = GetX(at + step);
            if (after ? x <= bound : x < bound) {
                at += step + 1;
                count -= step + 1;
            } else {
                count = step;
            }
        }
        return at;
    };
    const int first = search(lo, false);
    const int last = search(hi, true);
    return {std::max(0, first - 1), std::min(fPN - 1, last)};
}

void Tsp_XYLine::Draw() {
    if (fPN < 1 || !fPlot) return;
    if (!fPA.Visible() && (!fLineAttr.Visible() || fPN == 1)) return;
    fCanvas = fPlot->DCanvas();
    if (!fCanvas) return;
    Tsp_Axis& xa = fWXA == dsxTop ? fPlot->TopAxis() : fPlot->BottomAxis();
    Tsp_Axis& ya = fWYA == dsyRight ? fPlot->RightAxis() : fPlot->LeftAxis();
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    GetXMin(xmin), GetXMax(xmax), GetYMin(ymin), GetYMax(ymax);
    if (xmin > xa.Max() || xmax < xa.Min() || ymin > ya.Max() || ymax < ya.Min()) return;

    const auto [from, to] = visibleRange(xa);
    if (fPN > 1 && fLineAttr.Visible() && fLineAttr.Style() != TPenStyle::psClear) {
        fLineAttr.SetPenAttr(*fCanvas);
        fCanvas->setBrush({fCanvas->brush().color, TBrushStyle::bsClear});
        // Runs of drawable segments go to the canvas together; a segment
        // with both ends far outside the surface breaks the run.
        std::vector<TPoint>& run = fRun;
        run.clear();
        TPoint prev{xa.V2P(GetX(from)), ya.V2P(GetY(from))};
        for (int i = from + 1; i <= to; ++i) {
            const TPoint p{xa.V2P(GetX(i)), ya.V2P(GetY(i))};
            if (!(farAway(prev.x, prev.y) && farAway(p.x, p.y))) {
                if (run.empty()) run.push_back(prev);
                run.push_back(p);
            } else if (!run.empty()) {
                fCanvas->segments(run);
                run.clear();
            }
            prev = p;
        }
        if (!run.empty()) fCanvas->segments(run);
    }
    if (fPA.Visible()) {
        fCanvas->setPen({fPA.BorderColor(), TPenStyle::psSolid, fPA.BorderWidth(), TPenMode::pmCopy});
        fCanvas->setBrush({fPA.Color(), fPA.BrushStyle()});
        const TRect field = fPlot->FieldRect();
        for (int i = from; i <= to; ++i) {
            const TPoint p{xa.V2P(GetX(i)), ya.V2P(GetY(i))};
            if (!field.contains(p)) continue;
            if (fPA.Kind() != ptCustom)
                drawPoint(p.x, p.y);
            else if (OnDrawCustomPoint)
                OnDrawCustomPoint(this, GetX(i), GetY(i), p.x, p.y);
        }
    }
}

void Tsp_XYLine::DrawLegendMarker(Canvas& canvas, const TRect& rect) {
    if (!fLineAttr.Visible() && !fPA.Visible()) return;
    fDLM = true;
    Canvas* saved = fCanvas;
    fCanvas = &canvas;
    const TPenAttr pen = canvas.pen();
    const TBrushAttr brush = canvas.brush();
    const int cy = (rect.top + rect.bottom) / 2;
    if (fLineAttr.Visible()) {
        fLineAttr.SetPenAttr(canvas);
        canvas.setBrush({brush.color, TBrushStyle::bsClear});
        canvas.moveTo(rect.left + 1, cy);
        canvas.lineTo(rect.right, cy);
    }
    if (fPA.Visible()) {
        canvas.setPen({fPA.BorderColor(), TPenStyle::psSolid, fPA.BorderWidth(), TPenMode::pmCopy});
        canvas.setBrush({fPA.Color(), fPA.BrushStyle()});
        const int cx = (rect.left + rect.right) / 2;
        if (fPA.Kind() == ptCustom && OnDrawCustomPoint)
            OnDrawCustomPoint(this, 0, 0, cx, cy);
        else
            drawPoint(cx, cy);
    }
    canvas.setPen(pen);
    canvas.setBrush(brush);
    fCanvas = saved;
    fDLM = false;
}

void Tsp_XYLine::QuickAddXY(double aX, double aY) {
    storePoint(aX, aY);
    if (!CanNotify() || !fActive) return;
    fPlot->InvalidateBuffer();
    Canvas* canvas = fPlot->DCanvas();
    if (!canvas) {
        // No surface outside a paint: the point shows with the next one.
        fPlot->InvalidateField();
        return;
    }
    fCanvas = canvas;
    const TRect field = fPlot->FieldRect();
    canvas->setClipRect(field);
    Tsp_Axis& xa = fWXA == dsxTop ? fPlot->TopAxis() : fPlot->BottomAxis();
    Tsp_Axis& ya = fWYA == dsyRight ? fPlot->RightAxis() : fPlot->LeftAxis();
    const TPoint p{xa.V2P(aX), ya.V2P(aY)};
    if (fLineAttr.Visible() && fPN >= 2) {
        const TPoint prev{xa.V2P(GetX(fPN - 2)), ya.V2P(GetY(fPN - 2))};
        if (field.contains(prev) || field.contains(p)) {
            fLineAttr.SetPenAttr(*canvas);
            const TPoint segment[] = {prev, p};
            canvas->polyline(segment);
        }
    }
    if (fPA.Visible() && field.contains(p)) {
        canvas->setPen({fPA.BorderColor(), TPenStyle::psSolid, fPA.BorderWidth(), TPenMode::pmCopy});
        canvas->setBrush({fPA.Color(), fPA.BrushStyle()});
        drawPoint(p.x, p.y);
    }
}

}  // namespace vx
