#include "canvas/canvas.h"

namespace vx {

void Canvas::lineTo(int x, int y) {
    const TPoint to{x, y};
    drawLine(FPenPos, to);
    FPenPos = to;
}

void Canvas::segments(std::span<const TPoint> points) {
    for (std::size_t i = 1; i < points.size(); ++i) polyline(points.subspan(i - 1, 2));
}

}  // namespace vx
