#pragma once

// The plot's off-screen picture: an image of the control's size with a
// canvas bound to it. On a HiDPI screen it has the screen's pixels (the
// control's size times the device pixel ratio), so text and lines are drawn
// sharp instead of being scaled up.

#include <QImage>
#include <memory>

#include "canvas/painter_canvas.h"

namespace vx {

class Tsp_MemBitmap {
public:
    Tsp_MemBitmap(int w, int h, qreal ratio = 1.0) { Recreate(w, h, ratio); }
    void Recreate(int w, int h, qreal ratio = 1.0);
    bool Valid() const { return !FImage.isNull() && FCanvas != nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    qreal Ratio() const { return FRatio; }
    Canvas& GetCanvas() { return *FCanvas; }
    // The picture, with every drawn pixel in place (the painter is flushed).
    const QImage& Image();

private:
    QImage FImage;
    std::unique_ptr<TPainterCanvas> FCanvas;
    int FWidth = 0, FHeight = 0;
    qreal FRatio = 1.0;
};

}  // namespace vx
