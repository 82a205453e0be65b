// The lines of "history.txt": one local hour each, with the sums and maxima of the ticks in it.
#pragma once

#include "settings/textlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The statistic's figures after one tick.
struct TickFigures {
    int openGames = 0;
    int playersOnline = 0;
};

// Sums rather than averages, so two runs within the same hour add up exactly.
struct HourTotals {
    std::int64_t ticks = 0;
    std::int64_t gamesSum = 0;
    std::int64_t gamesMax = 0;
    std::int64_t playersSum = 0;
    std::int64_t playersMax = 0;

    void add(const TickFigures& tick);
    void merge(const HourTotals& other);
    bool operator==(const HourTotals&) const = default;
};

struct HourEntry {
    std::int64_t hour = 0; // see hourNumber
    HourTotals totals;
    bool operator==(const HourEntry&) const = default;
};

// "YYYY-MM-DD HH=ticks;games sum;games max;players sum;players max"
std::string hourLine(const HourEntry& entry);
// Nothing for a line that is not in that form, names no real date and hour, or whose figures
// cannot come from ticks (no tick, a maximum above its sum, a sum above ticks times maximum).
std::optional<HourEntry> parseHourLine(std::string_view line);

struct ParsedHistory {
    std::vector<HourEntry> hours;         // oldest first, one entry per hour
    std::vector<std::string> unreadLines; // lines that did not parse, as they stand; empty lines are dropped
    int skippedLines = 0;                 // their number
};
// Lines out of order are sorted and lines of the same hour merged.
ParsedHistory parseHistory(const TextList& lines);
TextList historyText(const std::vector<HourEntry>& hours);

// The status-bar note for lines that did not parse; empty for none.
std::string skippedLinesNote(int skippedLines);

// The setting "history" of "config.txt": recording is on unless it reads as false.
bool historyRecordingOn(const TextList& config);

} // namespace quintor
