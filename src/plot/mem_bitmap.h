#pragma once

// The plot's off-screen picture: an image of the control's size with a
// canvas bound to it.

#include <QImage>
#include <memory>

#include "canvas/painter_canvas.h"

namespace vx {

class Tsp_MemBitmap {
public:
    Tsp_MemBitmap(int w, int h) { Recreate(w, h); }
    void Recreate(int w, int h);
    bool Valid() const { return !FImage.isNull() && FCanvas != nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    Canvas& GetCanvas() { return *FCanvas; }
    // The picture, with every drawn pixel in place (the painter is flushed).
    const QImage& Image();

private:
    QImage FImage;
    std::unique_ptr<TPainterCanvas> FCanvas;
    int FWidth = 0, FHeight = 0;
};

}  // namespace vx
