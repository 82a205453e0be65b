#include "history/hourtotals.h"
#include "settings/translate.h"

#include "history/civiltime.h"
#include "settings/convert.h"
#include "settings/keys.h"

#include <algorithm>
#include <cstdio>

namespace quintor {
namespace {

// Digits only, at most 15 of them, so sums of many hours cannot overflow.
std::optional<std::int64_t> decimal(std::string_view text)
{
    if (text.empty() || text.size() > 15) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> fixedDigits(std::string_view line, std::size_t at, std::size_t count)
{
    const auto value = decimal(line.substr(at, count));
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// max <= sum <= ticks * max, written without the product so it cannot overflow.
bool possible(std::int64_t ticks, std::int64_t sum, std::int64_t max)
{
    if (max > sum) return false;
    if (max == 0) return sum == 0;
    return (sum - 1) / max + 1 <= ticks;
}

} // namespace

void HourTotals::add(const TickFigures& tick)
{
    ++ticks;
    gamesSum += tick.openGames;
    gamesMax = std::max<std::int64_t>(gamesMax, tick.openGames);
    playersSum += tick.playersOnline;
    playersMax = std::max<std::int64_t>(playersMax, tick.playersOnline);
}

void HourTotals::merge(const HourTotals& other)
{
    ticks += other.ticks;
    gamesSum += other.gamesSum;
    gamesMax = std::max(gamesMax, other.gamesMax);
    playersSum += other.playersSum;
    playersMax = std::max(playersMax, other.playersMax);
}

std::string hourLine(const HourEntry& entry)
{
    const LocalHour when = localHourOf(entry.hour);
    const HourTotals& t = entry.totals;
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d=%lld;%lld;%lld;%lld;%lld", when.year, when.month,
                  when.day, when.hour, static_cast<long long>(t.ticks), static_cast<long long>(t.gamesSum),
                  static_cast<long long>(t.gamesMax), static_cast<long long>(t.playersSum),
                  static_cast<long long>(t.playersMax));
    return buffer;
}

std::optional<HourEntry> parseHourLine(std::string_view line)
{
    // "YYYY-MM-DD HH=" takes the first 14 characters.
    if (line.size() < 14 || line[4] != '-' || line[7] != '-' || line[10] != ' ' || line[13] != '=') return std::nullopt;
    const auto year = fixedDigits(line, 0, 4), month = fixedDigits(line, 5, 2), day = fixedDigits(line, 8, 2),
               hour = fixedDigits(line, 11, 2);
    if (!year || !month || !day || !hour || !isValidDate(*year, *month, *day) || *hour > 23) return std::nullopt;

    std::int64_t figures[5];
    std::string_view rest = line.substr(14);
    for (int i = 0; i < 5; ++i) {
        const auto end = i < 4 ? rest.find(';') : rest.size();
        if (end == std::string_view::npos) return std::nullopt;
        const auto value = decimal(rest.substr(0, end));
        if (!value) return std::nullopt;
        figures[i] = *value;
        rest.remove_prefix(i < 4 ? end + 1 : end);
    }
    const HourTotals totals{figures[0], figures[1], figures[2], figures[3], figures[4]};
    if (totals.ticks < 1 || !possible(totals.ticks, totals.gamesSum, totals.gamesMax) ||
        !possible(totals.ticks, totals.playersSum, totals.playersMax))
        return std::nullopt;
    return HourEntry{hourNumber(LocalHour{*year, *month, *day, *hour}), totals};
}

ParsedHistory parseHistory(const TextList& lines)
{
    ParsedHistory parsed;
    parsed.hours.reserve(static_cast<std::size_t>(lines.count()));
    bool sorted = true;
    for (const std::string& line : lines.lines()) {
        if (line.empty()) continue;
        auto entry = parseHourLine(line);
        if (!entry) {
            ++parsed.skippedLines;
            parsed.unreadLines.push_back(line);
            continue;
        }
        if (!parsed.hours.empty() && parsed.hours.back().hour >= entry->hour) sorted = false;
        parsed.hours.push_back(*entry);
    }
    if (sorted) return parsed;

    std::stable_sort(parsed.hours.begin(), parsed.hours.end(),
                     [](const HourEntry& a, const HourEntry& b) { return a.hour < b.hour; });
    std::vector<HourEntry> merged;
    merged.reserve(parsed.hours.size());
    for (const HourEntry& entry : parsed.hours) {
        if (!merged.empty() && merged.back().hour == entry.hour)
            merged.back().totals.merge(entry.totals);
        else
            merged.push_back(entry);
    }
    parsed.hours = std::move(merged);
    return parsed;
}

TextList historyText(const std::vector<HourEntry>& hours)
{
    std::vector<std::string> lines;
    lines.reserve(hours.size());
    for (const HourEntry& entry : hours)
        lines.push_back(hourLine(entry));
    return TextList(std::move(lines));
}

std::string skippedLinesNote(int skippedLines)
{
    if (skippedLines <= 0) return "";
    return trn("Verlauf: %1 unlesbare Zeile in \"", "Verlauf: %1 unlesbare Zeilen in \"", skippedLines) +
           std::string(files::history) +
           tr("\" \xFC"
              "bersprungen");
}

bool historyRecordingOn(const TextList& config)
{
    return parseBool(config.value(keys::history)).value_or(true);
}

} // namespace quintor
