#pragma once

// The drawing pieces of the caption bar that need no window: the banded
// gradient fill and the grey version of a picture.

#include "canvas/canvas.h"

namespace vx {

enum TGradientDirection { gdTopToBottom, gdBottomToTop, gdLeftToRight, gdRightToLeft };

// Fills rect with `steps` solid bands from `from` to `to`. Fewer than two
// steps fill with `from`; equal colours give two bands of that colour; there
// are never more bands than pixels along the direction, and the last band
// reaches the far edge. Band i has from + MulDiv(i, to - from, n) per
// channel (counted from the far side for the two reversed directions).
void DrawGradient(Canvas& canvas, const TRect& rect, TColor from, TColor to, TGradientDirection direction,
                  int steps);

// Each pixel becomes Round(0.299 R + 0.587 G + 0.114 B) in all three
// channels, opaque; transparent pixels of the source count as white.
TPixmap GreyImage(const TPixmap& source);

}  // namespace vx
