// The activity history: the league's open games and players online, hour by hour, as "history.txt"
// keeps them. Local time comes from the clock port.
#pragma once

#include "history/hourtotals.h"
#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

class ActivityHistory {
public:
    static constexpr int keptDays = 400;

    explicit ActivityHistory(const Clock& clock) : clock_(clock) {}

    struct LoadResult {
        int skippedLines = 0;
        std::string error; // the file exists but could not be read
        // One status-bar note, or empty when there is nothing to say.
        std::string note() const { return error.empty() ? skippedLinesNote(skippedLines) : error; }
    };
    // Merges the hours of a history file into the recorded ones; a missing file adds nothing. A file
    // that exists but cannot be read is never overwritten by this history afterwards.
    LoadResult load(const std::string& path);

    // Writes all hours through the safe save (FileError when that fails), then the lines that load could
    // not read, as they stood: a line this version does not understand is not lost. False without writing
    // when the file could not be read at load, so its hours are not lost.
    bool save(const std::string& path) const;

    // Adds one tick's figures to the current local hour. True when the tick falls into another
    // hour than the previous tick of this run: that hour has ended, and it is time to save.
    bool record(const TickFigures& tick);

    // Oldest first, one entry per hour, none older than keptDays days before the current one.
    const std::vector<HourEntry>& hours() const { return hours_; }
    std::int64_t currentHour() const;
    // The lines of the loaded file that did not parse and are written back behind the hours.
    const std::vector<std::string>& unreadLines() const { return unreadLines_; }

private:
    void dropOldDays(std::int64_t currentHour);

    const Clock& clock_;
    std::vector<HourEntry> hours_;
    std::vector<std::string> unreadLines_;
    std::optional<std::int64_t> lastTickHour_;
    bool fileUnreadable_ = false;
};

} // namespace quintor
