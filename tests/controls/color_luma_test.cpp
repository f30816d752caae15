#include <gtest/gtest.h>

#include "canvas/color_luma.h"

namespace vx {
namespace {

int luminance(TColor c) { return std::max({redOf(c), greenOf(c), blueOf(c)}) + std::min({redOf(c), greenOf(c), blueOf(c)}); }

TEST(ColorLumaTest, LighterDarkerAndTheEnds) {
    const TColor slate = 0x63524B;
    EXPECT_EQ(AdjustLuma(slate, 0), slate);
    EXPECT_EQ(AdjustLuma(slate, 1000), clWhite);
    EXPECT_EQ(AdjustLuma(slate, -1000), clBlack);
    EXPECT_GT(luminance(AdjustLuma(slate, 200)), luminance(slate));
    EXPECT_LT(luminance(AdjustLuma(slate, -200)), luminance(slate));
    EXPECT_EQ(AdjustLuma(clWhite, -1), clWhite);  // the caption colours' -L-1 changes nothing visible
    EXPECT_EQ(AdjustLuma(clBlack, -1), clBlack);
    const TColor grey = AdjustLuma(0x808080, 500);  // grey stays grey
    EXPECT_EQ(redOf(grey), greenOf(grey));
    EXPECT_EQ(greenOf(grey), blueOf(grey));
    // Scaled: halfway to white; unscaled: a fixed step of the range.
    EXPECT_NEAR(redOf(AdjustLuma(clBlack, 500)), 128, 1);
    EXPECT_NEAR(redOf(ColorAdjustLuma(0x404040, 250, false)), 0x40 + 64, 2);
}

TEST(ColorLumaTest, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, result;
    };
    for (const Case t : {Case{1, 1, 2, 1}, Case{-1, 1, 2, -1}, Case{3, 255, 100, 8}, Case{99, 255, 100, 252},
                         Case{-11, 96, -11, 96}, Case{5, 5, 0, -1}, Case{7, 2, 4, 4}})
        EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.result) << t.a << "*" << t.b << "/" << t.c;
}

}  // namespace
}  // namespace vx
