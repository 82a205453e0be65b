#include "settings/textlist.h"
#include "settings/translate.h"

#include "settings/errors.h"
#include "settings/fileio.h"

#include <algorithm>

namespace quintor {
namespace {

unsigned char foldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    // Windows-1252: À..Þ except ×, and Š, Œ, Ž, Ÿ.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view text)
{
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.push_back(text.substr(start));
    return lines;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(static_cast<unsigned char>(a[i])) != foldCase(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

std::string oneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    return line;
}

void TextList::loadFromFile(const std::string& path)
{
    setText(readWholeFile(path));
}

void TextList::saveToFile(const std::string& path) const
{
    saveWholeFile(path, text());
}

void TextList::setText(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::string_view line : splitLines(text))
        lines.emplace_back(line);
    lines_ = std::move(lines);
}

std::string TextList::text() const
{
    std::size_t size = 0;
    for (const auto& line : lines_)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TextList::checkIndex(int index) const
{
    if (index < 0 || index >= count()) {
        throw QuintorError(tr("Listenindex \xFC"
                              "berschreitet das Maximum (") +
                           std::to_string(index) + ")");
    }
}

const std::string& TextList::line(int index) const
{
    checkIndex(index);
    return lines_[static_cast<std::size_t>(index)];
}

void TextList::setLine(int index, std::string line)
{
    checkIndex(index);
    lines_[static_cast<std::size_t>(index)] = std::move(line);
}

void TextList::insert(int index, std::string line)
{
    if (index < 0 || index > count()) checkIndex(index);
    lines_.insert(lines_.begin() + index, std::move(line));
}

void TextList::remove(int index)
{
    checkIndex(index);
    lines_.erase(lines_.begin() + index);
}

void TextList::removeFirst(int number)
{
    if (number <= 0) return;
    lines_.erase(lines_.begin(), lines_.begin() + std::min(number, count()));
}

void TextList::addAll(const TextList& other)
{
    // Copy first: `other` may be this list.
    std::vector<std::string> copy = other.lines_;
    lines_.insert(lines_.end(), std::make_move_iterator(copy.begin()), std::make_move_iterator(copy.end()));
}

int TextList::indexOfName(std::string_view name) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (sameNameIgnoringCase(std::string_view(line).substr(0, eq), name)) return static_cast<int>(i);
    }
    return -1;
}

std::string TextList::value(std::string_view name) const
{
    const int index = indexOfName(name);
    return index < 0 ? std::string() : valueAt(index);
}

void TextList::setValue(std::string_view name, std::string_view value)
{
    const int index = indexOfName(name);
    if (value.empty()) {
        if (index >= 0) remove(index);
        return;
    }
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append("=").append(value);
    if (index >= 0) {
        lines_[static_cast<std::size_t>(index)] = std::move(line);
    } else {
        lines_.push_back(std::move(line));
    }
}

std::string TextList::valueAt(int index) const
{
    const std::string& text = line(index);
    const auto eq = text.find('=');
    if (eq != std::string::npos) return text.substr(eq + 1);
    return text.empty() ? std::string() : text.substr(1);
}

} // namespace quintor
