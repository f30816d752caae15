#pragma once

// Something drawn into a plot's field before or after the series (a line,
// a band, a label). The plot keeps two lists of them, by WhenDraw.

#include "canvas/canvas.h"

namespace vx {

class Tsp_XYPlot;

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
    void BringToFront();
    void SendToBack();
    // The plot tells a marker it is going away.
    void PlotDestroyed() { fPlot = nullptr; }

    // Draws on the plot's current surface, clipped to the field.
    virtual void Draw(Canvas& canvas) = 0;

protected:
    void changed();

    Tsp_XYPlot* fPlot = nullptr;
    TMarkerWhen fWhen = dmBeforeSeries;
    bool fVisible = true;
};

}  // namespace vx
