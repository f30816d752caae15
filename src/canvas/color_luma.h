#pragma once

// Lightening and darkening a colour by its luminance, as the desktop's own
// luma adjustment does: the colour goes to hue/luminance/saturation on a
// 0..240 scale, its luminance moves by n tenths of a percent, and it comes
// back to RGB.

#include "canvas/color.h"

namespace vx {

// With scale on, n moves the luminance by n/1000 of the distance to white
// (n > 0) or to black (n < 0); with scale off, by n/1000 of the full range.
// System colours are resolved first; the result is a plain RGB colour.
TColor ColorAdjustLuma(TColor color, int n, bool scale);

// The colour changed by n tenths of a percent with scaling on.
inline TColor AdjustLuma(TColor color, int n) { return ColorAdjustLuma(color, n, true); }

// a * b / c rounded to the nearest integer (halves away from zero); -1 when
// c is 0.
int MulDiv(int a, int b, int c);

}  // namespace vx
