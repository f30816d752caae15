#include "canvas/color_luma.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vx {
namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;

struct Hls {
    int h, l, s;
};

Hls toHls(int r, int g, int b) {
    const int maxc = std::max({r, g, b});
    const int minc = std::min({r, g, b});
    Hls out{0, ((maxc + minc) * kHlsMax + kRgbMax) / (2 * kRgbMax), 0};
    if (maxc == minc) {
        out.h = kHlsMax * 2 / 3;  // undefined hue
        return out;
    }
    const int delta = maxc - minc;
    if (out.l <= kHlsMax / 2)
        out.s = (delta * kHlsMax + (maxc + minc) / 2) / (maxc + minc);
    else
        out.s = (delta * kHlsMax + (2 * kRgbMax - maxc - minc) / 2) / (2 * kRgbMax - maxc - minc);
    const int rd = ((maxc - r) * (kHlsMax / 6) + delta / 2) / delta;
    const int gd = ((maxc - g) * (kHlsMax / 6) + delta / 2) / delta;
    const int bd = ((maxc - b) * (kHlsMax / 6) + delta / 2) / delta;
    if (r == maxc) out.h = bd - gd;
    else if (g == maxc) out.h = kHlsMax / 3 + rd - bd;
    else out.h = 2 * kHlsMax / 3 + gd - rd;
    if (out.h < 0) out.h += kHlsMax;
    if (out.h > kHlsMax) out.h -= kHlsMax;
    return out;
}

int hueToRgb(int n1, int n2, int hue) {
    if (hue < 0) hue += kHlsMax;
    if (hue > kHlsMax) hue -= kHlsMax;
    if (hue < kHlsMax / 6) return n1 + ((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2) return n2;
    if (hue < kHlsMax * 2 / 3) return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return n1;
}

TColor fromHls(const Hls& c) {
    if (c.s == 0) {
        const int v = c.l * kRgbMax / kHlsMax;
        return rgbColor(v, v, v);
    }
    const int magic2 = c.l <= kHlsMax / 2 ? (c.l * (kHlsMax + c.s) + kHlsMax / 2) / kHlsMax
                                          : c.l + c.s - (c.l * c.s + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * c.l - magic2;
    auto channel = [&](int hue) {
        return std::clamp((hueToRgb(magic1, magic2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
    };
    return rgbColor(channel(c.h + kHlsMax / 3), channel(c.h), channel(c.h - kHlsMax / 3));
}

}  // namespace

TColor ColorAdjustLuma(TColor color, int n, bool scale) {
    const TColor rgb = ColorToRGB(color);
    if (n == 0) return rgb;
    Hls hls = toHls(redOf(rgb), greenOf(rgb), blueOf(rgb));
    if (scale) {
        if (n > 0)
            hls.l += MulDiv(kHlsMax - hls.l, n, 1000);
        else
            hls.l += MulDiv(hls.l, n, 1000);
    } else {
        hls.l += MulDiv(kHlsMax, n, 1000);
    }
    hls.l = std::clamp(hls.l, 0, kHlsMax);
    return fromHls(hls);
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const double exact = static_cast<double>(product) / c;
    const double rounded = std::round(exact);  // halves away from zero
    if (rounded > 2147483647.0 || rounded < -2147483648.0) return -1;
    return static_cast<int>(rounded);
}

}  // namespace vx
