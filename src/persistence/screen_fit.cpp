#include "persistence/screen_fit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vx {
namespace {

std::int64_t overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : std::int64_t{both.width()} * both.height();
}

// Squared distance from a point to the nearest point of a rectangle.
std::int64_t distance(const QPoint& p, const QRect& r) {
    const std::int64_t dx = std::max({std::int64_t{r.left()} - p.x(), std::int64_t{0}, std::int64_t{p.x()} - r.right()});
    const std::int64_t dy = std::max({std::int64_t{r.top()} - p.y(), std::int64_t{0}, std::int64_t{p.y()} - r.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

QPoint FitOntoScreens(const QRect& frame, const std::vector<QRect>& availableAreas) {
    const QRect* best = nullptr;
    std::int64_t bestOverlap = 0, bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const QRect& area : availableAreas) {
        if (area.isEmpty()) continue;
        const std::int64_t o = overlap(frame, area);
        const std::int64_t d = distance(frame.center(), area);
        if (o > bestOverlap || (bestOverlap == 0 && o == 0 && d < bestDistance)) {
            best = &area;
            bestOverlap = o;
            bestDistance = d;
        }
    }
    if (!best) return frame.topLeft();
    // Right and bottom first, then left and top, so that the top-left
    // corner (the title bar) stays on the screen when the frame is larger.
    int x = std::min(frame.left(), best->left() + best->width() - frame.width());
    int y = std::min(frame.top(), best->top() + best->height() - frame.height());
    x = std::max(x, best->left());
    y = std::max(y, best->top());
    return {x, y};
}

}  // namespace vx
