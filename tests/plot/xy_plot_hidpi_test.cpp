// The plot on a HiDPI screen (device pixel ratio 2): its off-screen picture
// has the screen's pixels, so lines and text are drawn sharp, not scaled up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "plot/xy_plot.h"
#include "support/fake_link_source.h"
#include "watcher/watcher_panel.h"

namespace vx {
namespace {

TEST(XYPlotHiDpiTest, TheBufferHasTheScreensPixelsAndAGridLineIsOneDevicePixel) {
    Tsp_XYPlot plot;
    plot.resize(200, 120);
    plot.SetFieldColor(clBlack);
    plot.SetBufferedDisplay(true);
    plot.BottomAxis().GridAttr().SetVisible(false);
    plot.LeftAxis().GridAttr().SetVisible(true);
    plot.LeftAxis().GridAttr().SetColor(rgbColor(0xFF, 0, 0));
    plot.LeftAxis().SetMinMax(0, 10);
    plot.show();
    ASSERT_EQ(plot.devicePixelRatioF(), 2.0);

    const QImage image = plot.grab().toImage();
    EXPECT_EQ(image.size(), QSize(400, 240));  // twice the logical size
    const int x = image.width() / 2;
    const auto red = [&](int y) { return image.pixelColor(x, y) == QColor(0xFF, 0, 0); };
    int lines = 0;
    for (int y = 1; y + 1 < image.height(); ++y) {
        if (!red(y)) continue;
        ++lines;
        EXPECT_FALSE(red(y - 1) || red(y + 1)) << "grid line at device row " << y << " is wider than one pixel";
    }
    EXPECT_GE(lines, 3);
}

// The caption bar of a watcher draws its interface picture with the
// screen's pixels: scaled up, neighbouring device pixels would come in
// equal pairs.
TEST(XYPlotHiDpiTest, TheCaptionPictureIsDrawnWithTheScreensPixels) {
    Tfrm_vx_Watcher panel(nullptr, std::make_shared<test::TFakeLinkSource>());
    panel.resize(475, 200);
    panel.Header->SetImageIndex(7);  // the network card
    panel.show();
    const QImage image = panel.Header->grab().toImage();
    ASSERT_EQ(image.width(), 2 * panel.Header->width());
    int differingPairs = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x + 1 < 60 && x + 1 < image.width(); x += 2)
            differingPairs += image.pixel(x, y) != image.pixel(x + 1, y);
    EXPECT_GT(differingPairs, 50) << differingPairs;  // about 95 sharp, 14 scaled up (the text's edge)
}

}  // namespace
}  // namespace vx

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_SCALE_FACTOR", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
