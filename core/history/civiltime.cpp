#include "history/civiltime.h"

namespace quintor {
namespace {

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return (a >= 0 ? a : a - b + 1) / b;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

bool isValidDate(int year, int month, int day)
{
    static constexpr int daysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    const int last = daysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= last;
}

// The era arithmetic counts years from March, so the leap day ends a year instead of splitting one.
std::int64_t daysFromDate(int year, int month, int day)
{
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t hourNumber(const LocalHour& hour)
{
    return daysFromDate(hour.year, hour.month, hour.day) * 24 + hour.hour;
}

std::int64_t hourNumber(const LocalDateTime& when)
{
    return hourNumber(LocalHour{when.year, when.month, when.day, when.hour});
}

LocalHour localHourOf(std::int64_t hourNumber)
{
    const std::int64_t days = dayOfHour(hourNumber) + 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day, static_cast<int>(hourNumber - dayOfHour(hourNumber) * 24)};
}

std::int64_t dayOfHour(std::int64_t hourNumber)
{
    return floorDiv(hourNumber, 24);
}

// 1970-01-01 was a Thursday.
int weekdayOfDay(std::int64_t days)
{
    return static_cast<int>(days + 3 - floorDiv(days + 3, 7) * 7);
}

} // namespace quintor
