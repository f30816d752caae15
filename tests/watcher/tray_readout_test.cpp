// The tray readout: short rate texts, and their picture at the sizes tray
// hosts use, fixed in width, within the icon, readable on light and dark
// panels, without memory growing as it is redrawn.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QIcon>
#include <QPixmap>
#include <cmath>

#include "support/wcag_contrast.h"
#include "watcher/tray_readout.h"

// The live heap: the sanitizer's own count where it keeps the heap.
#if defined(__SANITIZE_ADDRESS__)
#define VX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_ASAN 1
#endif
#endif
#ifdef VX_ASAN
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define VX_LIVE_HEAP() __sanitizer_get_current_allocated_bytes()
#endif
#ifndef VX_LIVE_HEAP
#define VX_LIVE_HEAP() static_cast<std::size_t>(::mallinfo2().uordblks)
#endif

namespace vx {
namespace {

TEST(TrayReadoutTest, RatesInThreeFiguresAndAUnitLetter) {
    const struct {
        double bytesPerSecond;
        int units;
        const char* text;
    } cases[] = {
        {0, 0, "0B"},
        {1, 0, "1B"},
        {999, 0, "999B"},
        {999.6, 0, "1.0K"},
        {1023, 0, "1.0K"},
        {1024, 0, "1.0K"},
        {1536, 0, "1.5K"},
        {10.2 * 1024, 0, "10K"},
        {86016, 0, "84K"},
        {1023 * 1024, 0, "1.0M"},
        {1.2 * 1048576, 0, "1.2M"},
        {512 * 1048576.0, 0, "512M"},
        {1.25e9, 0, "1.2G"},
        {-5, 0, "0B"},
        {0, 1, "0b"},
        {125, 1, "1.0k"},          // 1000 bits
        {10500, 1, "84k"},         // 84,000 bits
        {125e3, 1, "1.0M"},
        {1.25e9, 1, "10G"},        // 10 Gbit/s
        {124.9, 1, "999b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytesPerSecond);
        EXPECT_EQ(ShortRate(c.bytesPerSecond, c.units), c.text);
        EXPECT_LE(ShortRate(c.bytesPerSecond, c.units).size(), 4u);
    }
}

using test::Contrast;

// How many pixels of `image` (over `panel`) are close to `ink`.
int inkPixels(const QImage& image, const QColor& panel, const QColor& ink, int fromY, int toY) {
    int n = 0;
    for (int y = fromY; y < toY; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const double a = c.alphaF();
            const QColor over = QColor::fromRgbF(c.redF() + panel.redF() * (1 - a), c.greenF() + panel.greenF() * (1 - a),
                                                 c.blueF() + panel.blueF() * (1 - a));
            if (Contrast(over, ink) < 1.5 && Contrast(over, panel) >= 4.5) ++n;
        }
    return n;
}

// Rates from nothing to 10 Gbit/s, in bytes and bits, at each size and
// ratio, on a light and a dark panel.
TEST(TrayReadoutTest, ThePictureFitsAndReadsAtEverySize) {
    const double rates[] = {0, 1000, 86016, 1.2 * 1048576, 999 * 1048576.0, 1.25e9};
    for (const QColor panel : {QColor(0xF0, 0xF0, 0xF0), QColor(0x2B, 0x2B, 0x2B), QColor(0x30, 0x60, 0xA0)}) {
        const QColor ink = ReadableOn(panel);
        EXPECT_GE(Contrast(ink, panel), 4.5) << panel.name().toStdString();
        for (const int units : {0, 1})
            for (const double rate : rates) {
                const TTrayReadout readout{ShortRate(rate, units), ShortRate(rate / 9, units), ink};
                for (const int size : {16, 22, 24, 32})
                    for (const qreal ratio : {1.0, 2.0}) {
                        SCOPED_TRACE(readout.Download + "/" + readout.Upload + " at " + std::to_string(size) + "x" +
                                     std::to_string(ratio) + " on " + panel.name().toStdString());
                        const QImage image = DrawTrayReadout(readout, size, ratio);
                        ASSERT_EQ(image.size(), QSize(size, size) * ratio);
                        for (int line = 0; line < 2; ++line) {
                            const QRectF ink = TrayReadoutLineRect(line ? readout.Upload : readout.Download, line, size);
                            EXPECT_TRUE(QRectF(0, 0, size, size).contains(ink)) << "clipped ink";
                            // Each line shows, in the ink colour, on this panel.
                            const int half = image.height() / 2;
                            EXPECT_GT(inkPixels(image, panel, readout.Ink, line * half, (line + 1) * half), 3);
                        }
                    }
            }
    }
    // The icon carries every size, for the host to pick.
    const QIcon icon = DrawTrayReadoutIcon({"1.2M", "84K", Qt::white}, 1.0);
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}}));
    // Right-aligned to one width: the units stand in one column whatever the figures.
    EXPECT_DOUBLE_EQ(TrayReadoutLineRect("1.2M", 0, 22).right(), TrayReadoutLineRect("84K", 0, 22).right());
    EXPECT_LE(TrayReadoutLineRect("888M", 0, 22).width(), 22.0);
}

// Redrawn at every tick all day: the heap does not grow with the pictures.
TEST(TrayReadoutTest, TenThousandUpdatesKeepTheHeapLevel) {
    QIcon icon;
    auto update = [&](int i) {
        const TTrayReadout readout{ShortRate(i * 997.0, 0), ShortRate(i * 13.0, 0), Qt::white};
        icon = DrawTrayReadoutIcon(readout, 1.0);
    };
    for (int i = 0; i < 200; ++i) update(i);
    const std::size_t before = VX_LIVE_HEAP();
    for (int i = 200; i < 10200; ++i) update(i);  // about 8 s under the sanitizers
    const std::size_t after = VX_LIVE_HEAP();
    EXPECT_LT(after, before + 512 * 1024) << "live heap grew by " << (after - before) << " bytes";
}

}  // namespace
}  // namespace vx
