#include <gtest/gtest.h>

#include "sysinfo/format_settings.h"
#include "watcher/display_helpers.h"
#include "watcher/interface_pictures.h"

namespace vx {
namespace {

TEST(DisplayHelpersTest, InterfacePictureChoice) {
    struct Case {
        std::uint32_t type, status;
        int image;
    };
    const Case cases[] = {
        {6, 2, 0},  {6, 4, 7},    {6, 5, 7},    {9, 5, 7},    {71, 5, 8},  {237, 5, 8}, {1, 5, 1},
        {23, 5, 2}, {37, 5, 3},   {144, 5, 4},  {15, 5, 9},   {24, 5, 10}, {131, 5, 11}, {243, 5, 12},
        {244, 4, 12}, {53, 5, 0}, {24, 3, 0},   {0, 5, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(GetInterfaceImageIndex(c.type, c.status), c.image) << c.type << "/" << c.status;
}

struct ValueCase {
    int units;
    double value;
    const char* text;
};

class FormatValueTest : public ::testing::Test {
protected:
    TFormatSettings saved = FormatSettings;
    void TearDown() override { FormatSettings = saved; }
};

TEST_F(FormatValueTest, StepsAndRounding) {
    FormatSettings.DecimalSeparator = ".";
    const ValueCase cases[] = {
        {0, 0, "0.00 B"},
        {1, 0, "0.00 bps"},
        {0, 1023.4, "1023.40 B"},        // rounds down: still bytes
        {0, 1023.5, "1.00 KB"},          // the half rounds to the even 1024
        {0, 1536, "1.50 KB"},
        {0, 1048575.0, "1024.00 KB"},
        {0, 1048576.0, "1.00 MB"},
        {0, 1073741824.0, "1.00 GB"},
        {0, 5.5 * 1073741824.0, "5.50 GB"},
        {0, -1, "0.00 GB"},
        {0, -2e9, "-1.86 GB"},
        {1, 125, "1.00 Kbps"},
        {1, 124.9, "999.20 bps"},
        {1, 125000, "1.00 Mbps"},
        {1, 125000000, "1.00 Gbps"},
        {1, -10, "-80.00 bps"},
        {2, 10, ""},
        {-1, 10, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatValue(c.units, c.value), c.text) << c.units << " " << c.value;
    EXPECT_EQ(FormatSize(1536), "1.50 KB");
}

TEST_F(FormatValueTest, UserDecimalSeparator) {
    FormatSettings.DecimalSeparator = ",";
    EXPECT_EQ(FormatValue(0, 1536), "1,50 KB");
    EXPECT_EQ(FormatValue(1, 124.9), "999,20 bps");
    FormatSettings.ThousandSeparator = ".";
    EXPECT_EQ(FormatThousands(1500), "1.500");
    EXPECT_EQ(FormatThousands(65535), "65.535");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(-1234567), "-1.234.567");
}

TEST(InterfacePicturesTest, SizesAndEmptyPictures) {
    ASSERT_EQ(InterfacePictures16().size(), 15u);
    ASSERT_EQ(InterfacePictures32().size(), 15u);
    auto opaquePixels = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
        return n;
    };
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(InterfacePictures16()[i].size(), QSize(16, 16));
        EXPECT_EQ(InterfacePictures32()[i].size(), QSize(32, 32));
        EXPECT_GT(opaquePixels(InterfacePictures32()[i]), 20) << i;
        const bool empty16 = i == 0 || i == 8 || i == 14;
        EXPECT_EQ(opaquePixels(InterfacePictures16()[i]) == 0, empty16) << i;
    }
}

}  // namespace
}  // namespace vx
