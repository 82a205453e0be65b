// What the history window draws: the hourly series of the last hours and the typical week.
#pragma once

#include "history/civiltime.h"
#include "history/hourtotals.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The spans the chart offers, in hours.
inline constexpr int lastDayHours = 24;
inline constexpr int lastWeekHours = 7 * 24;
inline constexpr int lastMonthHours = 30 * 24;

struct ChartPoint {
    LocalHour hour;
    double averagePlayers = 0;
    std::int64_t maxPlayers = 0;
    double averageGames = 0;
};

// One point per recorded hour of the `spanHours` hours that end with `currentHour`, oldest
// first; hours without data have no point.
std::vector<ChartPoint> chartSeries(const std::vector<HourEntry>& hours, std::int64_t currentHour, int spanHours);

struct WeekHeatMap {
    static constexpr int weeks = 8;
    // [weekday, Monday first][hour of the day]: players online on average over every tick of
    // that hour in the last `weeks` weeks; empty where no tick fell.
    std::array<std::array<std::optional<double>, 24>, 7> averagePlayers{};

    double highest() const; // 0 when no cell has data
};

// The last `WeekHeatMap::weeks` weeks up to and including `currentHour`'s day.
WeekHeatMap weekHeatMap(const std::vector<HourEntry>& hours, std::int64_t currentHour);

// "Montag" to "Sonntag" for 0 to 6.
std::string_view weekdayName(int weekday);

// "Am meisten los: Sonntag 19–20 Uhr, …" with the `count` busiest cells, busiest first (ties:
// the earlier in the week); cells where nobody was online are never named. Empty when none is.
std::string busiestHoursText(const WeekHeatMap& map, int count = 3);

} // namespace quintor
