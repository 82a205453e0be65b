// Lines the program itself adds to its lists: log entries and aliases. Each stays one line of its file.
#pragma once

#include "settings/textlist.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// A log filter on a busy league writes lines at every tick; the log is held in memory and rewritten
// whole at every save, so it keeps only its newest entries.
inline constexpr int kMaxLogEntries = 10000;
// Each entry keeps at most this many characters: a filter that logs a game's players or resources, or pads its
// text to a width, could otherwise write megabytes a line at every tick, and the log holds thousands of them.
inline constexpr std::size_t kMaxLogEntryLength = 4096;

// The log ("log.txt") in memory: its newest entries, oldest first, each one line (control characters blanked,
// see oneLine) of at most kMaxLogEntryLength characters. A ring: adding to a full log drops the oldest entry without
// moving the others.
class LogLines {
public:
    explicit LogLines(int capacity = kMaxLogEntries) : capacity_(static_cast<std::size_t>(capacity)) {}

    void add(std::string_view entry);
    int count() const { return static_cast<int>(ring_.size()); }
    // Entry i, 0 the oldest.
    const std::string& line(int index) const;
    std::vector<std::string> lines() const;
    void clear();

    // The lines of a file, of which the newest are kept; the file form, as "log.txt" is written.
    void assign(const TextList& lines);
    std::string text() const;
    // The lines of a file's text, as TextList::setText cuts them, then as assign keeps them.
    void setText(std::string_view text);
    void loadFromFile(const std::string& path);
    void saveToFile(const std::string& path) const;

private:
    std::size_t capacity_;
    std::vector<std::string> ring_;
    std::size_t oldest_ = 0; // where the oldest entry stands once the ring is full
};

// The line of "syno.txt" that shows `text` as `alias`: text "=" alias, each made one line (see oneLine).
std::string aliasLine(std::string_view text, std::string_view alias);

} // namespace quintor
