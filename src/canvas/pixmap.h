#pragma once

#include <cstdint>
#include <vector>

namespace vx {

// A plain 32-bit image (0xAARRGGBB per pixel, rows top to bottom) that the
// core draws with; backends convert it to their own image type.
struct TPixmap {
    int width = 0;   // in pixels
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // Pixels per drawing unit: 2 for a picture made for HiDPI screens,
    // drawn at width / 2 by height / 2 units with all its pixels.
    int scale = 1;

    TPixmap() = default;
    TPixmap(int w, int h, std::uint32_t fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    bool isNull() const { return width <= 0 || height <= 0; }
    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void setPixel(int x, int y, std::uint32_t argb) { pixels[static_cast<std::size_t>(y) * width + x] = argb; }
    friend bool operator==(const TPixmap&, const TPixmap&) = default;
};

}  // namespace vx
