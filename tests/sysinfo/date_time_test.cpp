#include <gtest/gtest.h>

#include <cmath>

#include "sysinfo/date_time.h"

namespace vx {
namespace {

TEST(DateTimeTest, KnownDays) {
    struct Case {
        TDateTimeParts parts;
        double value;
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1899, 12, 31, 12, 0, 0, 0}, 1.5},
        {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{2018, 5, 3, 0, 0, 0, 0}, 43223.0},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},  // before day zero the time still counts forward
        {{2000, 2, 29, 18, 0, 0, 0}, 36585.75},
    };
    for (const auto& c : cases) {
        const auto v = TryEncodeDateTime(c.parts);
        ASSERT_TRUE(v);
        EXPECT_DOUBLE_EQ(*v, c.value);
        const auto back = DecodeDateTime(c.value);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->year, c.parts.year);
        EXPECT_EQ(back->month, c.parts.month);
        EXPECT_EQ(back->day, c.parts.day);
        EXPECT_EQ(back->hour, c.parts.hour);
    }
}

TEST(DateTimeTest, OutOfRangeFieldsAreRefused) {
    for (const TDateTimeParts p : {TDateTimeParts{2001, 2, 29}, TDateTimeParts{2018, 0, 1}, TDateTimeParts{0, 1, 1},
                                   TDateTimeParts{10000, 1, 1}, TDateTimeParts{2018, 1, 1, 24},
                                   TDateTimeParts{2018, 1, 1, 0, 60}, TDateTimeParts{2018, 1, 1, 0, 0, 0, 1000}})
        EXPECT_FALSE(TryEncodeDateTime(p)) << p.year << "-" << p.month << "-" << p.day;
    EXPECT_FALSE(DecodeDateTime(NAN));
    EXPECT_FALSE(DecodeDateTime(1e12));
}

TEST(DateTimeTest, NowIsToday) {
    const auto now = DecodeDateTime(Now());
    ASSERT_TRUE(now);
    EXPECT_GE(now->year, 2024);
}

}  // namespace
}  // namespace vx
