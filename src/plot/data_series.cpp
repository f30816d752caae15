#include "plot/data_series.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "plot/axis.h"

namespace vx {

namespace {
// Dropped points the storage may keep in front of the first point.
constexpr int kMaxDroppedInFront = 4096;
}  // namespace

// --- abstract series -------------------------------------------------------

Tsp_DataSeries::~Tsp_DataSeries() {
    if (fPlot) fPlot->RemoveSeries(this);
}

void Tsp_DataSeries::SetPlot(ITsp_SeriesOwner* plot) {
    if (plot == fPlot) return;
    if (fPlot) fPlot->RemoveSeries(this);
    fPlot = plot;
    if (fPlot) fPlot->AddSeries(this);
}

void Tsp_DataSeries::SetActive(bool active) {
    if (active == fActive) return;
    fActive = active;
    if (fPlot) fPlot->SeriesChanged(this);
}

void Tsp_DataSeries::SetXAxis(Tsp_WhatXAxis axis) {
    if (axis == fWXA) return;
    fWXA = axis;
    if (!fPlot) return;
    bool data = fPlot->AutoScaleAxis(fPlot->BottomAxis());
    if (!data) data = fPlot->AutoScaleAxis(fPlot->TopAxis());
    if (data) fPlot->Invalidate();
}

void Tsp_DataSeries::SetYAxis(Tsp_WhatYAxis axis) {
    if (axis == fWYA) return;
    fWYA = axis;
    if (!fPlot) return;
    bool data = fPlot->AutoScaleAxis(fPlot->LeftAxis());
    if (!data) data = fPlot->AutoScaleAxis(fPlot->RightAxis());
    if (data) fPlot->Invalidate();
}

void Tsp_DataSeries::SetLegend(const std::string& legend) {
    if (legend == fLegend) return;
    fLegend = legend;
    LegendChanged();
}

void Tsp_DataSeries::BringToFront() {
    if (fPlot) fPlot->MoveSeries(this, true);
}

void Tsp_DataSeries::SendToBack() {
    if (fPlot) fPlot->MoveSeries(this, false);
}

void Tsp_DataSeries::NotifyPlot(TNotifyKind kind) {
    if (!fActive || !fPlot) return;
    if (kind == TNotifyKind::Data)
        fPlot->SeriesChanged(this);
    else
        fPlot->InvalidateField();
}

// --- point store -----------------------------------------------------------

Tsp_XYDataSeries::Tsp_XYDataSeries() {
    fActive = true;
    resizeStorage(fCapacity);
    fLineAttr.fOnChange = [this](Tsp_CustomLineAttr* sender) { AttrChanged(sender); };
}

Tsp_XYDataSeries::~Tsp_XYDataSeries() { fLineAttr.fOnChange = nullptr; }

// Storage for logical indices 0..highBound behind the start offset.
void Tsp_XYDataSeries::resizeStorage(int highBound) {
    if (highBound < fCapacity && fStart > 0) {
        std::memmove(fX.data(), fX.data() + fStart, static_cast<std::size_t>(fPN) * sizeof(double));
        std::memmove(fY.data(), fY.data() + fStart, static_cast<std::size_t>(fPN) * sizeof(double));
        fStart = 0;
    }
    fCapacity = highBound;
    const auto needed = static_cast<std::size_t>(fStart + fCapacity + 1);
    if (fX.size() < needed || fStart == 0) {
        fX.resize(needed);
        fY.resize(needed);
    }
}

void Tsp_XYDataSeries::ensureTail() {
    // Once the dropped points in front take up half the storage (at most
    // kMaxDroppedInFront points), move the points back to the start: a full
    // day of history then carries 5 % dead storage instead of 50 %, for one
    // memmove every few thousand drops.
    if (fStart > 0 && fStart >= std::min((fCapacity + 1) / 2, kMaxDroppedInFront)) {
        std::memmove(fX.data(), fX.data() + fStart, static_cast<std::size_t>(fPN) * sizeof(double));
        std::memmove(fY.data(), fY.data() + fStart, static_cast<std::size_t>(fPN) * sizeof(double));
        fStart = 0;
    }
    const auto needed = static_cast<std::size_t>(fStart + fCapacity + 1);
    if (fX.size() < needed) {
        fX.resize(needed);
        fY.resize(needed);
    }
}

void Tsp_XYDataSeries::Grow() { resizeStorage(fCapacity + fInc); }

void Tsp_XYDataSeries::GrowFor(int n) { resizeStorage(fCapacity + fInc * (n / fInc + 1)); }

void Tsp_XYDataSeries::AdjustCapacity() {
    if (fSource) return;
    const int target = fInc * (fPN / fInc + 1);
    if (target != fCapacity) resizeStorage(target);
}

void Tsp_XYDataSeries::SetCapacity(int c) {
    if (fSource) return;
    if (c < fPN) {
        fPN = std::max(c, 0);
        AdjustCapacity();
        ValidMinMax = false;
        if (CanNotify()) NotifyPlot(TNotifyKind::Data);
        return;
    }
    const int target = fInc * (c / fInc + 1);
    if (target != fCapacity) resizeStorage(target);
}

namespace {

// Takes value v into an extreme and the count of points that hold it.
void takeMin(double v, double& extreme, int& count) {
    if (v < extreme) {
        extreme = v;
        count = 1;
    } else if (v == extreme) {
        ++count;
    }
}

void takeMax(double v, double& extreme, int& count) {
    if (v > extreme) {
        extreme = v;
        count = 1;
    } else if (v == extreme) {
        ++count;
    }
}

}  // namespace

void Tsp_XYDataSeries::UpdateMinMax(double x, double y) {
    if (fPN == 0) {
        XMin = XMax = x;
        YMin = YMax = y;
        XMinCount = XMaxCount = YMinCount = YMaxCount = 1;
        ValidMinMax = true;
        return;
    }
    if (!ValidMinMax) return;
    takeMin(x, XMin, XMinCount);
    takeMax(x, XMax, XMaxCount);
    takeMin(y, YMin, YMinCount);
    takeMax(y, YMax, YMaxCount);
}

void Tsp_XYDataSeries::RecalcMinMax() {
    if (fPN <= 0) return;
    XMin = XMax = GetX(0);
    YMin = YMax = GetY(0);
    XMinCount = XMaxCount = YMinCount = YMaxCount = 1;
    for (int i = 1; i < fPN; ++i) {
        const double x = GetX(i), y = GetY(i);
        takeMin(x, XMin, XMinCount);
        takeMax(x, XMax, XMaxCount);
        takeMin(y, YMin, YMinCount);
        takeMax(y, YMax, YMaxCount);
    }
    ValidMinMax = true;
}

// The point (x, y) leaves: the extremes stay valid while other points still
// hold them.
void Tsp_XYDataSeries::forgetPoint(double x, double y, int next) {
    if (!ValidMinMax) return;
    if (std::isnan(x) || std::isnan(y)) {
        ValidMinMax = false;
        return;
    }
    // Points in x order: the x extremes are the ends, and the next point
    // becomes the first.
    if (fSorted && fPN > 1) {
        XMin = GetX(next);
        XMax = GetX(fPN - 2 + next);
        XMinCount = XMaxCount = 1;
    } else {
        if (x == XMin && --XMinCount <= 0) ValidMinMax = false;
        if (x == XMax && --XMaxCount <= 0) ValidMinMax = false;
    }
    if (y == YMin && --YMinCount <= 0) ValidMinMax = false;
    if (y == YMax && --YMaxCount <= 0) ValidMinMax = false;
}

bool Tsp_XYDataSeries::GetXMin(double& v) {
    if (fPN == 0) return false;
    if (!ValidMinMax) RecalcMinMax();
    v = XMin;
    return true;
}

bool Tsp_XYDataSeries::GetXMax(double& v) {
    if (fPN == 0) return false;
    if (!ValidMinMax) RecalcMinMax();
    v = XMax;
    return true;
}

bool Tsp_XYDataSeries::GetYMin(double& v) {
    if (fPN == 0) return false;
    if (!ValidMinMax) RecalcMinMax();
    v = YMin;
    return true;
}

bool Tsp_XYDataSeries::GetYMax(double& v) {
    if (fPN == 0) return false;
    if (!ValidMinMax) RecalcMinMax();
    v = YMax;
    return true;
}

void Tsp_XYDataSeries::NotifyAndUpdate() {
    if (!CanNotify()) return;
    NotifyPlot(TNotifyKind::Data);
    fPlot->Update();
}

void Tsp_XYDataSeries::storePoint(double aX, double aY) {
    if (fPN >= fCapacity) Grow();
    ensureTail();
    if (fPN > 0 && aX < GetX(fPN - 1) && fSorted) {
        fSorted = false;
        ValidMinMax = false;  // the x counts were kept as ends only: count them again
    }
    fX[static_cast<std::size_t>(fStart + fPN)] = aX;
    fY[static_cast<std::size_t>(fStart + fPN)] = aY;
    UpdateMinMax(aX, aY);
    ++fPN;
}

void Tsp_XYDataSeries::AddXY(double aX, double aY) {
    if (fSource) return;
    storePoint(aX, aY);
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::InsertXY(int i, double aX, double aY) {
    if (fSource) return;
    if (i < 0 || i > fPN) return;
    if (i == fPN) {
        AddXY(aX, aY);
        return;
    }
    if (fPN >= fCapacity) Grow();
    ensureTail();
    double* x = fX.data() + fStart;
    double* y = fY.data() + fStart;
    std::memmove(x + i + 1, x + i, static_cast<std::size_t>(fPN - i) * sizeof(double));
    std::memmove(y + i + 1, y + i, static_cast<std::size_t>(fPN - i) * sizeof(double));
    x[i] = aX;
    y[i] = aY;
    if ((i > 0 && aX < x[i - 1]) || aX > x[i + 1]) fSorted = false;
    UpdateMinMax(aX, aY);
    ++fPN;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::ReplaceXY(int i, double aX, double aY) {
    if (fSource) return;
    if (i < 0 || i >= fPN) return;
    fX[static_cast<std::size_t>(fStart + i)] = aX;
    fY[static_cast<std::size_t>(fStart + i)] = aY;
    if ((i > 0 && aX < GetX(i - 1)) || (i + 1 < fPN && aX > GetX(i + 1))) fSorted = false;
    ValidMinMax = false;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::ScaleY(double factor) {
    if (fSource) return;
    if (fPN <= 0 || factor == 1) return;
    for (int i = 0; i < fPN; ++i) fY[static_cast<std::size_t>(fStart + i)] *= factor;
    ValidMinMax = false;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::Delete(int i) {
    if (fSource) return;
    if (i < 0 || i >= fPN) return;
    if (i == 0 && fPN > 1)
        forgetPoint(GetX(0), GetY(0), 1);
    else
        ValidMinMax = false;
    if (i == 0) {
        ++fStart;  // the oldest point goes in constant time
    } else if (i < fPN - 1) {
        double* x = fX.data() + fStart;
        double* y = fY.data() + fStart;
        std::memmove(x + i, x + i + 1, static_cast<std::size_t>(fPN - i - 1) * sizeof(double));
        std::memmove(y + i, y + i + 1, static_cast<std::size_t>(fPN - i - 1) * sizeof(double));
    }
    --fPN;
    if (fPN == 0) fStart = 0;
    ensureTail();
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::DeleteRange(int i1, int i2) {
    if (fSource) return;
    if (i1 > i2) std::swap(i1, i2);
    if (i1 < 0 || i1 >= fPN) return;
    ValidMinMax = false;
    if (i2 >= fPN - 1) {
        fPN = i1;
        return;
    }
    double* x = fX.data() + fStart;
    double* y = fY.data() + fStart;
    const int tail = fPN - i2 - 1;
    std::memmove(x + i1, x + i2 + 1, static_cast<std::size_t>(tail) * sizeof(double));
    std::memmove(y + i1, y + i2 + 1, static_cast<std::size_t>(tail) * sizeof(double));
    fPN -= i2 - i1 + 1;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::AddXYArrays(const double* pX, const double* pY, int n) {
    if (fSource) return;
    if (n <= 0) return;
    if (fPN + n >= fCapacity) GrowFor(n);
    ensureTail();
    const int old = fPN;
    std::memcpy(fX.data() + fStart + old, pX, static_cast<std::size_t>(n) * sizeof(double));
    std::memcpy(fY.data() + fStart + old, pY, static_cast<std::size_t>(n) * sizeof(double));
    for (int i = 0; i < n && fSorted; ++i)
        if (GetX(old + i) < (old + i > 0 ? GetX(old + i - 1) : GetX(old + i))) fSorted = false;
    fPN = old + n;
    if (ValidMinMax && 2 * old > n) {
        for (int i = old; i < fPN; ++i) {
            const double x = GetX(i), y = GetY(i);
            if (x < XMin) XMin = x;
            else if (x > XMax) XMax = x;
            if (y < YMin) YMin = y;
            else if (y > YMax) YMax = y;
        }
    } else {
        ValidMinMax = false;
    }
    if (CanNotify()) NotifyPlot(TNotifyKind::Data);
}

void Tsp_XYDataSeries::Clear() {
    if (fSource) return;
    const bool had = fPN > 0;
    fPN = 0;
    fStart = 0;
    fSorted = true;
    if (fActive && had && CanNotify()) NotifyPlot(TNotifyKind::Data);
}

bool Tsp_XYDataSeries::xValuesSorted() const {
    for (int i = 1; i < fPN; ++i)
        if (GetX(i) < GetX(i - 1)) return false;
    return true;
}

void Tsp_XYDataSeries::ShowPoints(const ITsp_PointSource* source) {
    fSource = source;
    fPN = 0;
    fStart = 0;
    fSorted = true;
    ValidMinMax = false;
    if (fSource)
        PointsChanged();
    else if (CanNotify())
        NotifyPlot(TNotifyKind::Data);
}

void Tsp_XYDataSeries::PointAppended() {
    if (!fSource || fSource->PointCount() <= fPN) return;
    const double x = GetX(fPN), y = GetY(fPN);
    if (fPN > 0 && x < GetX(fPN - 1) && fSorted) {
        fSorted = false;
        ValidMinMax = false;
    }
    UpdateMinMax(x, y);
    ++fPN;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::FirstPointDropped(double x, double y) {
    if (!fSource || fPN == 0) return;
    if (fPN > 1)
        forgetPoint(x, y, 0);
    else
        ValidMinMax = false;
    --fPN;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::PointsChanged() {
    if (!fSource) return;
    fPN = fSource->PointCount();
    fSorted = xValuesSorted();
    ValidMinMax = false;
    NotifyAndUpdate();
}

void Tsp_XYDataSeries::SetLockInvalidate(bool lock) {
    if (lock == fLockInvalidate) return;
    fLockInvalidate = lock;
    if (CanNotify()) NotifyPlot(TNotifyKind::Data);
}

void Tsp_XYDataSeries::AttrChanged(void*) {
    if (CanNotify()) NotifyPlot(TNotifyKind::Attributes);
}

void Tsp_XYDataSeries::SetLineAttr(const Tsp_LineAttr& attr) {
    fLineAttr.Assign(attr);
    AttrChanged(&fLineAttr);
}

// --- point attribute -------------------------------------------------------

void Tsp_PointAttr::SetKind(TPointKind k) {
    if (k == fPointType) return;
    fPointType = k;
    changed();
}

void Tsp_PointAttr::SetHSize(int s) {
    if (s < 0) s = 1;
    const int h = s / 2;
    if (h == fHSize) return;
    fHSize = h;
    fHSize1 = h + 1;
    changed();
}

void Tsp_PointAttr::SetVSize(int s) {
    if (s < 0) s = 1;
    const int v = s / 2;
    if (v == fVSize) return;
    fVSize = v;
    fVSize1 = v + 1;
    changed();
}

void Tsp_PointAttr::SetVisible(bool v) {
    if (v == fVisible) return;
    fVisible = v;
    changed();
}

void Tsp_PointAttr::SetBorderWidth(int w) {
    if (w < 0) w = 1;
    w = std::min({w, fHSize, fVSize});
    if (w == fBorderWidth) return;
    fBorderWidth = w;
    changed();
}

void Tsp_PointAttr::SetBorderColor(TColor c) {
    if (c == fBorderColor) return;
    fBorderColor = c;
    changed();
}

void Tsp_PointAttr::SetColor(TColor c) {
    if (c == fBrushColor) return;
    fBrushColor = c;
    changed();
}

void Tsp_PointAttr::SetBrushStyle(TBrushStyle s) {
    if (s == fBrushStyle) return;
    fBrushStyle = s;
    changed();
}

void Tsp_PointAttr::Assign(const Tsp_PointAttr& source) {
    SetKind(source.fPointType);
    SetVisible(source.fVisible);
    SetHSize(source.HSize());
    SetVSize(source.VSize());
    fBrushColor = source.fBrushColor;
    fBrushStyle = source.fBrushStyle;
    changed();
}

}  // namespace vx
