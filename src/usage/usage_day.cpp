#include "usage/usage_day.h"

#include <algorithm>
#include <chrono>

namespace vx {

namespace {

using namespace std::chrono;

year_month_day ymdOf(int day) {
    return year_month_day{year{day / 10000}, month{static_cast<unsigned>(day / 100 % 100)},
                          std::chrono::day{static_cast<unsigned>(day % 100)}};
}

int dayOf(const year_month_day& d) {
    return static_cast<int>(d.year()) * 10000 + static_cast<int>(static_cast<unsigned>(d.month())) * 100 +
           static_cast<int>(static_cast<unsigned>(d.day()));
}

}  // namespace

int LocalDayOf(std::time_t moment) {
    std::tm parts{};
    if (!localtime_r(&moment, &parts)) return 0;
    return (parts.tm_year + 1900) * 10000 + (parts.tm_mon + 1) * 100 + parts.tm_mday;
}

bool IsValidDay(int day) { return day > 0 && ymdOf(day).ok(); }
int YearOf(int day) { return day / 10000; }
int MonthOf(int day) { return day / 100 % 100; }
int DayOfMonthOf(int day) { return day % 100; }
int MakeDay(int year, int month, int dayOfMonth) { return year * 10000 + month * 100 + dayOfMonth; }

int AddDays(int day, int count) { return dayOf(year_month_day{sys_days{ymdOf(day)} + days{count}}); }

int DaysBetween(int from, int to) { return static_cast<int>((sys_days{ymdOf(to)} - sys_days{ymdOf(from)}).count()); }

int DaysInMonth(int year, int month) {
    return static_cast<int>(static_cast<unsigned>(
        year_month_day_last{std::chrono::year{year}, month_day_last{std::chrono::month{static_cast<unsigned>(month)}}}
            .day()));
}

int MonthStart(int day) { return day / 100 * 100 + 1; }

int AddMonths(int day, int count) {
    const year_month ym = year_month{year{YearOf(day)}, month{static_cast<unsigned>(MonthOf(day))}} + months{count};
    return MakeDay(static_cast<int>(ym.year()), static_cast<int>(static_cast<unsigned>(ym.month())), 1);
}

int WeekStart(int day, int firstWeekday) {
    // ISO weekday of the day: 1 Monday .. 7 Sunday.
    const int iso = static_cast<int>(weekday{sys_days{ymdOf(day)}}.iso_encoding());
    const int back = (iso - std::clamp(firstWeekday, 1, 7) + 7) % 7;
    return AddDays(day, -back);
}

std::time_t LocalMidnight(int day) {
    std::tm parts{};
    parts.tm_year = YearOf(day) - 1900;
    parts.tm_mon = MonthOf(day) - 1;
    parts.tm_mday = DayOfMonthOf(day);
    parts.tm_isdst = -1;  // whatever the zone says for that day
    return std::mktime(&parts);
}

TBillingPeriod BillingPeriodOf(int day, int billingDay) {
    billingDay = std::clamp(billingDay, 1, 31);
    auto startIn = [billingDay](int monthStart) {
        const int y = YearOf(monthStart), m = MonthOf(monthStart);
        return MakeDay(y, m, std::min(billingDay, DaysInMonth(y, m)));
    };
    int start = startIn(MonthStart(day));
    if (day < start) start = startIn(AddMonths(day, -1));
    return {start, startIn(AddMonths(start, 1))};
}

}  // namespace vx
