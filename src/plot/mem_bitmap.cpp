#include "plot/mem_bitmap.h"

namespace vx {

void Tsp_MemBitmap::Recreate(int w, int h) {
    FCanvas.reset();
    FWidth = w;
    FHeight = h;
    FImage = w > 0 && h > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage();
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
