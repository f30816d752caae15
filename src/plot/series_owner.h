#pragma once

// What a data series needs from the plot that draws it.

#include "canvas/canvas.h"

namespace vx {

class Tsp_Axis;
class Tsp_DataSeries;

class ITsp_SeriesOwner {
public:
    virtual ~ITsp_SeriesOwner() = default;
    virtual void AddSeries(Tsp_DataSeries* series) = 0;
    virtual void RemoveSeries(Tsp_DataSeries* series) = 0;
    // A series' data changed: re-derive automatic ranges and invalidate.
    virtual void SeriesChanged(Tsp_DataSeries* series) = 0;
    // A series' look changed: only the field needs redrawing.
    virtual void InvalidateField() = 0;
    virtual void Invalidate() = 0;
    // Repaints at once what is pending.
    virtual void Update() = 0;
    // Marks the buffered picture stale (points drawn straight on the surface).
    virtual void InvalidateBuffer() = 0;
    virtual bool AutoScaleAxis(Tsp_Axis& axis) = 0;
    virtual Tsp_Axis& BottomAxis() = 0;
    virtual Tsp_Axis& TopAxis() = 0;
    virtual Tsp_Axis& LeftAxis() = 0;
    virtual Tsp_Axis& RightAxis() = 0;
    // The surface being drawn on, and the field rectangle (right and bottom
    // exclusive).
    virtual Canvas* DCanvas() = 0;
    virtual TRect FieldRect() const = 0;
    virtual void MoveSeries(Tsp_DataSeries* series, bool toFront) = 0;
};

}  // namespace vx
