#include "history/historystats.h"
#include "settings/translate.h"

#include <algorithm>

namespace quintor {
namespace {

// The first entry at or after `hour`; entries are oldest first.
std::vector<HourEntry>::const_iterator firstFrom(const std::vector<HourEntry>& hours, std::int64_t hour)
{
    return std::lower_bound(hours.begin(), hours.end(), hour,
                            [](const HourEntry& entry, std::int64_t h) { return entry.hour < h; });
}

double average(std::int64_t sum, std::int64_t ticks)
{
    return static_cast<double>(sum) / static_cast<double>(ticks);
}

} // namespace

std::vector<ChartPoint> chartSeries(const std::vector<HourEntry>& hours, std::int64_t currentHour, int spanHours)
{
    std::vector<ChartPoint> points;
    for (auto it = firstFrom(hours, currentHour - spanHours + 1); it != hours.end() && it->hour <= currentHour; ++it) {
        const HourTotals& t = it->totals;
        points.push_back(
            {localHourOf(it->hour), average(t.playersSum, t.ticks), t.playersMax, average(t.gamesSum, t.ticks)});
    }
    return points;
}

double WeekHeatMap::highest() const
{
    double top = 0;
    for (const auto& day : averagePlayers)
        for (const auto& cell : day)
            if (cell) top = std::max(top, *cell);
    return top;
}

WeekHeatMap weekHeatMap(const std::vector<HourEntry>& hours, std::int64_t currentHour)
{
    struct Sums {
        std::int64_t ticks = 0, players = 0;
    };
    std::array<std::array<Sums, 24>, 7> sums{};
    const std::int64_t firstDay = dayOfHour(currentHour) - (WeekHeatMap::weeks * 7 - 1);
    for (auto it = firstFrom(hours, firstDay * 24); it != hours.end() && it->hour <= currentHour; ++it) {
        const std::int64_t day = dayOfHour(it->hour);
        Sums& cell = sums[static_cast<std::size_t>(weekdayOfDay(day))][static_cast<std::size_t>(it->hour - day * 24)];
        cell.ticks += it->totals.ticks;
        cell.players += it->totals.playersSum;
    }
    WeekHeatMap map;
    for (std::size_t weekday = 0; weekday < 7; ++weekday)
        for (std::size_t hour = 0; hour < 24; ++hour)
            if (const Sums& cell = sums[weekday][hour]; cell.ticks > 0)
                map.averagePlayers[weekday][hour] = average(cell.players, cell.ticks);
    return map;
}

std::string_view weekdayName(int weekday)
{
    static constexpr std::string_view names[] = {
        untranslated("Montag"),  untranslated("Dienstag"), untranslated("Mittwoch"), untranslated("Donnerstag"),
        untranslated("Freitag"), untranslated("Samstag"),  untranslated("Sonntag")};
    return names[weekday];
}

std::string busiestHoursText(const WeekHeatMap& map, int count)
{
    struct Cell {
        int weekday, hour;
        double players;
    };
    std::vector<Cell> cells;
    for (int weekday = 0; weekday < 7; ++weekday)
        for (int hour = 0; hour < 24; ++hour)
            if (const auto& players =
                    map.averagePlayers[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)];
                players && *players > 0)
                cells.push_back({weekday, hour, *players});
    if (cells.empty()) return "";
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.players > b.players; });

    std::string text = tr("Am meisten los: ");
    for (int i = 0; i < count && i < static_cast<int>(cells.size()); ++i) {
        const Cell& cell = cells[static_cast<std::size_t>(i)];
        if (i > 0) text += ", ";
        text += translateText(weekdayName(cell.weekday));
        text += ' ' + std::to_string(cell.hour) + "\x96" + std::to_string(cell.hour + 1) + tr(" Uhr");
    }
    return text;
}

} // namespace quintor
