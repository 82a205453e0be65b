#include "reference/textroutines.h"
#include "settings/translate.h"

#include "reference/escapes.h"
#include "settings/convert.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quintor {

namespace {

// The quotes and escapes of a value, without tag stripping.
std::string unquotedAndDecoded(std::string_view text)
{
    if (!text.empty() && (text.front() == '"' || text.front() == '\'')) text.remove_prefix(1);
    if (!text.empty() && (text.back() == '"' || text.back() == '\'')) text.remove_suffix(1);
    std::string result(text);
    decodeEscapes(result);
    return result;
}

// Removes the tags as stripTags does and tells `onTag` of each one: its text between "<" and ">", and the length of
// the result so far (where the tag stood in it). Each round removes the first "<" up to the first ">". Neither can
// lie before the end of the last removed tag, so one pass with a cursor gives what repeating the search from the
// start would.
template <typename OnTag> std::string removeTags(std::string_view text, OnTag&& onTag)
{
    std::string result;
    std::size_t cursor = 0;
    for (;;) {
        const std::size_t open = text.find('<', cursor);
        const std::size_t close = text.find('>', cursor);
        if (open == std::string_view::npos || close == std::string_view::npos || close < open) break;
        result.append(text.substr(cursor, open - cursor));
        onTag(text.substr(open + 1, close - open - 1), result.size());
        cursor = close + 1;
    }
    result.append(text.substr(cursor));
    return result;
}

// `c` is `lower` in either letter case (`lower` a lower-case ASCII letter or any other character).
bool sameLetter(char c, char lower)
{
    return c == lower || (lower >= 'a' && lower <= 'z' && c == lower - 'a' + 'A');
}

// Tag names are read in either letter case, as the colour digits are.
bool isTag(std::string_view tag, std::string_view lowerName)
{
    if (tag.size() != lowerName.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (!sameLetter(tag[i], lowerName[i])) return false;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The colour of a tag "c RRGGBB", or none for any other tag.
std::optional<std::uint32_t> colourOfTag(std::string_view tag)
{
    if (tag.size() != 8 || !sameLetter(tag[0], 'c') || tag[1] != ' ') return std::nullopt;
    std::uint32_t rgb = 0;
    for (char c : tag.substr(2)) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
    }
    return rgb;
}

// Follows the markup's state from tag to tag and writes the runs it gives.
class SpanCollector {
public:
    explicit SpanCollector(TextSpans& spans) : spans_(spans) { spans_.clear(); }

    void tag(std::string_view tag, std::size_t at)
    {
        const std::optional<std::uint32_t> colourBefore = colour();
        const bool italicBefore = italicDepth_ > 0;
        if (const auto rgb = colourOfTag(tag)) {
            pushColour(*rgb);
        } else if (isTag(tag, "/c")) {
            popColour();
        } else if (isTag(tag, "i")) {
            ++italicDepth_;
        } else if (isTag(tag, "/i")) {
            if (italicDepth_ > 0) --italicDepth_;
        } else {
            return;
        }
        if (colour() == colourBefore && (italicDepth_ > 0) == italicBefore) return;
        endRun(at, colourBefore, italicBefore);
    }

    void finish(std::size_t end) { endRun(end, colour(), italicDepth_ > 0); }

private:
    // The open colours, innermost last. A title nests a few at most, kept here without allocating; a hostile one
    // may nest hundreds.
    void pushColour(std::uint32_t rgb)
    {
        if (depth_ < nearColours_.size())
            nearColours_[depth_] = rgb;
        else
            deeperColours_.push_back(rgb);
        ++depth_;
    }

    void popColour()
    {
        if (depth_ == 0) return;
        --depth_;
        if (depth_ >= nearColours_.size()) deeperColours_.pop_back();
    }

    std::optional<std::uint32_t> colour() const
    {
        if (depth_ == 0) return std::nullopt;
        return depth_ <= nearColours_.size() ? nearColours_[depth_ - 1] : deeperColours_.back();
    }

    // The text from the last change up to `at` had this style.
    void endRun(std::size_t at, std::optional<std::uint32_t> rgb, bool italic)
    {
        const auto start = static_cast<std::uint32_t>(runStart_);
        const auto length = static_cast<std::uint32_t>(at - runStart_);
        runStart_ = at;
        if (length == 0 || (!rgb && !italic)) return;
        // "<c ff0000>a</c><c ff0000>b</c>" is one run.
        if (!spans_.empty() && spans_.back().start + spans_.back().length == start && spans_.back().rgb == rgb &&
            spans_.back().italic == italic) {
            spans_.back().length += length;
            return;
        }
        spans_.push_back({start, length, rgb, italic});
    }

    TextSpans& spans_;
    std::array<std::uint32_t, 8> nearColours_{};
    std::vector<std::uint32_t> deeperColours_;
    std::size_t depth_ = 0;
    int italicDepth_ = 0;
    std::size_t runStart_ = 0;
};

} // namespace

std::string decodeValue(std::string_view text, bool tagparse)
{
    std::string result = unquotedAndDecoded(text);
    if (tagparse) result = stripTags(result, true);
    return result;
}

std::string decodeValueWithSpans(std::string_view text, bool tagparse, TextSpans& spans)
{
    std::string result = unquotedAndDecoded(text);
    if (tagparse) return stripTagsWithSpans(result, spans);
    spans.clear();
    return result;
}

std::string stripTags(std::string_view text, bool tagparse)
{
    if (!tagparse) return std::string(text);
    return removeTags(text, [](std::string_view, std::size_t) {});
}

std::string stripTagsWithSpans(std::string_view text, TextSpans& spans)
{
    SpanCollector collector(spans);
    std::string result = removeTags(text, [&](std::string_view tag, std::size_t at) { collector.tag(tag, at); });
    collector.finish(result.size());
    return result;
}

TextSpans spansWithin(const TextSpans& spans, std::size_t limit, std::size_t offset)
{
    TextSpans within;
    for (const TextSpan& span : spans) {
        if (span.start >= limit) break;
        const std::size_t end = std::min<std::size_t>(span.start + span.length, limit);
        within.push_back({static_cast<std::uint32_t>(span.start + offset), static_cast<std::uint32_t>(end - span.start),
                          span.rgb, span.italic});
    }
    return within;
}

std::string octtodec(std::string_view digits)
{
    std::uint64_t value = 0;
    for (char digit : digits)
        value = value * 8 + static_cast<unsigned char>(digit) - static_cast<unsigned char>('0');
    return std::to_string(static_cast<std::int64_t>(value));
}

int aliasLineIndex(std::string_view text, const TextList& aliases)
{
    if (text.empty()) return -1;
    for (int i = 0; i < aliases.count(); ++i) {
        if (std::string_view(aliases.line(i)).starts_with(text)) return i;
    }
    return -1;
}

std::string aliasFor(std::string_view text, const TextList& aliases)
{
    const int line = aliasLineIndex(text, aliases);
    return line < 0 ? std::string(text) : aliases.valueAt(line);
}

std::string statusText(std::string_view status)
{
    if (status == "Running") return "Laufend";
    if (status == "Paused") return "Pause";
    return std::string(status);
}

std::string yesNoText(bool flag)
{
    return flag ? untranslated("Ja") : untranslated("Nein");
}

namespace {

// The game's fixed values stay German in the record, since filters compare them; they are turned only
// where they are shown.
constexpr const char* fixedValues[] = {untranslated("Laufend"), untranslated("Pause"), untranslated("Lobby"),
                                       untranslated("Kein Kommentar"), untranslated("Keine")};
constexpr std::size_t longestFixedValue = 14;

} // namespace

const std::string& shownFixedValue(const std::string& value)
{
    if (value.empty() || value.size() > longestFixedValue) return value;
    for (const char* german : fixedValues)
        if (value == german) return tr(german);
    return value;
}

std::optional<std::string> fixedValueShownAs(std::string_view text)
{
    for (const char* german : fixedValues) {
        const std::string& shown = tr(german);
        if (shown != german && sameNameIgnoringCase(shown, text)) return std::string(german);
    }
    return std::nullopt;
}

namespace {

// The host of one entry of an address list, such as TCP:"[2001:db8::5]:11112" or TCP:1.2.3.4:11112: everything up
// to and including its first ":" goes, and every quote; then the host is the text between "[" and "]" when it begins
// with "[", otherwise the text before its last ":". Appended to `hosts` with its HostList::kEnd.
void appendHostOf(std::string_view entry, std::string& hosts)
{
    if (const std::size_t colon = entry.find(':'); colon != std::string_view::npos) entry.remove_prefix(colon + 1);
    // A classic host writes no quote, a newer one only the two around the rest: then the host is cut from the entry
    // as it stands. Any other quotes go one by one, in a copy made on the stack for an entry of a usual length.
    std::string_view text = entry;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    char buffer[96];
    std::string longEntry;
    if (text.find('"') != std::string_view::npos) {
        char* unquoted = buffer;
        if (entry.size() > sizeof buffer) {
            longEntry.resize(entry.size());
            unquoted = longEntry.data();
        }
        std::size_t size = 0;
        for (const char c : entry) {
            if (c != '"') unquoted[size++] = c;
        }
        text = std::string_view(unquoted, size);
    }
    hosts.append(!text.empty() && text.front() == '[' ? text.substr(1, text.find(']') - 1)
                                                      : text.substr(0, text.rfind(':')));
    hosts.push_back(HostList::kEnd);
}

} // namespace

void appendHosts(std::string_view address, std::optional<std::int32_t> count, HostList& ips)
{
    std::size_t held = ips.size();
    if (held >= kMaxIPs) return;
    // The hosts are gathered apart and joined to the list at once, so that the list's text is allocated once, at
    // its size. The gathering text is kept for the next address unless a long one made it large.
    thread_local std::string added;
    added.clear();
    std::size_t from = 0;
    bool pastEnd = false;
    for (std::int32_t round = 0; held < kMaxIPs; ++round, ++held) {
        if (count ? round >= *count : pastEnd) break;
        if (pastEnd) {
            added.push_back(HostList::kEnd);
            continue;
        }
        const std::size_t comma = std::min(address.find(',', from), address.size());
        appendHostOf(address.substr(from, comma - from), added);
        if (comma == address.size()) {
            pastEnd = true;
        } else {
            from = comma + 1;
        }
    }
    ips.appendText(added);
    if (added.capacity() > 4096) std::string().swap(added);
}

void parseHosts(GameRecord& entry, bool addressCountGiven)
{
    appendHosts(entry.Address, addressCountGiven ? std::optional<std::int32_t>(entry.AddressCount) : std::nullopt,
                entry.IPs);
}

bool tagparseSetting(const TextList& config)
{
    const std::string value = config.value("tagparse");
    return !value.empty() && strToBool(value);
}

} // namespace quintor
