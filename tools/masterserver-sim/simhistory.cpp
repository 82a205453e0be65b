#include "masterserver-sim/simhistory.h"

#include "history/civiltime.h"
#include "masterserver-sim/simrandom.h"

#include <algorithm>
#include <cmath>

namespace quintor::sim {
namespace {

constexpr int ticksPerHour = 120; // one refresh every 30 seconds

// Players online on an ordinary weekday, hour by hour: quiet nights, a peak after 20 o'clock.
constexpr double weekdayCurve[24] = {7, 4, 3, 2, 2, 2, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 14, 17, 21, 26, 31, 32, 25, 14};

double busyness(int weekday, int hour)
{
    double players = weekdayCurve[hour];
    const bool weekend = weekday >= 5;
    if (weekend && hour >= 10 && hour < 18) players *= 1.8;                         // weekend afternoons
    if ((weekday == 4 || weekday == 5) && (hour >= 20 || hour < 2)) players *= 1.3; // Friday and Saturday nights
    if (weekday == 6 && hour >= 18 && hour < 22) players *= 1.4;                    // the Sunday league evening
    return players;
}

} // namespace

std::vector<HourEntry> simulatedHistory(std::uint32_t seed, int days, std::int64_t lastHour)
{
    SimRandom random(seed * 0x100000001ull + 0x486973ull);
    std::vector<HourEntry> hours;
    const std::int64_t firstHour = lastHour - static_cast<std::int64_t>(days) * 24 + 1;
    double dayMood = 1;
    for (std::int64_t hour = firstHour; hour <= lastHour; ++hour) {
        const std::int64_t day = dayOfHour(hour);
        const int hourOfDay = static_cast<int>(hour - day * 24);
        if (hour == firstHour || hourOfDay == 0) dayMood = 0.85 + random.below(31) / 100.0;
        if (random.chance(4)) continue; // the program was not running
        const int ticks = random.chance(12) ? random.between(10, ticksPerHour - 1) : ticksPerHour;
        const double mean = busyness(weekdayOfDay(day), hourOfDay) * dayMood;

        HourEntry entry{hour, {}};
        for (int tick = 0; tick < ticks; ++tick) {
            const int players = std::max(0, static_cast<int>(std::lround(mean * (0.8 + random.below(41) / 100.0))));
            const int games = std::max(players > 0 ? 1 : 0, players / 3 + random.between(-1, 2));
            entry.totals.add({games, players});
        }
        hours.push_back(entry);
    }
    return hours;
}

} // namespace quintor::sim
