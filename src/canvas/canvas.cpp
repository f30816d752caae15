#include "canvas/canvas.h"

namespace vx {

void Canvas::lineTo(int x, int y) {
    const TPoint to{x, y};
    drawLine(penPos_, to);
    penPos_ = to;
}

}  // namespace vx
