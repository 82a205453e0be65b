// Calendar arithmetic on the local date and hour, without a time zone database: an hour is keyed
// by its local wall-clock reading, so an hour that a daylight-saving change repeats shares one key
// and an hour that the change skips never gets one.
#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace quintor {

struct LocalHour {
    int year = 1970, month = 1, day = 1, hour = 0;
    bool operator==(const LocalHour&) const = default;
};

bool isValidDate(int year, int month, int day);

// Days since 1970-01-01 in the proleptic Gregorian calendar (negative before it).
std::int64_t daysFromDate(int year, int month, int day);

// Local wall-clock hours since 1970-01-01 00: the key of an hour of the activity history.
std::int64_t hourNumber(const LocalHour& hour);
std::int64_t hourNumber(const LocalDateTime& when);
LocalHour localHourOf(std::int64_t hourNumber);

// The day of an hour number (floor division, so negative numbers stay on their own day).
std::int64_t dayOfHour(std::int64_t hourNumber);

// 0 for Monday up to 6 for Sunday.
int weekdayOfDay(std::int64_t days);

} // namespace quintor
