// Lines the program itself adds to its lists: log entries and aliases. Each stays one line of its file.
#pragma once

#include "settings/textlist.h"

#include <string>
#include <string_view>

namespace quintor {

// A log filter on a busy league writes lines at every tick; the log is held in memory and rewritten
// whole at every save, so it keeps only its newest entries.
inline constexpr int kMaxLogEntries = 10000;

// Appends one entry to the log lines (control characters blanked, see oneLine) and drops the oldest
// entries beyond kMaxLogEntries.
void appendLogEntry(TextList& logLines, std::string_view entry);
// Drops the oldest entries beyond kMaxLogEntries.
void keepNewestLogEntries(TextList& logLines);

// The line of "syno.txt" that shows `text` as `alias`: text "=" alias, each made one line (see oneLine).
std::string aliasLine(std::string_view text, std::string_view alias);

} // namespace quintor
