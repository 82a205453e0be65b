#include "history/civiltime.h"
#include "history/hourtotals.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

std::int64_t at(int year, int month, int day, int hour)
{
    return hourNumber(LocalHour{year, month, day, hour});
}

} // namespace

TEST(HourTotals, LinesInTheFileForm)
{
    struct Case {
        std::string line;
        std::optional<HourEntry> entry;
    };
    const std::vector<Case> cases = {
        {"2026-12-08 21=120;1890;17;4010;38", HourEntry{at(2026, 12, 8, 21), {120, 1890, 17, 4010, 38}}},
        {"2024-02-29 00=1;0;0;0;0", HourEntry{at(2024, 2, 29, 0), {1, 0, 0, 0, 0}}},
        {"1999-12-31 23=2;6;3;0;0", HourEntry{at(1999, 12, 31, 23), {2, 6, 3, 0, 0}}},
        {"", std::nullopt},
        {"2026-12-08 21=120;1890;17;4010", std::nullopt},      // a figure missing
        {"2026-12-08 21=120;1890;17;4010;38;5", std::nullopt}, // one too many
        {"2026-12-08 21=120;1890;17;4010;", std::nullopt},
        {"2026-12-08 21=120;1890;17;-4;38", std::nullopt},
        {"2026-12-08 21=120; 1890;17;4010;38", std::nullopt}, // blanks are not digits
        {"2026-12-08 21=$78;1890;17;4010;38", std::nullopt},  // decimal only
        {"2026-12-08 24=120;1890;17;4010;38", std::nullopt},  // no such hour
        {"2026-02-29 10=120;1890;17;4010;38", std::nullopt},  // no such day
        {"1900-02-29 10=1;1;1;1;1", std::nullopt},            // not a leap year
        {"2026-04-31 10=1;1;1;1;1", std::nullopt},
        {"2026-12-8 21=120;1890;17;4010;38", std::nullopt},
        {"2026-12-08T21=120;1890;17;4010;38", std::nullopt},
        {"2026-12-08 21:120;1890;17;4010;38", std::nullopt},
        {"2026-12-08 21=0;0;0;0;0", std::nullopt},         // no tick
        {"2026-12-08 21=120;10;17;4010;38", std::nullopt}, // maximum above its sum
        {"2026-12-08 21=2;35;17;40;38", std::nullopt},     // sum above ticks times maximum
        {"2026-12-08 21=2;0;1;0;0", std::nullopt},
        {"2026-12-08 21=1;9999999999999999;1;0;0", std::nullopt}, // beyond 15 digits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseHourLine(c.line), c.entry) << c.line;
        if (c.entry) {
            EXPECT_EQ(hourLine(*c.entry), c.line);
        }
    }
}

TEST(HourTotals, TicksAddToSumsAndMaximaAndMergeExactly)
{
    HourTotals first, second, whole;
    const std::vector<TickFigures> ticks = {{10, 30}, {12, 41}, {9, 25}, {14, 33}, {11, 38}};
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        (i < 2 ? first : second).add(ticks[i]);
        whole.add(ticks[i]);
    }
    EXPECT_EQ(whole, (HourTotals{5, 56, 14, 167, 41}));
    first.merge(second);
    EXPECT_EQ(first, whole);
}

TEST(HourTotals, HistorySkipsBadLinesSortsAndMergesTheSameHour)
{
    const TextList file({
        "2026-12-08 21=2;10;6;20;11",
        "not a line",
        "",
        "2026-12-08 19=1;3;3;7;7",
        "2026-12-08 21=1;4;4;9;9",
        "2026-13-01 00=1;1;1;1;1",
    });
    const ParsedHistory parsed = parseHistory(file);
    EXPECT_EQ(parsed.skippedLines, 2); // the empty line holds nothing and is not counted
    EXPECT_EQ(parsed.hours, (std::vector<HourEntry>{{at(2026, 12, 8, 19), {1, 3, 3, 7, 7}},
                                                    {at(2026, 12, 8, 21), {3, 14, 6, 29, 11}}}));
    EXPECT_EQ(historyText(parsed.hours).text(), "2026-12-08 19=1;3;3;7;7\r\n2026-12-08 21=3;14;6;29;11\r\n");
}

TEST(HourTotals, SkippedLinesNote)
{
    EXPECT_EQ(skippedLinesNote(0), "");
    EXPECT_EQ(skippedLinesNote(1), "Verlauf: 1 unlesbare Zeile in \"history.txt\" \xFC"
                                   "bersprungen");
    EXPECT_EQ(skippedLinesNote(3), "Verlauf: 3 unlesbare Zeilen in \"history.txt\" \xFC"
                                   "bersprungen");
}

TEST(HourTotals, RecordingSettingIsOnUnlessFalse)
{
    const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
        {{}, true},
        {{"history=False"}, false},
        {{"HISTORY=false"}, false},
        {{"history=0"}, false},
        {{"history=True"}, true},
        {{"history=nein"}, true}, // not a truth value: the default stays
        {{"history="}, true},
    };
    for (const auto& [lines, on] : cases)
        EXPECT_EQ(historyRecordingOn(TextList(lines)), on) << (lines.empty() ? "" : lines[0]);
}
