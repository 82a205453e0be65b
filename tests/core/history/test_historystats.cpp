#include "history/historystats.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

std::int64_t at(int year, int month, int day, int hour)
{
    return hourNumber(LocalHour{year, month, day, hour});
}

// An hour in which every tick saw the same figures.
HourEntry steady(std::int64_t hour, std::int64_t ticks, std::int64_t games, std::int64_t players)
{
    return {hour, {ticks, ticks * games, games, ticks * players, players}};
}

} // namespace

TEST(HistoryStats, ChartSeriesCoversTheSpanEndingWithTheCurrentHour)
{
    const std::int64_t now = at(2026, 12, 8, 21);
    const std::vector<HourEntry> hours = {
        steady(now - lastMonthHours, 1, 1, 1),     // just outside 30 days
        steady(now - lastMonthHours + 1, 1, 2, 2), // the oldest hour of 30 days
        steady(now - lastWeekHours + 1, 1, 3, 3),
        steady(now - lastDayHours, 1, 4, 4),
        {now - 1, {4, 10, 4, 26, 9}},
        steady(now, 1, 6, 6),
        steady(now + 1, 1, 7, 7), // a clock that was ahead: not shown
    };
    struct Case {
        int span;
        std::size_t points;
        LocalHour first;
    };
    for (const Case& c : {Case{lastDayHours, 2, {2026, 12, 8, 20}}, Case{lastWeekHours, 4, {2026, 12, 1, 22}},
                          Case{lastMonthHours, 5, {2026, 11, 8, 22}}}) {
        const auto series = chartSeries(hours, now, c.span);
        ASSERT_EQ(series.size(), c.points) << c.span;
        EXPECT_EQ(series.front().hour, c.first) << c.span;
        EXPECT_EQ(series.back().hour, (LocalHour{2026, 12, 8, 21})) << c.span;
    }
    const ChartPoint averaged = chartSeries(hours, now, lastDayHours).front();
    EXPECT_DOUBLE_EQ(averaged.averagePlayers, 6.5);
    EXPECT_EQ(averaged.maxPlayers, 9);
    EXPECT_DOUBLE_EQ(averaged.averageGames, 2.5);
}

TEST(HistoryStats, HeatMapAveragesEveryTickOfTheLastEightWeeksByWeekdayAndHour)
{
    // Tuesday 2026-12-08; eight weeks back reach to Wednesday 2026-10-14.
    const std::int64_t now = at(2026, 12, 8, 21);
    const std::vector<HourEntry> hours = {
        steady(at(2026, 10, 13, 19), 100, 9, 500), // a Tuesday nine weeks back: outside
        steady(at(2026, 10, 14, 0), 10, 1, 4),     // the first day inside, a Wednesday
        steady(at(2026, 12, 6, 19), 30, 5, 10),    // two Sundays at 19: weighted by ticks
        steady(at(2026, 11, 29, 19), 10, 5, 30),
        steady(at(2026, 12, 7, 3), 5, 0, 0),   // Monday night: data, but nobody online
        steady(at(2026, 12, 8, 21), 2, 3, 8),  // the current hour counts
        steady(at(2026, 12, 8, 22), 2, 3, 99), // after it: not yet
    };
    const WeekHeatMap map = weekHeatMap(hours, now);
    EXPECT_EQ(map.averagePlayers[2][0], 4.0);
    EXPECT_EQ(map.averagePlayers[6][19], 15.0);
    EXPECT_EQ(map.averagePlayers[0][3], 0.0);
    EXPECT_EQ(map.averagePlayers[1][21], 8.0);
    EXPECT_FALSE(map.averagePlayers[1][19].has_value());
    EXPECT_FALSE(map.averagePlayers[1][22].has_value());
    int cellsWithData = 0;
    for (const auto& day : map.averagePlayers)
        for (const auto& cell : day)
            cellsWithData += cell.has_value();
    EXPECT_EQ(cellsWithData, 4);
    EXPECT_EQ(map.highest(), 15.0);
}

TEST(HistoryStats, BusiestHoursInWords)
{
    WeekHeatMap map;
    EXPECT_EQ(busiestHoursText(map), "");
    map.averagePlayers[0][3] = 0.0; // nobody online is never "busy"
    EXPECT_EQ(busiestHoursText(map), "");

    map.averagePlayers[6][19] = 31.5;
    EXPECT_EQ(busiestHoursText(map), "Am meisten los: Sonntag 19\x96"
                                     "20 Uhr");
    map.averagePlayers[5][23] = 40.0;
    map.averagePlayers[4][9] = 12.0;
    map.averagePlayers[2][9] = 12.0; // a tie: the earlier weekday first
    map.averagePlayers[3][0] = 2.0;
    EXPECT_EQ(busiestHoursText(map), "Am meisten los: Samstag 23\x96"
                                     "24 Uhr, Sonntag 19\x96"
                                     "20 Uhr, Mittwoch 9\x96"
                                     "10 Uhr");
    EXPECT_EQ(weekdayName(0), "Montag");
    EXPECT_EQ(weekdayName(3), "Donnerstag");
}
