#pragma once

// Data series: points drawn into a plot against one horizontal and one
// vertical axis. Tsp_XYDataSeries stores the points (growing in steps of 32,
// with cached extremes) and tells the plot about changes; Tsp_XYLine draws
// them as connected segments with optional point symbols.
//
// Deleting the first point takes constant time: the points live behind a
// start offset in their storage, so the watcher's add-one, drop-oldest tick
// does not move 86,400 values each time. Capacity reports the logical
// storage as it always grew (steps of 32, never shrunk by deletion).
//
// A series can instead show points kept elsewhere (ShowPoints): its owner
// changes them and tells the series (PointAppended, FirstPointDropped,
// PointsChanged); the series' own editing calls then do nothing.

#include <functional>
#include <string>
#include <vector>

#include "plot/line_attr.h"
#include "plot/point_source.h"
#include "plot/series_owner.h"

namespace vx {

enum Tsp_WhatXAxis { dsxBottom, dsxTop };
enum Tsp_WhatYAxis { dsyLeft, dsyRight };

class Tsp_DataSeries {
public:
    Tsp_DataSeries() = default;
    virtual ~Tsp_DataSeries();
    Tsp_DataSeries(const Tsp_DataSeries&) = delete;
    Tsp_DataSeries& operator=(const Tsp_DataSeries&) = delete;

    ITsp_SeriesOwner* Plot() const { return fPlot; }
    void SetPlot(ITsp_SeriesOwner* plot);
    // The plot tells a series it is going away.
    void PlotDestroyed() { fPlot = nullptr; }
    bool Active() const { return fActive; }
    void SetActive(bool active);
    Tsp_WhatXAxis XAxis() const { return fWXA; }
    void SetXAxis(Tsp_WhatXAxis axis);
    Tsp_WhatYAxis YAxis() const { return fWYA; }
    void SetYAxis(Tsp_WhatYAxis axis);
    const std::string& Legend() const { return fLegend; }
    void SetLegend(const std::string& legend);
    void BringToFront();
    void SendToBack();

    virtual void LegendChanged() {}
    virtual void Draw() = 0;
    virtual bool GetXMin(double& v) = 0;
    virtual bool GetXMax(double& v) = 0;
    virtual bool GetYMin(double& v) = 0;
    virtual bool GetYMax(double& v) = 0;
    virtual void DrawLegendMarker(Canvas&, const TRect&) {}

protected:
    enum class TNotifyKind { Data, Attributes };
    void NotifyPlot(TNotifyKind kind);

    ITsp_SeriesOwner* fPlot = nullptr;
    Tsp_WhatXAxis fWXA = dsxBottom;
    Tsp_WhatYAxis fWYA = dsyLeft;
    bool fActive = false;
    std::string fLegend;
};

class Tsp_XYDataSeries : public Tsp_DataSeries {
public:
    Tsp_XYDataSeries();
    ~Tsp_XYDataSeries() override;

    int Count() const { return fPN; }
    int Capacity() const { return fCapacity; }
    Canvas* CanvasRef() const { return fCanvas; }
    void SetCanvas(Canvas* canvas) { fCanvas = canvas; }

    void AddXY(double aX, double aY);
    void InsertXY(int i, double aX, double aY);
    void ReplaceXY(int i, double aX, double aY);
    // Multiplies every y by `factor` (a change of units): one redraw.
    void ScaleY(double factor);
    void Delete(int i);
    void DeleteRange(int i1, int i2);
    void AddXYArrays(const double* pX, const double* pY, int n);
    void Clear();
    void SetCapacity(int c);
    void AdjustCapacity();

    // Shows `source`'s points instead of the series' own (nullptr: back to
    // its own, empty). The source outlives the series or is unset first.
    void ShowPoints(const ITsp_PointSource* source);
    const ITsp_PointSource* PointSource() const { return fSource; }
    // The source gained a newest point.
    void PointAppended();
    // The source dropped its oldest point, which was (x, y).
    void FirstPointDropped(double x, double y);
    // The source's points changed in any other way.
    void PointsChanged();

    bool GetXMin(double& v) override;
    bool GetXMax(double& v) override;
    bool GetYMin(double& v) override;
    bool GetYMax(double& v) override;

    bool LockInvalidate() const { return fLockInvalidate; }
    void SetLockInvalidate(bool lock);
    virtual void AttrChanged(void* sender);

