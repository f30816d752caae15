#pragma once

// Where a restored window goes when its stored place lies off the screens
// of now (another DPI, another resolution, a monitor unplugged): fully onto
// the nearest screen's available area.

#include <QPoint>
#include <QRect>
#include <vector>

namespace vx {

// The top-left corner that puts `frame` fully inside the available area
// that overlaps it most (or, overlapping none, lies nearest to its centre).
// A frame larger than that area keeps its top-left corner on it. With no
// areas the frame stays where it is.
QPoint FitOntoScreens(const QRect& frame, const std::vector<QRect>& availableAreas);

}  // namespace vx
