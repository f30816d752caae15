#include "sysinfo/date_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace vx {
namespace {

using namespace std::chrono;

constexpr double kMsPerDay = 86400000.0;
// Days from 1970-01-01 back to the program's day zero, 1899-12-30.
constexpr int kUnixDayZero = 25569;

}  // namespace

std::optional<TDateTime> TryEncodeDateTime(const TDateTimeParts& p) {
    const year_month_day ymd{year{p.year}, month{static_cast<unsigned>(p.month)}, day{static_cast<unsigned>(p.day)}};
    if (p.year < 1 || p.year > 9999 || !ymd.ok()) return std::nullopt;
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
        p.millisecond < 0 || p.millisecond > 999)
        return std::nullopt;
    const auto date = static_cast<double>(sys_days{ymd}.time_since_epoch().count() + kUnixDayZero);
    const double time = (((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond) / kMsPerDay;
    return date < 0 ? date - time : date + time;
}

std::optional<TDateTimeParts> DecodeDateTime(TDateTime value) {
    if (!std::isfinite(value)) return std::nullopt;
    double days = std::trunc(value);
    auto ms = static_cast<long long>(std::llround(std::fabs(value - days) * kMsPerDay));
    if (ms >= static_cast<long long>(kMsPerDay)) {  // rounding reached the next midnight
        ms = 0;
        days += 1;  // the next calendar day, also before day zero (time runs forward from its midnight)
    }
    if (std::fabs(days) > 4e6) return std::nullopt;
    const year_month_day ymd{sys_days{std::chrono::days{static_cast<int>(days) - kUnixDayZero}}};
    TDateTimeParts p;
    p.year = static_cast<int>(ymd.year());
    if (p.year < 1 || p.year > 9999) return std::nullopt;
    p.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    p.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    p.millisecond = static_cast<int>(ms % 1000);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.hour = static_cast<int>(ms / 3600000);
    return p;
}

std::string DateTimeText(TDateTime value, char separator) {
    const auto p = DecodeDateTime(value);
    if (!p) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", p->year, p->month, p->day, separator, p->hour,
                  p->minute, p->second);
    return text;
}

TDateTime Now() {
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    TDateTimeParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min,         std::min(local.tm_sec, 59), static_cast<int>(ms)};
    return TryEncodeDateTime(p).value_or(0.0);
}

}  // namespace vx
