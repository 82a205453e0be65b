#include "reference/reader.h"

#include "reference/replylines.h"
#include "reference/textroutines.h"
#include "settings/convert.h"

#include <limits>

namespace quintor {
namespace {

// The ID of a player whose flags took line +3: a whole number gives its value, any other text the value of its
// leading decimal digits (0 without any), never an error. Digits beyond the 32-bit range stay at its top.
std::int32_t lenientInt(std::string_view text)
{
    if (auto value = parseInt(text)) return *value;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Strips `key` off the front of `line` into `value` when the line begins with it.
bool keyValue(std::string_view line, std::string_view key, std::string_view& value)
{
    if (!line.starts_with(key)) return false;
    value = line.substr(key.size());
    return true;
}

} // namespace

ReferenceReader::ReferenceReader(bool tagparse, const TextList& syno, Callbacks callbacks)
    : tagparse_(tagparse), syno_(syno), callbacks_(std::move(callbacks))
{
}

void ReferenceReader::read(std::string_view reply)
{
    if (abandoned_) return;
    try {
        splitReplyLines(reply, lines_);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const std::string_view current = lines_[i];
            // Headers are whole lines; most lines are keys and are passed over on their first character.
            if (current.size() < 8 || current.front() != '[') continue;
            if (current == "[Clonk Rage]") {
                readClonkRage(i);
            } else if (current == "[Client]") {
                readClient(i);
            } else if (current == "[Resource]") {
                readResource(i);
            } else if (current == "[Reference]") {
                readReference(i);
            } else if (current == "[Player]") {
                readPlayer(i);
            }
        }
    } catch (...) {
        abandoned_ = true;
        pending_.reset();
        lines_.clear();
        throw;
    }
    lines_.clear(); // the views point into the caller's reply
}

void ReferenceReader::finish()
{
    if (abandoned_) return;
    try {
        complete();
    } catch (...) {
        abandoned_ = true;
        throw;
    }
}

std::string_view ReferenceReader::line(std::size_t index) const
{
    return index < lines_.size() ? lines_[index] : std::string_view();
}

std::string ReferenceReader::clean(std::string_view value) const
{
    return cleanvalue(value, tagparse_);
}

std::string ReferenceReader::aliased(std::string text) const
{
    // gsyno, without copying the text once more when it has no alias.
    const int line = synoIndex(text, syno_);
    return line < 0 ? std::move(text) : syno_.ValueAt(line);
}

void ReferenceReader::complete()
{
    if (!pending_) return;
    TGameEntry entry = std::move(*pending_);
    pending_.reset();
    hostOpen_ = false;
    if (callbacks_.completed) callbacks_.completed(std::move(entry));
}

void ReferenceReader::readClonkRage(std::size_t header)
{
    version_ = std::string(lineValue(line(header + 1)));
    if (callbacks_.version) callbacks_.version(*version_);
}

void ReferenceReader::readClient(std::size_t header)
{
    // Clients before the first game have no record to count for.
    if (!pending_ || !line(header + 2).starts_with("Activated")) return;
    TGameEntry& entry = *pending_;

    // Classic layout: the name on line +3 and the user ID on line +4. An observer (the official host, for
    // one) has an "Observer=" line before its name, so then the keys are looked up within the section.
    bool hasUserId;
    std::string_view name;
    if (line(header + 3).starts_with("Name=")) {
        hasUserId = line(header + 4).find("CUID=") != std::string_view::npos;
        name = line(header + 3);
    } else {
        const std::string_view nameLine = sectionLine(header, "Name=");
        hasUserId = !sectionLine(header, "CUID=").empty();
        name = nameLine.empty() ? line(header + 3) : nameLine;
    }
    if (!hasUserId) {
        ++entry.Emptys;
        ++counters_.emptys;
    }
    ++entry.Clients;
    ++counters_.clients;
    if (hostOpen_) {
        hostOpen_ = false;
        entry.Hoster = clean(lineValue(name));
    }
}

std::string_view ReferenceReader::sectionLine(std::size_t header, std::string_view key) const
{
    for (std::size_t j = header + 1; j < lines_.size() && !lines_[j].starts_with("["); ++j) {
        if (lines_[j].starts_with(key)) return lines_[j];
    }
    return {};
}

void ReferenceReader::readResource(std::size_t header)
{
    if (!pending_) return;
    TResource& resource = pending_->Resources.emplace_back();
    // The game writes "Loadable=" only for a resource that cannot be loaded.
    resource.Loadable = true;
    // The section has no end of its own: the keys count up to the next "[Resource]" or "[PlayerInfos]", across
    // any other header, so each line is scanned for at most one resource.
    for (std::size_t j = header + 1; j < lines_.size(); ++j) {
        const std::string_view current = lines_[j];
        if (current.empty()) continue;
        std::string_view value;
        switch (current.front()) {
        case '[':
            if (current == "[Resource]" || current == "[PlayerInfos]") return;
            break;
        case 'T':
            if (keyValue(current, "Type=", value)) resource.Type = clean(value);
            break;
        case 'F':
            if (keyValue(current, "Filename=", value)) {
                resource.Filename = clean(value);
            } else if (keyValue(current, "FileSize=", value)) {
                resource.FileSize = strToInt(clean(value));
            }
            break;
        case 'A':
            if (keyValue(current, "Author=", value)) resource.Author = clean(value);
            break;
        case 'L':
            if (keyValue(current, "Loadable=", value)) resource.Loadable = strToBool(clean(value));
            break;
        default:
            break;
        }
    }
}

void ReferenceReader::readReference(std::size_t header)
{
    complete();
    TGameEntry& entry = pending_.emplace();
    hostOpen_ = true;

    // Title and state: the game writes "Icon=" only when the icon is not 0 and newer hosts write "Title=" far
    // down, so the keys are looked for in the lines before the first subsection; the fixed lines +2 and +3 are
    // only the fallback. For the classic layout both give the same lines.
    std::optional<std::string_view> titleLine, stateLine;
    bool beforeSubsection = true;

    // The game's keys count up to the next "[Reference]", through its subsections; the last occurrence wins.
    for (std::size_t j = header + 1; j < lines_.size(); ++j) {
        const std::string_view current = lines_[j];
        if (current.empty()) continue;
        if (current.front() == '[') {
            if (current.starts_with("[Reference]")) break;
            beforeSubsection = false;
            continue;
        }
        std::string_view value;
        switch (current.front()) {
        case 'T':
            if (beforeSubsection && !titleLine && current.starts_with("Title=")) titleLine = current;
            break;
        case 'S':
            if (beforeSubsection && !stateLine && current.starts_with("State=")) stateLine = current;
            break;
        case 'M':
            if (keyValue(current, "MaxPlayers=", value)) entry.MaxPlayers = strToInt(value);
            break;
        case 'C':
            if (keyValue(current, "ControlRate=", value)) {
                entry.ControlRate = std::string(value);
            } else if (keyValue(current, "Comment=", value)) {
                entry.Comment = clean(value);
            }
            break;
        case 'A':
            if (keyValue(current, "AddressCount=", value)) {
                entry.AddressCount = strToInt(value);
            } else if (keyValue(current, "Address=", value)) {
                entry.Address = clean(value);
                parseip(entry);
            }
            break;
        case 'V':
            if (keyValue(current, "Version=", value)) entry.Version = std::string(value);
            break;
        case 'G':
            if (keyValue(current, "Game=", value)) entry.Game = clean(value);
            break;
        case 'P':
            if (keyValue(current, "PasswordNeeded=", value)) entry.PasswordNeeded = strToBool(clean(value));
            break;
        case 'O':
            if (keyValue(current, "OfficialServer=", value)) entry.OfficialServer = strToBool(clean(value));
            break;
        case 'L':
            if (keyValue(current, "League=", value)) entry.League = clean(value);
            break;
        default:
            break;
        }
    }
    entry.Title = clean(lineValue(titleLine ? *titleLine : line(header + 2)));
    entry.Status = nicestatus(lineValue(stateLine ? *stateLine : line(header + 3)));
    ++counters_.references;
}

void ReferenceReader::readPlayer(std::size_t header)
{
    // Players before the first game have no record to belong to.
    if (!pending_) return;
    ++counters_.players;
    ++pending_->PlayerCount;
    TPlayer& player = pending_->Players.emplace_back();
    player.Name = aliased(clean(lineValue(line(header + 1))));
    const bool classicLayout = line(header + 2).starts_with("Filename=") &&
                               (line(header + 3).starts_with("ID=") || line(header + 3).starts_with("Flags="));
    if (!classicLayout) {
        // A computer player has no file name and a renamed one a "ForcedName=" line, which shift the fixed
        // lines; then the keys are looked up within the section.
        player.Filename = aliased(clean(lineValue(sectionLine(header, "Filename="))));
        const std::string_view flags = sectionLine(header, "Flags=");
        player.Flags = flags.empty() ? std::string("Keine") : aliased(clean(lineValue(flags)));
        const std::string_view id = sectionLine(header, "ID=");
        player.ID = id.empty() ? 0 : strToInt(lineValue(id));
        return;
    }
    player.Filename = aliased(clean(lineValue(line(header + 2))));
    if (std::string_view id; keyValue(line(header + 3), "ID=", id)) {
        player.ID = strToInt(id);
        player.Flags = "Keine";
    } else {
        player.Flags = aliased(clean(lineValue(line(header + 3))));
        player.ID = lenientInt(lineValue(line(header + 4)));
    }
}

} // namespace quintor
