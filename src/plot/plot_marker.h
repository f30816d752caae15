#pragma once

// Something drawn into a plot's field before or after the series (a line,
// a band, a label). The plot keeps two lists of them, by WhenDraw.

#include "canvas/canvas.h"
#include "plot/data_series.h"

namespace vx {

class Tsp_XYPlot;
class Tsp_Axis;

enum TMarkerWhen { dmBeforeSeries, dmAfterSeries };

class Tsp_PlotMarker {
public:
    virtual ~Tsp_PlotMarker();
    Tsp_PlotMarker() = default;
    Tsp_PlotMarker(const Tsp_PlotMarker&) = delete;
    Tsp_PlotMarker& operator=(const Tsp_PlotMarker&) = delete;

    Tsp_XYPlot* Plot() const { return fPlot; }
    // Attaches to a plot (or detaches with nullptr), into the list of WhenDraw.
    void SetPlot(Tsp_XYPlot* plot);
    TMarkerWhen WhenDraw() const { return fWhen; }
    void SetWhenDraw(TMarkerWhen when);
    bool Visible() const { return fVisible; }
    void SetVisible(bool visible);
    Tsp_WhatXAxis XAxis() const { return fWXA; }
    void SetXAxis(Tsp_WhatXAxis axis);
    Tsp_WhatYAxis YAxis() const { return fWYA; }
    void SetYAxis(Tsp_WhatYAxis axis);
    Tsp_Axis* XAxisObj() const { return fXAx; }
    Tsp_Axis* YAxisObj() const { return fYAx; }
    void BringToFront();
    void SendToBack();
    // The plot tells a marker it is going away.
    void PlotDestroyed() { fPlot = nullptr; }

    // Draws on the plot's current surface, clipped to the field.
    virtual void Draw(Canvas& canvas) = 0;

protected:
    void changed();

    void takeAxes();

    Tsp_XYPlot* fPlot = nullptr;
    TMarkerWhen fWhen = dmBeforeSeries;
    bool fVisible = false;  // new markers are hidden
    Tsp_WhatXAxis fWXA = dsxBottom;
    Tsp_WhatYAxis fWYA = dsyLeft;
    Tsp_Axis* fXAx = nullptr;
    Tsp_Axis* fYAx = nullptr;
};

}  // namespace vx
