#include <gtest/gtest.h>

#include <clocale>
#include <optional>

#include "persistence/ini_text.h"

namespace vx {
namespace {

struct IntegerCase {
    const char* text;
    std::optional<std::int64_t> expected;
};

TEST(IniTextTest, IntegerTexts) {
    const IntegerCase cases[] = {
        {"0", 0},
        {"-1", -1},
        {"+42", 42},
        {"  17 ", 17},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"0x10", 16},
        {"0X10", 16},
        {"$10", 16},
        {"$1f", 31},
        {"0x1F", 31},
        {"-$10", -16},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$10000000000000000", std::nullopt},
        {"0x", std::nullopt},  // too short for the hexadecimal form
        {"$", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"12abc", std::nullopt},
        {"1.5", std::nullopt},
        {"0x1G", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(IniTextToIntegerOrHex(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(IntegerToIniText(-1), "-1");
    EXPECT_EQ(IntegerToIniText(INT64_MIN), "-9223372036854775808");
}

struct FloatCase {
    double value;
    const char* text;
};

TEST(IniTextTest, FloatTextsRoundTrip) {
    const FloatCase cases[] = {
        {0.5, "0.5"},
        {0, "0"},
        {-2.25, "-2.25"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-1.25e-10, "-1.25E-10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToIniText(c.value), c.text);
        const auto back = IniTextToFloat(c.text);
        ASSERT_TRUE(back) << c.text;
        EXPECT_DOUBLE_EQ(*back, c.value) << c.text;
    }
}

TEST(IniTextTest, FloatTextsKeepFifteenSignificantDigits) {
    EXPECT_EQ(FloatToIniText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToIniText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FloatToIniText(0.1 + 0.2), "0.3");
}

TEST(IniTextTest, FloatTextsThatAreRefused) {
    for (const char* text : {"0,5", "", "abc", "1.5x", "INF", "NAN", "inf", "-nan", "1,000.5"})
        EXPECT_EQ(IniTextToFloat(text), std::nullopt) << text;
    EXPECT_EQ(IniTextToFloat(" 2.5 "), 2.5);
    EXPECT_EQ(IniTextToFloat("1e3"), 1000.0);
    EXPECT_EQ(IniTextToFloat(".5"), 0.5);
}

// The user's decimal comma must never reach the file.
TEST(IniTextTest, FloatTextIgnoresCommaDecimalLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    const std::string text = FloatToIniText(0.5);
    const auto back = IniTextToFloat("0.5");
    const auto comma = IniTextToFloat("0,5");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "0.5");
    EXPECT_EQ(back, 0.5);
    EXPECT_EQ(comma, std::nullopt);
}

TEST(IniTextTest, DateTimeTexts) {
    const TDateTime may3 = *TryEncodeDateTime({2018, 5, 3, 14, 7, 9, 0});
    EXPECT_EQ(DateTimeToIniText(may3), "2018-05-03 14:07:09");
    EXPECT_EQ(IniTextToDateTime("2018-05-03 14:07:09"), may3);
    EXPECT_EQ(DateTimeToIniText(0), "1899-12-30 00:00:00");
    // 999.6 ms rounds up to the next second, and into the next day at midnight.
    EXPECT_EQ(DateTimeToIniText(1.0 - 0.4 / 86400000.0), "1899-12-31 00:00:00");
    // Before day zero the time of day still runs forward from the date's
    // midnight, so rounding up reaches the following calendar day.
    const std::pair<double, const char*> roundsToMidnight[] = {
        {-1.9999999977, "1899-12-30 00:00:00"},
        {-0.9999999977, "1899-12-31 00:00:00"},
        {-2.9999999977, "1899-12-29 00:00:00"},
        {-1.25, "1899-12-29 06:00:00"},
        {1.9999999977, "1900-01-01 00:00:00"},
    };
    for (const auto& [value, text] : roundsToMidnight) EXPECT_EQ(DateTimeToIniText(value), text) << value;
    EXPECT_EQ(DateTimeToIniText(std::numeric_limits<double>::quiet_NaN()), "");

    struct Case {
        const char* text;
        std::optional<TDateTimeParts> parts;
    };
    const Case cases[] = {
        {"2018-05-03", TDateTimeParts{2018, 5, 3}},
        {"2018-5-3 7:08", TDateTimeParts{2018, 5, 3, 7, 8, 0}},
        {" 2000-02-29 23:59:59 ", TDateTimeParts{2000, 2, 29, 23, 59, 59}},
        {"2001-02-29", std::nullopt},
        {"2018-13-01", std::nullopt},
        {"2018-05-03 24:00:00", std::nullopt},
        {"03.05.2018", std::nullopt},
        {"2018/05/03", std::nullopt},
        {"2018-05-03 14", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto v = IniTextToDateTime(c.text);
        if (!c.parts) {
            EXPECT_EQ(v, std::nullopt) << c.text;
        } else {
            EXPECT_EQ(v, TryEncodeDateTime(*c.parts)) << c.text;
        }
    }
}

}  // namespace
}  // namespace vx
