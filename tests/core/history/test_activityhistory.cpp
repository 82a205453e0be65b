#include "history/activityhistory.h"
#include "history/civiltime.h"
#include "support/fakes.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quintor;

namespace {

struct Tick {
    LocalDateTime when;
    TickFigures figures;
};

LocalDateTime time(int year, int month, int day, int hour, int minute)
{
    return {year, month, day, hour, minute, 0, 0};
}

// Records the ticks in order; the answers of record() say after which ticks an hour had ended.
std::vector<bool> recordAll(ActivityHistory& history, test::FixedClock& clock, const std::vector<Tick>& ticks)
{
    std::vector<bool> ended;
    for (const Tick& tick : ticks) {
        clock.time = tick.when;
        ended.push_back(history.record(tick.figures));
    }
    return ended;
}

std::int64_t at(int year, int month, int day, int hour)
{
    return hourNumber(LocalHour{year, month, day, hour});
}

} // namespace

TEST(ActivityHistory, HoursAndTheirEndFollowTheLocalClockAcrossDaylightSavingChanges)
{
    struct Case {
        const char* name;
        std::vector<Tick> ticks;
        std::vector<bool> ended;
        std::vector<HourEntry> hours;
    };
    const std::vector<Case> cases = {
        {"one hour, then the next",
         {{time(2026, 12, 8, 21, 0), {10, 30}},
          {time(2026, 12, 8, 21, 59), {12, 20}},
          {time(2026, 12, 8, 22, 0), {4, 5}}},
         {false, false, true},
         {{at(2026, 12, 8, 21), {2, 22, 12, 50, 30}}, {at(2026, 12, 8, 22), {1, 4, 4, 5, 5}}}},
        {"across midnight and a month end",
         {{time(2026, 11, 30, 23, 59), {1, 2}}, {time(2026, 12, 1, 0, 0), {3, 4}}},
         {false, true},
         {{at(2026, 11, 30, 23), {1, 1, 1, 2, 2}}, {at(2026, 12, 1, 0), {1, 3, 3, 4, 4}}}},
        // Autumn: 02:00 to 02:59 comes twice and is one hour of the history.
        {"an hour that occurs twice merges",
         {{time(2026, 10, 25, 2, 30), {5, 10}},
          {time(2026, 10, 25, 2, 59), {6, 12}},
          {time(2026, 10, 25, 2, 0), {7, 14}},
          {time(2026, 10, 25, 2, 45), {8, 16}},
          {time(2026, 10, 25, 3, 0), {1, 1}}},
         {false, false, false, false, true},
         {{at(2026, 10, 25, 2), {4, 26, 8, 52, 16}}, {at(2026, 10, 25, 3), {1, 1, 1, 1, 1}}}},
        // Spring: the clock jumps from 01:59 to 03:00; there is no 02 hour.
        {"a missing hour stays missing",
         {{time(2026, 3, 29, 1, 59), {2, 3}}, {time(2026, 3, 29, 3, 0), {4, 5}}},
         {false, true},
         {{at(2026, 3, 29, 1), {1, 2, 2, 3, 3}}, {at(2026, 3, 29, 3), {1, 4, 4, 5, 5}}}},
        {"a clock set back adds to the earlier hour",
         {{time(2026, 12, 8, 21, 0), {1, 1}}, {time(2026, 12, 8, 19, 0), {2, 2}}, {time(2026, 12, 8, 21, 5), {3, 3}}},
         {false, true, true},
         {{at(2026, 12, 8, 19), {1, 2, 2, 2, 2}}, {at(2026, 12, 8, 21), {2, 4, 3, 4, 3}}}},
    };
    for (const auto& c : cases) {
        test::FixedClock clock;
        ActivityHistory history(clock);
        EXPECT_EQ(recordAll(history, clock, c.ticks), c.ended) << c.name;
        EXPECT_EQ(history.hours(), c.hours) << c.name;
    }
}

TEST(ActivityHistory, ARestartWithinTheHourMergesExactly)
{
    test::TempFolder folder;
    const std::string path = folder.file("history.txt");
    const std::vector<Tick> ticks = {{time(2026, 12, 8, 20, 50), {9, 20}},
                                     {time(2026, 12, 8, 21, 10), {10, 30}},
                                     {time(2026, 12, 8, 21, 11), {12, 41}},
                                     {time(2026, 12, 8, 21, 40), {11, 25}}};
    test::FixedClock clock;
    ActivityHistory uninterrupted(clock);
    recordAll(uninterrupted, clock, ticks);

    ActivityHistory firstRun(clock);
    EXPECT_EQ(firstRun.load(path).note(), ""); // no file yet: nothing to say
    recordAll(firstRun, clock, {ticks[0], ticks[1], ticks[2]});
    ASSERT_TRUE(firstRun.save(path));
    ActivityHistory secondRun(clock);
    EXPECT_EQ(secondRun.load(path).note(), "");
    EXPECT_EQ(recordAll(secondRun, clock, {ticks[3]}), std::vector<bool>{false});

    EXPECT_EQ(secondRun.hours(), uninterrupted.hours());
    ASSERT_TRUE(secondRun.save(path));
    EXPECT_EQ(folder.read("history.txt"), "2026-12-08 20=1;9;9;20;20\r\n2026-12-08 21=3;33;12;96;41\r\n");
}

