#include "controls/gradient.h"

#include <algorithm>
#include <cmath>

#include "canvas/color_luma.h"

namespace vx {
namespace {

int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

void DrawGradient(Canvas& canvas, const TRect& rect, TColor from, TColor to, TGradientDirection direction,
                  int steps) {
    if (rect.isEmpty()) return;
    if (steps < 2) {
        canvas.setBrush({from, TBrushStyle::bsSolid});
        canvas.fillRect(rect);
        return;
    }
    const TColor a = ColorToRGB(from);
    const TColor b = ColorToRGB(to);
    if (a == b) steps = 1;
    const bool reversed = direction == gdBottomToTop || direction == gdRightToLeft;
    const TColor base = reversed ? b : a;
    const TColor other = reversed ? a : b;
    const int baseRgb[3] = {redOf(base), greenOf(base), blueOf(base)};
    const int delta[3] = {redOf(other) - baseRgb[0], greenOf(other) - baseRgb[1], blueOf(other) - baseRgb[2]};

    const bool vertical = direction == gdTopToBottom || direction == gdBottomToTop;
    const int startEdge = vertical ? rect.top : rect.left;
    const int farEdge = vertical ? rect.bottom : rect.right;
    const int extent = farEdge - startEdge;
    const int n = std::max(2, std::min(steps, extent));
    const double band = static_cast<double>(extent) / n;
    if (band <= 0) return;
    for (int i = 0; i < n; ++i) {
        const int start = roundHalfEven(startEdge + i * band);
        const int end = std::min(roundHalfEven(start + band) + 1, farEdge);
        const TColor color = rgbColor(baseRgb[0] + MulDiv(i, delta[0], n), baseRgb[1] + MulDiv(i, delta[1], n),
                                      baseRgb[2] + MulDiv(i, delta[2], n));
        canvas.setBrush({color, TBrushStyle::bsSolid});
        canvas.fillRect(vertical ? TRect{rect.left, start, rect.right, end} : TRect{start, rect.top, end, rect.bottom});
    }
}

TPixmap GreyImage(const TPixmap& source) {
    TPixmap grey(source.width, source.height);
    grey.scale = source.scale;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const std::uint32_t p = source.pixel(x, y);
            const int alpha = static_cast<int>(p >> 24);
            // Composed onto white first, as the picture is drawn on a white work bitmap.
            auto over = [alpha](int c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
            const int r = over(static_cast<int>((p >> 16) & 0xFF));
            const int g = over(static_cast<int>((p >> 8) & 0xFF));
            const int b = over(static_cast<int>(p & 0xFF));
            const auto v = static_cast<std::uint32_t>(std::min(255, roundHalfEven(0.299 * r + 0.587 * g + 0.114 * b)));
            grey.setPixel(x, y, 0xFF000000u | (v << 16) | (v << 8) | v);
        }
    }
    return grey;
}

}  // namespace vx
