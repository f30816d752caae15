// The plot's mouse gestures (zoom rectangle, undo by click, pan) and the
// vertical cursor line.
#include <QMouseEvent>
#include <cstdlib>

#include "plot/xy_plot.h"

namespace vx {
namespace {

Tsp_ShiftKeys shiftKeysOf(Qt::KeyboardModifiers m) {
    Tsp_ShiftKeys keys = 0;
    if (m & Qt::ShiftModifier) keys |= ssShift;
    if (m & Qt::AltModifier) keys |= ssAlt;
    if (m & Qt::ControlModifier) keys |= ssCtrl;
    return keys;
}

bool horizontal(Tsp_zpDirections d) { return d == zpdHorizontal || d == zpdBoth; }
bool vertical(Tsp_zpDirections d) { return d == zpdVertical || d == zpdBoth; }

}  // namespace

void Tsp_XYPlot::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x(), y = event->position().toPoint().y();
    // Only the left button alone with exactly the chosen modifiers starts a gesture.
    const bool leftOnly = event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton;
    const Tsp_ShiftKeys keys = shiftKeysOf(event->modifiers());
    if (leftOnly && fZoomData.State == 0) {
        fPressPoint = {x, y};
        // The control's own cursor, or none when it follows its parent's.
        fOwnCursor.reset();
        if (testAttribute(Qt::WA_SetCursor)) fOwnCursor = cursor();
        if (keys == fZoomShift && fZoomEnabled != zpdNone) {
            fZoomData.R.left = x;
            fZoomData.R.top = y;
            if (fZoomEnabled == zpdHorizontal) fZoomData.R.top = FR.top;
            if (fZoomEnabled == zpdVertical) fZoomData.R.left = FR.left;
            fZoomData.State = 1;
        } else if (keys == fPanShift && fPanEnabled != zpdNone) {
            fZoomData.R.left = x;
            fZoomData.R.top = y;
            fZoomData.State = 3;
            setCursor(fPanCursor);
        }
    }
    QWidget::mousePressEvent(event);
}

void Tsp_XYPlot::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x(), y = event->position().toPoint().y();
    TRect& R = fZoomData.R;
    switch (fZoomData.State) {
        case 1:
            if (std::abs(x - fPressPoint.x) <= 3 && std::abs(y - fPressPoint.y) <= 3) break;
            fZoomData.State = 2;
            setCursor(Qt::CrossCursor);
            [[fallthrough]];
        case 2:
            R.right = fZoomEnabled == zpdVertical ? FR.right : x;
            R.bottom = fZoomEnabled == zpdHorizontal ? FR.bottom : y;
            update();  // the rectangle is redrawn over the picture
            break;
        case 3:
        case 4:
            if (x == R.left && y == R.top) break;
            R.right = R.left;
            R.bottom = R.top;
            R.left = x;
            R.top = y;
            fZoomData.State = 4;
            ApplyPan();
            break;
        default: break;
    }
    QWidget::mouseMoveEvent(event);
}

void Tsp_XYPlot::mouseReleaseEvent(QMouseEvent* event) {
    const bool gesture = fZoomData.State != 0;
    if (fZoomData.State == 1) {
        // A click with the zoom keys undoes the zoom, when every axis saved its range.
        if (LA.MinMaxStored() && RA.MinMaxStored() && BA.MinMaxStored() && TA.MinMaxStored()) {
            for (Tsp_Axis* a : {&LA, &RA, &BA, &TA}) a->RestoreMinMax();
            Invalidate();
        }
    } else if (fZoomData.State == 2) {
        TRect r = fZoomData.R;
        if (r.right < r.left) {
            const int left = r.left;
            r.left = r.right + 1;
            r.right = left + 1;
        }
        if (r.bottom < r.top) {
            const int top = r.top;
            r.top = r.bottom + 1;
            r.bottom = top + 1;
        }
        fZoomData.State = 0;
        update();  // the rectangle goes
        ApplyZoom(r, fZoomEnabled);
    }
    if (gesture) {
        // A gesture ends: back to the control's own cursor. A plain click
        // started none and changes nothing.
        fZoomData.State = 0;
        if (fOwnCursor)
            setCursor(*fOwnCursor);
        else
            unsetCursor();
    }
    QWidget::mouseReleaseEvent(event);
}

void Tsp_XYPlot::storeAll() {
    if (LA.MinMaxStored() && RA.MinMaxStored() && BA.MinMaxStored() && TA.MinMaxStored()) return;
    for (Tsp_Axis* a : {&LA, &RA, &BA, &TA}) a->StoreMinMax();
}

void Tsp_XYPlot::ApplyPan() {
    storeAll();
    const TRect& R = fZoomData.R;
    if (R.right != R.left && horizontal(fPanEnabled)) {
        BA.ScrollBy(R.right - R.left);
        TA.ScrollBy(R.right - R.left);
        InvalidateParts(false, true, true);
    }
    if (R.bottom != R.top && vertical(fPanEnabled)) {
        LA.ScrollBy(R.bottom - R.top);
        RA.ScrollBy(R.bottom - R.top);
        InvalidateParts(false, true, true);
    }
}

void Tsp_XYPlot::zoomAxis(Tsp_Axis& axis, int p1, int p2) {
    double lo = axis.P2V(p1), hi = axis.P2V(p2);
    if (lo > hi) std::swap(lo, hi);
    bool canZoom = true;
    if (OnAxisZoom) OnAxisZoom(this, axis, lo, hi, canZoom);
    if (canZoom) axis.ChangeMinMax(lo, hi);
}

void Tsp_XYPlot::ApplyZoom(TRect r, Tsp_zpDirections direction) {
    if (direction == zpdNone || r.width() <= 2 || r.height() <= 2) return;
    storeAll();
    if (r.width() > 1 && horizontal(direction)) {
        zoomAxis(BA, r.left, r.right);
        zoomAxis(TA, r.left, r.right);
    }
    if (r.height() > 1 && vertical(direction)) {
        zoomAxis(LA, r.bottom, r.top);
        zoomAxis(RA, r.bottom, r.top);
    }
    Invalidate();
}

void Tsp_XYPlot::DrawXCursor(Canvas& canvas) {
    if (!(FR.left < fXCursPos && fXCursPos < FR.right)) return;
    canvas.setPen({clBlack, TPenStyle::psSolid, 1, TPenMode::pmNot});
    canvas.moveTo(fXCursPos, FR.top + 1);
    canvas.lineTo(fXCursPos, FR.bottom - 1);
}

void Tsp_XYPlot::DrawOverlay(Canvas& canvas) {
    if (fXCursOn) {
        fXCursPos = BA.V2P(fXCursVal);
        DrawXCursor(canvas);
    }
    if (fZoomData.State == 2) {
        const TRect& R = fZoomData.R;
        canvas.setPen({clBlack, TPenStyle::psDot, 1, TPenMode::pmNotXor});
        canvas.setBrush({clWhite, TBrushStyle::bsSolid});
        const TPoint corners[] = {{R.left, R.top}, {R.right, R.top}, {R.right, R.bottom}, {R.left, R.bottom}, {R.left, R.top}};
        canvas.polyline(corners);
    }
}

void Tsp_XYPlot::SetXCursorVal(double value) {
    fXCursVal = value;
    if (fXCursOn && BA.V2P(value) != fXCursPos) update();
}

void Tsp_XYPlot::SetXCursorOn(bool on) {
    if (on == fXCursOn) return;
    fXCursOn = on;
    update();
}

}  // namespace vx
