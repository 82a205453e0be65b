// The simulator's made-up activity history: readable as the program reads it, and shaped like a
// league's week.
#include "history/civiltime.h"
#include "history/historystats.h"
#include "masterserver-sim/simhistory.h"

#include <gtest/gtest.h>

namespace quintor::sim {
namespace {

const std::int64_t lastHour = hourNumber(LocalHour{2026, 12, 8, 21});

TEST(SimHistory, ReadsBackWholeAndStaysWithinItsDays)
{
    const auto hours = simulatedHistory(1, 60, lastHour);
    const ParsedHistory parsed = parseHistory(historyText(hours));
    EXPECT_EQ(parsed.skippedLines, 0);
    EXPECT_EQ(parsed.hours, hours);
    ASSERT_GT(hours.size(), 60u * 24 * 9 / 10); // a few hours missing, not many
    EXPECT_LE(hours.size(), 60u * 24);
    EXPECT_GE(hours.front().hour, lastHour - 60 * 24 + 1);
    EXPECT_LE(hours.back().hour, lastHour);

    EXPECT_EQ(simulatedHistory(1, 60, lastHour), hours);
    EXPECT_NE(simulatedHistory(2, 60, lastHour), hours);
}

TEST(SimHistory, EveningsAndWeekendsAreBusiest)
{
    const WeekHeatMap map = weekHeatMap(simulatedHistory(1, 60, lastHour), lastHour);
    const auto players = [&](int weekday, int hour) { return map.averagePlayers[weekday][hour].value_or(-1); };
    for (int weekday = 0; weekday < 7; ++weekday)
        EXPECT_GT(players(weekday, 20), 2 * players(weekday, 9)) << weekday;
    EXPECT_GT(players(6, 20), players(1, 20)); // Sunday evening above Tuesday evening
    EXPECT_GT(players(5, 15), players(2, 15)); // Saturday afternoon above Wednesday afternoon
    EXPECT_EQ(busiestHoursText(map).rfind("Am meisten los: Sonntag", 0), 0u);
}

} // namespace
} // namespace quintor::sim
