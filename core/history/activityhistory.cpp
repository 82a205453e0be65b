#include "history/activityhistory.h"

#include "history/civiltime.h"
#include "settings/errors.h"
#include "settings/fileio.h"

#include <algorithm>
#include <iterator>

namespace quintor {
namespace {

bool earlier(const HourEntry& entry, std::int64_t hour)
{
    return entry.hour < hour;
}

} // namespace

ActivityHistory::LoadResult ActivityHistory::load(const std::string& path)
{
    LoadResult result;
    if (!fileExists(path)) return result;
    TextList lines;
    try {
        const std::string bytes = readWholeFile(path);
        lines.setText(bytes);
        // Hours behind a NUL byte were never read: the hours before it are shown, and the file is kept as it is.
        refuseTextCutByNul(path, bytes);
    } catch (const FileError& error) {
        fileUnreadable_ = true;
        result.error = error.what();
        if (lines.count() == 0) return result;
    }
    ParsedHistory parsed = parseHistory(lines);
    result.skippedLines = parsed.skippedLines;
    unreadLines_.insert(unreadLines_.end(), std::make_move_iterator(parsed.unreadLines.begin()),
                        std::make_move_iterator(parsed.unreadLines.end()));
    if (hours_.empty()) {
        hours_ = std::move(parsed.hours);
    } else {
        for (const HourEntry& entry : parsed.hours) {
            auto at = std::lower_bound(hours_.begin(), hours_.end(), entry.hour, earlier);
            if (at != hours_.end() && at->hour == entry.hour)
                at->totals.merge(entry.totals);
            else
                hours_.insert(at, entry);
        }
    }
    dropOldDays(currentHour());
    return result;
}

bool ActivityHistory::save(const std::string& path) const
{
    if (fileUnreadable_) return false;
    TextList text = historyText(hours_);
    for (const std::string& line : unreadLines_)
        text.add(line);
    text.saveToFile(path);
    return true;
}

bool ActivityHistory::record(const TickFigures& tick)
{
    const std::int64_t hour = currentHour();
    const bool hourEnded = lastTickHour_ && *lastTickHour_ != hour;
    lastTickHour_ = hour;

    // Almost always the newest hour; an earlier one only when the clock was set back.
    if (!hours_.empty() && hours_.back().hour == hour) {
        hours_.back().totals.add(tick);
        return hourEnded;
    }
    auto at = std::lower_bound(hours_.begin(), hours_.end(), hour, earlier);
    if (at != hours_.end() && at->hour == hour) {
        at->totals.add(tick);
        return hourEnded;
    }
    hours_.insert(at, HourEntry{hour, {}})->totals.add(tick);
    // A new hour may start a new day: the oldest one goes.
    dropOldDays(hour);
    return hourEnded;
}

std::int64_t ActivityHistory::currentHour() const
{
    return hourNumber(clock_.now());
}

void ActivityHistory::dropOldDays(std::int64_t currentHour)
{
    const std::int64_t firstKept = (dayOfHour(currentHour) - (keptDays - 1)) * 24;
    const auto end = std::lower_bound(hours_.begin(), hours_.end(), firstKept, earlier);
    hours_.erase(hours_.begin(), end);
}

} // namespace quintor