    double GetX(int i) const { return fSource ? fSource->PointX(i) : fX[static_cast<std::size_t>(fStart + i)]; }
    double GetY(int i) const { return fSource ? fSource->PointY(i) : fY[static_cast<std::size_t>(fStart + i)]; }
    // Whether the x values never decrease (drawing may then skip what lies
    // outside the horizontal range).
    bool XSorted() const { return fSorted; }
    Tsp_LineAttr& LineAttr() { return fLineAttr; }
    void SetLineAttr(const Tsp_LineAttr& attr);

protected:
    bool CanNotify() const { return !fLockInvalidate && fPlot; }
    void NotifyAndUpdate();
    // Appends a point without telling anyone.
    void storePoint(double aX, double aY);
    void UpdateMinMax(double x, double y);
    void RecalcMinMax();
    void Grow();
    void GrowFor(int n);
    void resizeStorage(int highBound);
    // Makes room to write point fPN: compacts the start offset away when the
    // storage behind it is used up.
    void ensureTail();

    Canvas* fCanvas = nullptr;
    int fPN = 0;
    int fCapacity = 32;
    int fInc = 32;
    int fStart = 0;  // index of point 0 in the storage
    std::vector<double> fX, fY;
    const ITsp_PointSource* fSource = nullptr;
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    // How many points hold each extreme: dropping the oldest point keeps the
    // extremes valid unless it held the last copy of one (then they are
    // found again on demand), so a full day of history is not rescanned on
    // every tick.
    int XMinCount = 0, XMaxCount = 0, YMinCount = 0, YMaxCount = 0;
    // The oldest point (x, y) leaves; `next` is the index of the point that
    // becomes the first.
    void forgetPoint(double x, double y, int next);
    // Whether the x values never decrease, counted again.
    bool xValuesSorted() const;
    bool ValidMinMax = false;
    bool fSorted = true;
    Tsp_LineAttr fLineAttr;
    bool fLockInvalidate = false;
};

enum TPointKind { ptRectangle, ptEllipse, ptDiamond, ptCross, ptCustom, ptTriangle, ptDownTriangle };

class Tsp_PointAttr {
public:
    using TNotify = std::function<void(Tsp_PointAttr* sender)>;

    TPointKind Kind() const { return fPointType; }
    void SetKind(TPointKind k);
    int HSize() const { return fHSize + fHSize1; }
    int VSize() const { return fVSize + fVSize1; }
    void SetHSize(int s);
    void SetVSize(int s);
    int eHSize() const { return fHSize; }
    int eVSize() const { return fVSize; }
    int oHSize() const { return fHSize1; }
    int oVSize() const { return fVSize1; }
    bool Visible() const { return fVisible; }
    void SetVisible(bool v);
    int BorderWidth() const { return fBorderWidth; }
    void SetBorderWidth(int w);
    TColor BorderColor() const { return fBorderColor; }
    void SetBorderColor(TColor c);
    TColor Color() const { return fBrushColor; }
    void SetColor(TColor c);
    TBrushStyle BrushStyle() const { return fBrushStyle; }
    void SetBrushStyle(TBrushStyle s);
    // Kind, visibility and sizes through their setters, then fill colour and
    // style; outline width and colour are not copied.
    void Assign(const Tsp_PointAttr& source);

    TNotify fOnChange;

private:
    void changed() {
        if (fOnChange) fOnChange(this);
    }
    TPointKind fPointType = ptRectangle;
    int fHSize = 2, fVSize = 2, fHSize1 = 3, fVSize1 = 3;
    bool fVisible = false;
    int fBorderWidth = 1;
    TColor fBorderColor = clBlack;
    TColor fBrushColor = clWhite;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
};

class Tsp_XYLine : public Tsp_XYDataSeries {
public:
    using TDrawCustomPointEvent = std::function<void(Tsp_XYLine* series, double xv, double yv, int x, int y)>;

    Tsp_XYLine();
    ~Tsp_XYLine() override;

    Tsp_PointAttr& PointAttr() { return fPA; }
    void SetPointAttr(const Tsp_PointAttr& attr) { fPA.Assign(attr); }
    bool DrawingLegendMarker() const { return fDLM; }
    TDrawCustomPointEvent OnDrawCustomPoint;

    void Draw() override;
    void DrawLegendMarker(Canvas& canvas, const TRect& rect) override;
    void AttrChanged(void* sender) override;
    void QuickAddXY(double aX, double aY);

private:
    void drawPoint(int x, int y);
    // The index range worth drawing on the horizontal axis (all points unless sorted).
    std::pair<int, int> visibleRange(const Tsp_Axis& xAxis) const;

    Tsp_PointAttr fPA;
    bool fDLM = false;
    std::vector<TPoint> fRun;  // the points of one paint, kept for the next
};

}  // namespace vx