TEST(ActivityHistory, LoadingSkipsBadLinesWithOneNoteAndKeepsTheLastFourHundredDays)
{
    test::TempFolder folder;
    // 2026-12-08 is day 20795; its 400 days start with day 20396, 2025-11-04.
    folder.write("history.txt", "2025-11-03 23=1;1;1;1;1\r\n"
                                "2025-11-04 00=1;2;2;2;2\r\n"
                                "garbage\r\n"
                                "2026-12-08 20=1;3;3;3;3\r\n");
    test::FixedClock clock;
    clock.time = time(2026, 12, 8, 20, 30);
    ActivityHistory history(clock);
    EXPECT_EQ(history.load(folder.file("history.txt")).note(), skippedLinesNote(1));
    EXPECT_EQ(history.hours().front().hour, at(2025, 11, 4, 0));
    EXPECT_EQ(history.hours().size(), 2u);

    // The day after, its first hour drops the oldest kept day.
    recordAll(history, clock, {{time(2026, 12, 9, 0, 0), {1, 1}}});
    EXPECT_EQ(history.hours().front().hour, at(2026, 12, 8, 20));
}

TEST(ActivityHistory, AFileThatCannotBeReadIsNeverOverwritten)
{
    // Reading /proc/self/mem from its start fails (nothing is mapped there), even for root.
    test::TempFolder folder;
    const std::string path = folder.file("history.txt");
    std::filesystem::create_symlink("/proc/self/mem", path);
    test::FixedClock clock;
    ActivityHistory history(clock);
    const auto result = history.load(path);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(result.note(), result.error);

    history.record({1, 1});
    EXPECT_FALSE(history.save(path));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
}

// A NUL byte ends a file's text: the hours behind it were never read, and the hourly save wrote the hours before it
// over the whole file.
TEST(ActivityHistory, AFileANulByteCutsShowsTheHoursBeforeItAndIsNeverOverwritten)
{
    test::TempFolder folder;
    const std::string bytes = "2026-12-08 19=1;2;2;2;2\r\n" + std::string(1, '\0') + "2026-12-08 20=1;3;3;3;3\r\n";
    folder.write("history.txt", bytes);
    test::FixedClock clock;
    clock.time = time(2026, 12, 8, 21, 0);
    ActivityHistory history(clock);
    const auto result = history.load(folder.file("history.txt"));
    EXPECT_NE(result.note().find("NUL-Byte"), std::string::npos) << result.note();
    ASSERT_EQ(history.hours().size(), 1u);
    EXPECT_EQ(history.hours().front().hour, at(2026, 12, 8, 19));

    history.record({1, 1});
    EXPECT_FALSE(history.save(folder.file("history.txt")));
    EXPECT_EQ(folder.read("history.txt"), bytes);
}

TEST(ActivityHistory, LinesItCannotReadAreWrittenBackAfterTheHoursAndCountedOnce)
{
    // A later version's line with one more field: dropping it at the next save lost the user's history.
    test::TempFolder folder;
    folder.write("history.txt", "2026-12-08 19=1;3;3;7;7;1\r\n"
                                "2026-12-08 20=1;2;2;2;2\r\n"
                                "\r\n"
                                "garbage\r\n");
    test::FixedClock clock;
    clock.time = time(2026, 12, 8, 21, 0);
    ActivityHistory history(clock);
    EXPECT_EQ(history.load(folder.file("history.txt")).skippedLines, 2);
    history.record({4, 4});
    ASSERT_TRUE(history.save(folder.file("history.txt")));
    EXPECT_EQ(folder.read("history.txt"), "2026-12-08 20=1;2;2;2;2\r\n"
                                          "2026-12-08 21=1;4;4;4;4\r\n"
                                          "2026-12-08 19=1;3;3;7;7;1\r\n"
                                          "garbage\r\n");
    ActivityHistory next(clock);
    EXPECT_EQ(next.load(folder.file("history.txt")).note(), skippedLinesNote(2));
}
