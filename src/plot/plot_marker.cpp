#include "plot/plot_marker.h"

#include "plot/xy_plot.h"

namespace vx {

Tsp_PlotMarker::~Tsp_PlotMarker() {
    if (fPlot) fPlot->RemoveMarker(this, fWhen);
}

void Tsp_PlotMarker::takeAxes() {
    fXAx = fPlot ? &(fWXA == dsxTop ? fPlot->TopAxis() : fPlot->BottomAxis()) : nullptr;
    fYAx = fPlot ? &(fWYA == dsyRight ? fPlot->RightAxis() : fPlot->LeftAxis()) : nullptr;
}

void Tsp_PlotMarker::SetPlot(Tsp_XYPlot* plot) {
    if (plot == fPlot) return;
    if (fPlot) fPlot->RemoveMarker(this, fWhen);
    fPlot = plot;
    takeAxes();
    if (fPlot) fPlot->AddMarker(this, fWhen);
}

void Tsp_PlotMarker::SetXAxis(Tsp_WhatXAxis axis) {
    fWXA = axis;
    takeAxes();
    changed();
}

void Tsp_PlotMarker::SetYAxis(Tsp_WhatYAxis axis) {
    fWYA = axis;
    takeAxes();
    changed();
}

void Tsp_PlotMarker::SetWhenDraw(TMarkerWhen when) {
    if (when == fWhen) return;
    if (fPlot) fPlot->RemoveMarker(this, fWhen);
    fWhen = when;
    if (fPlot) fPlot->AddMarker(this, fWhen);
}

void Tsp_PlotMarker::SetVisible(bool visible) {
    if (visible == fVisible) return;
    fVisible = visible;
    changed();
}

void Tsp_PlotMarker::BringToFront() {
    if (fPlot) fPlot->MoveMarker(this, fWhen, true);
}

void Tsp_PlotMarker::SendToBack() {
    if (fPlot) fPlot->MoveMarker(this, fWhen, false);
}

void Tsp_PlotMarker::changed() {
    if (fPlot) fPlot->InvalidateParts(false, false, true);
}

}  // namespace vx
