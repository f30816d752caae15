// The plot on a HiDPI screen (device pixel ratio 2): its off-screen picture
// has the screen's pixels, so lines and text are drawn sharp, not scaled up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "plot/xy_plot.h"

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

}  // namespace
}  // namespace vx

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_SCALE_FACTOR", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
