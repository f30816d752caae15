// Local calendar days, weeks, months and billing periods.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "usage/allowance.h"
#include "usage/usage_day.h"

namespace vx {
namespace {

// Runs the test in a given time zone, and restores the one before.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (hadOld_)
            ::setenv("TZ", saved_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string saved_;
    bool hadOld_ = false;
};

std::time_t localMoment(int y, int mo, int d, int h, int mi) {
    std::tm t{};
    t.tm_year = y - 1900, t.tm_mon = mo - 1, t.tm_mday = d, t.tm_hour = h, t.tm_min = mi, t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(UsageDayTest, DaylightSavingDaysAreOneDayEach) {
    const TimeZone berlin("Europe/Berlin");
    // 2026-03-29 has 23 hours, 2026-10-25 has 25.
    EXPECT_EQ(LocalMidnight(20260330) - LocalMidnight(20260329), 23 * 3600);
    EXPECT_EQ(LocalMidnight(20261026) - LocalMidnight(20261025), 25 * 3600);
    // Counted moments land on the local date on both sides of the change.
    const std::time_t springLast = LocalMidnight(20260330) - 1, autumnLast = LocalMidnight(20261026) - 1;
    EXPECT_EQ(LocalDayOf(springLast), 20260329);
    EXPECT_EQ(LocalDayOf(springLast + 1), 20260330);
    EXPECT_EQ(LocalDayOf(autumnLast), 20261025);
    EXPECT_EQ(LocalDayOf(autumnLast + 1), 20261026);
    // 02:30 on the spring day does not exist, 02:30 in autumn exists twice:
    // both are on the day itself.
    EXPECT_EQ(LocalDayOf(localMoment(2026, 3, 29, 3, 30) - 3600), 20260329);
    EXPECT_EQ(LocalDayOf(LocalMidnight(20261025) + 3 * 3600), 20261025);
    EXPECT_EQ(LocalDayOf(LocalMidnight(20261025) + 24 * 3600), 20261025);  // 23:00 of the long day
    // A day's UTC moment belongs to another local date east of Greenwich.
    EXPECT_EQ(LocalDayOf(1781301600), 20260613);  // 2026-06-12T22:00:00Z is midnight in Berlin
}

TEST(UsageDayTest, CalendarArithmetic) {
    struct Case {
        int day, add, expect;
    } cases[] = {{20261231, 1, 20270101}, {20240228, 1, 20240229}, {20250228, 1, 20250301},
                 {20260301, -1, 20260228}, {20260115, -400, 20241211}};
    for (const Case& c : cases) EXPECT_EQ(AddDays(c.day, c.add), c.expect) << c.day << " + " << c.add;
    EXPECT_EQ(DaysBetween(20260101, 20270101), 365);
    EXPECT_EQ(AddMonths(20260131, 1), 20260201);
    EXPECT_EQ(AddMonths(20260115, -1), 20251201);
    EXPECT_EQ(AddMonths(20260115, -11), 20250201);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_FALSE(IsValidDay(20260230));
    EXPECT_TRUE(IsValidDay(20240229));
    // 2026-12-10 is a Thursday.
    EXPECT_EQ(WeekStart(20261210, 1), 20261207);  // Monday
    EXPECT_EQ(WeekStart(20261210, 7), 20261206);  // Sunday
    EXPECT_EQ(WeekStart(20261207, 1), 20261207);
    EXPECT_EQ(WeekStart(20260101, 1), 20251229);  // across a year
}

TEST(UsageDayTest, BillingPeriodsWithShortMonths) {
    struct Case {
        int day, billingDay, start, end;
    } cases[] = {
        {20261210, 1, 20261201, 20270101},
        {20261210, 15, 20261115, 20261215},
        {20261215, 15, 20261215, 20270115},
        // Day 31: February's period starts on its last day, in common and leap years.
        {20260215, 31, 20260131, 20260228},
        {20260228, 31, 20260228, 20260331},
        {20260227, 31, 20260131, 20260228},
        {20240228, 31, 20240131, 20240229},
        {20240229, 31, 20240229, 20240331},
        {20260430, 31, 20260430, 20260531},
        {20260331, 31, 20260331, 20260430},
        {20260101, 31, 20251231, 20260131},
        {20240301, 30, 20240229, 20240330},
        // Out of range billing days are the nearest valid one.
        {20261210, 0, 20261201, 20270101},
        {20261210, 99, 20261130, 20261231},
    };
    for (const Case& c : cases) {
        const TBillingPeriod p = BillingPeriodOf(c.day, c.billingDay);
        EXPECT_EQ(p.Start, c.start) << c.day << " day " << c.billingDay;
        EXPECT_EQ(p.End, c.end) << c.day << " day " << c.billingDay;
    }
}

TEST(UsageDayTest, AllowanceLevelsAndProjection) {
    const std::uint64_t gb = AllowanceBytes(1);
    EXPECT_EQ(gb, 1073741824u);
    EXPECT_EQ(AllowanceBytes(0), 0u);
    EXPECT_EQ(AllowanceBytes(-5), 0u);
    EXPECT_EQ(AllowanceLevel(gb * 4 / 5 - 1, gb), 0);
    EXPECT_EQ(AllowanceLevel(gb * 4 / 5 + 1, gb), 80);
    EXPECT_EQ(AllowanceLevel(gb - 1, gb), 80);
    EXPECT_EQ(AllowanceLevel(gb, gb), 100);
    EXPECT_EQ(AllowanceLevel(gb, 0), 0);

    const TimeZone berlin("Europe/Berlin");
    // March 2026 has 31 days less one hour (spring change); after 10 days
    // at a steady pace the projection covers the real length.
    const TBillingPeriod march = BillingPeriodOf(20260310, 1);
    const std::time_t tenDays = LocalMidnight(20260311);
    const std::uint64_t projected = ProjectedUse(10 * gb, march, tenDays);
    EXPECT_EQ(projected, static_cast<std::uint64_t>(std::llround(10.0 * static_cast<double>(gb) * (31 * 24 - 1) / 240)));
    // The first minutes do not extrapolate wildly; after the end it is the use.
    EXPECT_LE(ProjectedUse(gb, march, LocalMidnight(20260301) + 60), gb * (31 * 24));
    EXPECT_EQ(ProjectedUse(5 * gb, march, LocalMidnight(20260402)), 5 * gb);
}

}  // namespace
}  // namespace vx
