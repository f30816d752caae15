#include <gtest/gtest.h>

#include "canvas/color_luma.h"
#include "controls/gradient.h"
#include "support/recording_canvas.h"

namespace vx {
namespace {

using Op = test::TRecordingCanvas::Op;

std::vector<test::TRecordingCanvas::Call> fills(TRect r, TColor from, TColor to, TGradientDirection d, int steps) {
    test::TRecordingCanvas canvas;
    DrawGradient(canvas, r, from, to, d, steps);
    return canvas.callsOf(Op::FillRect);
}

TEST(GradientTest, EqualColoursGiveTwoEqualBands) {
    const auto bands = fills({0, 0, 200, 29}, clMoneyGreen, clMoneyGreen, gdTopToBottom, 255);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].brush.color, clMoneyGreen);
    EXPECT_EQ(bands[1].brush.color, clMoneyGreen);
    EXPECT_EQ(bands[0].rect.top, 0);
    EXPECT_EQ(bands[1].rect.bottom, 29);  // the last band reaches the far edge
}

TEST(GradientTest, BlackToWhiteOverAHundredPixels) {
    const auto bands = fills({0, 0, 50, 100}, clBlack, clWhite, gdTopToBottom, 255);
    ASSERT_EQ(bands.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const int v = MulDiv(i, 255, 100);
        EXPECT_EQ(bands[i].brush.color, rgbColor(v, v, v)) << i;
        EXPECT_EQ(bands[i].rect.top, i) << i;
        EXPECT_EQ(bands[i].rect.bottom, std::min(i + 2, 100)) << i;  // each band overlaps the next by one
        EXPECT_EQ(bands[i].rect.left, 0);
        EXPECT_EQ(bands[i].rect.right, 50);
    }
}

TEST(GradientTest, DirectionsAndFewSteps) {
    const auto up = fills({0, 0, 10, 40}, clRed, clBlue, gdBottomToTop, 255);
    ASSERT_FALSE(up.empty());
    EXPECT_EQ(up.front().brush.color, clBlue);  // blue at the top
    EXPECT_EQ(up.front().rect.top, 0);
    EXPECT_GT(redOf(up.back().brush.color), 200);  // red at the bottom
    EXPECT_LT(blueOf(up.back().brush.color), 55);

    const auto across = fills({10, 5, 30, 8}, clBlack, clWhite, gdLeftToRight, 4);
    ASSERT_EQ(across.size(), 4u);
    EXPECT_EQ(across.front().rect, (TRect{10, 5, 16, 8}));
    EXPECT_EQ(across.back().rect.right, 30);
    EXPECT_EQ(fills({10, 5, 30, 8}, clBlack, clWhite, gdRightToLeft, 4).front().brush.color, clWhite);

    const auto plain = fills({0, 0, 10, 10}, clRed, clBlue, gdTopToBottom, 1);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].brush.color, clRed);
    EXPECT_TRUE(fills({0, 0, 0, 10}, clRed, clBlue, gdTopToBottom, 255).empty());
    EXPECT_EQ(fills({0, 0, 10, 1}, clRed, clBlue, gdTopToBottom, 255).size(), 2u);  // at least two bands
}

TEST(GradientTest, GreyImage) {
    TPixmap p(3, 1);
    p.setPixel(0, 0, 0xFFFF0000);  // red
    p.setPixel(1, 0, 0xFFFFFFFF);  // white
    p.setPixel(2, 0, 0x00000000);  // transparent: counts as white
    const TPixmap g = GreyImage(p);
    EXPECT_EQ(g.pixel(0, 0), 0xFF4C4C4Cu);  // Round(0.299 * 255) = 76
    EXPECT_EQ(g.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(g.pixel(2, 0), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vx
