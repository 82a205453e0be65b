#include "settings/storedlines.h"
#include "settings/translate.h"

#include "settings/errors.h"
#include "settings/fileio.h"

namespace quintor {

void LogLines::add(std::string_view entry)
{
    if (capacity_ == 0) return;
    entry = entry.substr(0, kMaxLogEntryLength);
    if (ring_.size() < capacity_) {
        ring_.push_back(oneLine(entry));
        return;
    }
    ring_[oldest_] = oneLine(entry);
    oldest_ = (oldest_ + 1) % capacity_;
}

const std::string& LogLines::line(int index) const
{
    if (index < 0 || index >= count())
        throw QuintorError(tr("Listenindex \xFC"
                              "berschreitet das Maximum (") +
                           std::to_string(index) + ")");
    return ring_[(oldest_ + static_cast<std::size_t>(index)) % ring_.size()];
}

std::vector<std::string> LogLines::lines() const
{
    std::vector<std::string> ordered;
    ordered.reserve(ring_.size());
    for (int i = 0; i < count(); ++i)
        ordered.push_back(line(i));
    return ordered;
}

void LogLines::clear()
{
    ring_.clear();
    oldest_ = 0;
}

void LogLines::assign(const TextList& lines)
{
    clear();
    const std::size_t first = lines.lines().size() > capacity_ ? lines.lines().size() - capacity_ : 0;
    for (std::size_t i = first; i < lines.lines().size(); ++i)
        ring_.push_back(lines.lines()[i]); // as the file has it: a stored line is not changed
}

std::string LogLines::text() const
{
    return TextList(lines()).text();
}

void LogLines::setText(std::string_view text)
{
    TextList lines;
    lines.setText(text);
    assign(lines);
}

void LogLines::loadFromFile(const std::string& path)
{
    setText(readWholeFile(path));
}

void LogLines::saveToFile(const std::string& path) const
{
    saveWholeFile(path, text());
}

std::string aliasLine(std::string_view text, std::string_view alias)
{
    return oneLine(text) + "=" + oneLine(alias);
}

} // namespace quintor
