#include <gtest/gtest.h>

#include "canvas/color.h"

namespace vx {
namespace {

TEST(ColorTest, PlainAndSystemColours) {
    EXPECT_EQ(rgbColor(0x13, 0x17, 0x21), 0x211713);
    EXPECT_EQ(redOf(0x211713), 0x13);
    EXPECT_EQ(blueOf(0x211713), 0x21);
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF00000F));
    EXPECT_LT(clBtnFace, 0);  // system colours are negative, as stored colours hold them
    EXPECT_TRUE(isSystemColor(clHighlight));
    EXPECT_FALSE(isSystemColor(clNone));

    const TColor saved = GetSystemColor(TSysColor::btnFace);
    SetSystemColor(TSysColor::btnFace, 0x123456);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
    SetSystemColor(TSysColor::btnFace, saved);
    EXPECT_EQ(ColorToRGB(4605510), 4605510);
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF0000FE)), clBlack);  // no such system colour
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
}

}  // namespace
}  // namespace vx
