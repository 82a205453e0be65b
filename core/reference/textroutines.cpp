#include "reference/textroutines.h"

#include "reference/escapes.h"
#include "settings/convert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quintor {

std::string decodeValue(std::string_view text, bool tagparse)
{
    if (!text.empty() && (text.front() == '"' || text.front() == '\'')) text.remove_prefix(1);
    if (!text.empty() && (text.back() == '"' || text.back() == '\'')) text.remove_suffix(1);
    std::string result(text);
    decodeEscapes(result);
    if (tagparse) result = stripTags(result, true);
    return result;
}

std::string stripTags(std::string_view text, bool tagparse)
{
    if (!tagparse) return std::string(text);
    // Each round removes the first "<" up to the first ">". Neither can lie before the end of the last removed
    // tag, so one pass with a cursor gives what repeating the search from the start would.
    std::string result;
    std::size_t cursor = 0;
    for (;;) {
        const std::size_t open = text.find('<', cursor);
        const std::size_t close = text.find('>', cursor);
        if (open == std::string_view::npos || close == std::string_view::npos || close < open) break;
        result.append(text.substr(cursor, open - cursor));
        cursor = close + 1;
    }
    result.append(text.substr(cursor));
    return result;
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
    return flag ? "Ja" : "Nein";
}

namespace {

// The host of one entry of an address list, such as TCP:"[2001:db8::5]:11112" or TCP:1.2.3.4:11112: everything up
// to and including its first ":" goes, and every quote; then the host is the text between "[" and "]" when it begins
// with "[", otherwise the text before its last ":".
std::string hostOf(std::string_view entry)
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
    if (!text.empty() && text.front() == '[') return std::string(text.substr(1, text.find(']') - 1));
    return std::string(text.substr(0, text.rfind(':')));
}

} // namespace

void appendHosts(std::string_view address, std::optional<std::int32_t> count, std::vector<std::string>& ips)
{
    if (ips.size() >= kMaxIPs) return;
    // Room for exactly the hosts that follow, so the list grows once.
    const std::size_t entries = count ? static_cast<std::size_t>(std::max(*count, 0))
                                      : static_cast<std::size_t>(std::count(address.begin(), address.end(), ',')) + 1;
    ips.reserve(ips.size() + std::min(entries, kMaxIPs - ips.size()));
    std::size_t from = 0;
    bool pastEnd = false;
    for (std::int32_t round = 0; ips.size() < kMaxIPs; ++round) {
        if (count ? round >= *count : pastEnd) break;
        if (pastEnd) {
            ips.emplace_back();
            continue;
        }
        const std::size_t comma = std::min(address.find(',', from), address.size());
        ips.push_back(hostOf(address.substr(from, comma - from)));
        if (comma == address.size()) {
            pastEnd = true;
        } else {
            from = comma + 1;
        }
    }
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
