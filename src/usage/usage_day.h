#pragma once

// Local calendar days as the usage history counts them: an integer
// yyyymmdd (20261210), so that days sort and months group (day / 100) as
// numbers. A day is the local date of the moment traffic was counted, so
// days of 23 or 25 hours (daylight-saving changes) are still one day.

#include <ctime>

namespace vx {

// The local date of a moment.
int LocalDayOf(std::time_t moment);
// Whether the value names a real date (20260230 does not).
bool IsValidDay(int day);
int YearOf(int day);
int MonthOf(int day);
int DayOfMonthOf(int day);
int MakeDay(int year, int month, int dayOfMonth);
// The day `count` days later (earlier when negative).
int AddDays(int day, int count);
int DaysBetween(int from, int to);
int DaysInMonth(int year, int month);
// The first day of the month `count` months later, and of the day's month.
int AddMonths(int day, int count);
int MonthStart(int day);
// The first day of the day's week; firstWeekday 1 = Monday .. 7 = Sunday.
int WeekStart(int day, int firstWeekday);
// Local midnight at the start of the day (mktime: the zone's rules decide
// how long a day is).
std::time_t LocalMidnight(int day);

// A billing period: from its start day up to, not including, its end day.
// The billing day is the day of the month a period starts; where a month
// is shorter, the period starts on its last day (31 → 28 February).
struct TBillingPeriod {
    int Start = 0;
    int End = 0;
};
TBillingPeriod BillingPeriodOf(int day, int billingDay);

}  // namespace vx
