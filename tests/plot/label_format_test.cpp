#include <gtest/gtest.h>

#include "plot/label_format.h"
#include "sysinfo/date_time.h"
#include "sysinfo/format_settings.h"

namespace vx {
namespace {

TEST(LabelFormatTest, DigitPatterns) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = ".";
    FormatSettings.ThousandSeparator = ",";
    struct Case {
        const char* pattern;
        double value;
        const char* text;
    };
    for (const Case c : {Case{"###0.##", 0, "0"}, Case{"###0.##", 2.5, "2.5"}, Case{"###0.##", 1024, "1024"},
                         Case{"###0.##", 1.6, "1.6"}, Case{"###0.##", 0.125, "0.12"}, Case{"###0.##", -3.456, "-3.46"},
                         Case{"###0.##", -0.001, "0"}, Case{"0.00", 2, "2.00"}, Case{"#,##0", 1234567, "1,234,567"},
                         Case{"#.##", 0.5, ".5"}, Case{"000", 7, "007"}})
        EXPECT_EQ(FormatFloatPattern(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
    FormatSettings.DecimalSeparator = ",";
    EXPECT_EQ(FormatFloatPattern("###0.##", 2.5), "2,5");
    FormatSettings = saved;
}

TEST(LabelFormatTest, TimePatterns) {
    const double t = *TryEncodeDateTime({2018, 5, 3, 14, 7, 9, 250});
    EXPECT_EQ(FormatDateTimePattern("hh:mm:ss", t), "14:07:09");
    EXPECT_EQ(FormatDateTimePattern("yyyy-mm-dd", t), "2018-05-03");
    EXPECT_EQ(FormatDateTimePattern("h:nn", t), "14:07");
    EXPECT_EQ(FormatDateTimePattern("hh:mm:ss.zzz", t), "14:07:09.250");
    EXPECT_EQ(FormatDateTimePattern("'at' hh", t), "at 14");
}

}  // namespace
}  // namespace vx
