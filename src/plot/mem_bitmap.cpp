#include "plot/mem_bitmap.h"

#include <cmath>

namespace vx {

void Tsp_MemBitmap::Recreate(int w, int h, qreal ratio) {
    FCanvas.reset();
    FWidth = w;
    FHeight = h;
    FRatio = ratio > 0 ? ratio : 1.0;
    FImage = w > 0 && h > 0 ? QImage(static_cast<int>(std::ceil(w * FRatio)), static_cast<int>(std::ceil(h * FRatio)),
                                     QImage::Format_RGB32)
                            : QImage();
    FImage.setDevicePixelRatio(FRatio);
    if (!FImage.isNull()) FCanvas = std::make_unique<TPainterCanvas>(&FImage);
}

const QImage& Tsp_MemBitmap::Image() {
    // The painter stays bound between paints; ending and restarting it makes
    // the image complete for copying.
    if (FCanvas) {
        FCanvas.reset();
        FCanvas = std::make_unique<TPainterCanvas>(&FImage);
    }
    return FImage;
}

}  // namespace vx
