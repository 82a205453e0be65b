#include "history/civiltime.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(CivilTime, DaysAndWeekdaysOfKnownDates)
{
    struct Case {
        int year, month, day;
        std::int64_t days;
        int weekday; // Monday 0
    };
    const std::vector<Case> cases = {
        {1970, 1, 1, 0, 3},                                // a Thursday
        {1969, 12, 31, -1, 2},                             // before the epoch: floor, not truncation
        {2000, 2, 29, 11016, 1},                           // leap day of a century divisible by 400
        {2000, 3, 1, 11017, 2},   {2026, 12, 8, 20795, 1}, // a Tuesday
        {2026, 12, 13, 20800, 6},                          // a Sunday
        {2100, 3, 1, 47541, 0},                            // 2100 has no leap day
    };
    for (const auto& c : cases) {
        EXPECT_EQ(daysFromDate(c.year, c.month, c.day), c.days) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(weekdayOfDay(c.days), c.weekday) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(CivilTime, HourNumbersRoundTripOverYearsAndMonthEnds)
{
    // Every hour from early 1968 to 2031 maps back to itself, and the next number is the next hour.
    LocalHour previous = localHourOf(hourNumber(LocalHour{1968, 1, 1, 0}) - 1);
    EXPECT_EQ(previous, (LocalHour{1967, 12, 31, 23}));
    for (std::int64_t n = hourNumber(LocalHour{1968, 1, 1, 0}); n < hourNumber(LocalHour{2031, 1, 1, 0}); ++n) {
        const LocalHour hour = localHourOf(n);
        ASSERT_TRUE(isValidDate(hour.year, hour.month, hour.day)) << n;
        ASSERT_EQ(hourNumber(hour), n);
        const bool sameDay = hour.hour == previous.hour + 1;
        ASSERT_TRUE(sameDay || (hour.hour == 0 && previous.hour == 23)) << n;
        previous = hour;
    }
}
