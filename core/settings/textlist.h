// An ordered list of 8-bit text lines: the form of every file of the application folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Splits a text into lines at CR LF, a lone CR or a lone LF; a NUL byte ends the text and a
// break at the very end adds no empty line. Views point into `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// Compares two names as settings names are compared: without regard to letter case
// (ASCII and the Windows-1252 letters).
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

// A text made fit to stand as one line of a list: every control character (codes 0 to 31) becomes a
// blank. A line break would split it into two lines, and a NUL would end the whole file when it is read.
std::string oneLine(std::string_view text);

class TextList {
public:
    TextList() = default;
    explicit TextList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Whole-file load and save. Loading a missing or unreadable file raises FileError and
    // leaves the list as it was. Saving replaces the file only once all of it is written.
    void loadFromFile(const std::string& path);
    void saveToFile(const std::string& path) const;

    // Replaces the content by the lines of a text, split as a file is.
    void setText(std::string_view text);
    // The file form: CR LF after every line; empty for an empty list.
    std::string text() const;

    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int index) const;
    void setLine(int index, std::string line);
    void add(std::string line) { lines_.push_back(std::move(line)); }
    void insert(int index, std::string line);
    void remove(int index);
    // Removes the first `count` lines (all of them when there are fewer).
    void removeFirst(int number);
    void clear() { lines_.clear(); }
    void addAll(const TextList& other);

    // Index of the first line whose name (text before its first "=") matches, or -1.
    int indexOfName(std::string_view name) const;
    // Value of the first matching line, or "" when none matches.
    std::string value(std::string_view name) const;
    // Non-empty value: replaces the first matching line by name=value, or appends it.
    // Empty value: deletes the first matching line.
    void setValue(std::string_view name, std::string_view value);
    // Text of line i after its first "="; for a line without "=", the line without its first character.
    std::string valueAt(int index) const;

    const std::vector<std::string>& lines() const { return lines_; }
    bool operator==(const TextList&) const = default;

private:
    void checkIndex(int index) const;

    std::vector<std::string> lines_;
};

} // namespace quintor
