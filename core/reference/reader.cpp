#include "reference/reader.h"

#include "reference/replylines.h"
#include "reference/textroutines.h"
#include "settings/convert.h"
#include "settings/errors.h"

#include <limits>

namespace quintor {
namespace {

// The value of a line, cut to the longest value a record keeps.
std::string_view valueOf(std::string_view line)
{
    return lineValue(line).substr(0, kMaxValueLength);
}

// An ID that must not fail: a whole number gives its value, any other text the value of its leading decimal
// digits (0 without any). Digits beyond the 32-bit range stay at its top.
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

// Strips `key` off the front of `line` into `value` (cut like every value) when the line begins with it.
bool keyValue(std::string_view line, std::string_view key, std::string_view& value)
{
    if (!line.starts_with(key)) return false;
    value = line.substr(key.size(), kMaxValueLength);
    return true;
}

} // namespace

ReferenceReader::ReferenceReader(bool tagparse, const TextList& aliases, Callbacks callbacks)
    : tagparse_(tagparse), aliases_(aliases), callbacks_(std::move(callbacks))
{
}

void ReferenceReader::read(std::string_view reply, std::string_view server)
{
    if (abandoned_) return;
    server_ = server;
    try {
        splitReplyLines(reply, lines_);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const std::string_view current = lines_[i];
            // Headers are whole lines; most lines are keys and are passed over on their first character.
            if (current.size() < 8 || current.front() != '[') continue;
            if (current == "[Clonk Rage]") {
                readClonkRage(i);
            } else if (current == "[Client]") {
                guarded(&ReferenceReader::readClient, i);
            } else if (current == "[Resource]") {
                guarded(&ReferenceReader::readResource, i);
            } else if (current == "[Reference]") {
                complete();
                guarded(&ReferenceReader::readReference, i);
            } else if (current == "[Player]") {
                guarded(&ReferenceReader::readPlayer, i);
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
    return decodeValue(value, tagparse_);
}

std::string ReferenceReader::clean(std::string_view value, TextSpans& spans) const
{
    return decodeValueWithSpans(value, tagparse_, spans);
}

std::string ReferenceReader::aliased(std::string text, TextSpans* spans) const
{
    // aliasFor, without copying the text once more when it has no alias.
    const int line = aliasLineIndex(text, aliases_);
    if (line < 0) return text;
    if (spans) spans->clear();
    return aliases_.valueAt(line);
}

void ReferenceReader::complete()
{
    if (!pending_) return;
    GameRecord entry = std::move(*pending_);
    pending_.reset();
    hostOpen_ = false;
    if (callbacks_.completed) callbacks_.completed(std::move(entry));
}

void ReferenceReader::guarded(void (ReferenceReader::*step)(std::size_t), std::size_t header)
{
    try {
        (this->*step)(header);
    } catch (const ConversionError& error) {
        skipPending(error.what());
    }
}

void ReferenceReader::skipPending(const std::string& message)
{
    // Only a pending game's steps convert numbers, so there always is one here. Its remaining sections find no
    // record and count nowhere, up to the next "[Reference]".
    const std::string title = pending_ ? std::move(pending_->Title) : std::string();
    pending_.reset();
    hostOpen_ = false;
    counters_ = countersBeforePending_;
    if (callbacks_.skipped) callbacks_.skipped(title, message);
}

void ReferenceReader::readClonkRage(std::size_t header)
{
    version_ = std::string(valueOf(line(header + 1)));
    if (callbacks_.version) callbacks_.version(*version_);
}

void ReferenceReader::readClient(std::size_t header)
{
    // Clients before the first game have no record to count for.
    if (!pending_ || !line(header + 2).starts_with("Activated")) return;
    GameRecord& entry = *pending_;

    // An observing host (the official server's) writes "Observer=" before its name, which moves the name and the
    // user ID one line down.
    const std::size_t nameLine = line(header + 3).starts_with("Observer=") ? header + 4 : header + 3;
    if (line(nameLine + 1).find("CUID=") == std::string_view::npos) {
        ++entry.Emptys;
        ++counters_.emptys;
    }
    ++entry.Clients;
    ++counters_.clients;
    if (hostOpen_) {
        hostOpen_ = false;
        entry.Hoster = clean(valueOf(line(nameLine)), entry.HosterSpans);
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
    // Past the limit the keys are still read, so a bad number there drops the game as anywhere else.
    Resource beyondLimit;
    Resource& resource = pending_->Resources.size() < kMaxResources ? pending_->Resources.emplace_back() : beyondLimit;
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
    countersBeforePending_ = counters_;
    GameRecord& entry = pending_.emplace();
    entry.Server = server_;
    hostOpen_ = true;
    // Title first, so that a game dropped for a bad value can still be named.
    readTitleAndStatus(header, entry);

    // Newer hosts write no "AddressCount=": then every entry of each "Address=" line counts. Which case holds is
    // known only at the end of the game's keys, so until a count is met the address lines wait here (no more of
    // them than could each still give a host).
    bool addressCountMet = false;
    std::vector<std::string> uncountedAddresses;

    // The game's keys count up to the next "[Reference]", through its subsections; the last occurrence wins.
    for (std::size_t j = header + 1; j < lines_.size(); ++j) {
        const std::string_view current = lines_[j];
        if (current.empty()) continue;
        if (current.front() == '[') {
            if (current.starts_with("[Reference]")) break;
            continue;
        }
        std::string_view value;
        switch (current.front()) {
        case 'M':
            if (keyValue(current, "MaxPlayers=", value)) entry.MaxPlayers = strToInt(value);
            break;
        case 'C':
            if (keyValue(current, "ControlRate=", value)) {
                entry.ControlRate = std::string(value);
            } else if (keyValue(current, "Comment=", value)) {
                entry.Comment = clean(value, entry.CommentSpans);
            }
            break;
        case 'A':
            if (keyValue(current, "AddressCount=", value)) {
                entry.AddressCount = strToInt(value);
                addressCountMet = true;
            } else if (keyValue(current, "Address=", value)) {
                entry.Address = clean(value);
                if (addressCountMet) {
                    parseHosts(entry);
                } else if (uncountedAddresses.size() < kMaxIPs) {
                    uncountedAddresses.push_back(entry.Address);
                }
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
        case 'S':
            // Kept raw: it only tells this game from a later one of the same host and title.
            if (keyValue(current, "StartTime=", value)) entry.StartTime = std::string(value);
            break;
        default:
            break;
        }
    }
    // With a count that came too late the waiting lines give nothing, as they would have when read.
    if (!addressCountMet) {
        for (const std::string& address : uncountedAddresses)
            appendHosts(address, std::nullopt, entry.IPs);
    }
    ++counters_.references;
}

void ReferenceReader::readTitleAndStatus(std::size_t header, GameRecord& entry) const
{
    std::string_view titleLine = line(header + 2), stateLine = line(header + 3);
    // The title stands on line +2 when the host writes an icon. Without one ("Icon=" is left out for icon 0), and
    // with newer hosts that write "Title=" far down, the keys are looked for before the first subsection instead.
    if (!titleLine.starts_with("Title=")) {
        bool titleFound = false, stateFound = false;
        for (std::size_t j = header + 1; j < lines_.size() && !lines_[j].starts_with("["); ++j) {
            const std::string_view current = lines_[j];
            if (!titleFound && current.starts_with("Title=")) {
                titleLine = current;
                titleFound = true;
            } else if (!stateFound && current.starts_with("State=")) {
                stateLine = current;
                stateFound = true;
            }
        }
    }
    entry.Title = clean(valueOf(titleLine), entry.TitleSpans);
    entry.Status = statusText(valueOf(stateLine));
}

void ReferenceReader::readPlayer(std::size_t header)
{
    // Players before the first game have no record to belong to.
    if (!pending_) return;
    ++counters_.players;
    ++pending_->PlayerCount;
    const bool kept = pending_->Players.size() < kMaxPlayers;

    if (!line(header + 2).starts_with("Filename=")) {
        if (kept) readShiftedPlayer(header, pending_->Players.emplace_back());
        return;
    }
    // The layout every host writes for a player with a file: name, file name, then the ID or the flags.
    std::string_view id;
    const bool idOnThirdLine = keyValue(line(header + 3), "ID=", id);
    // Converted even past the limit: a bad ID drops the game wherever it stands.
    const std::int32_t idValue = idOnThirdLine ? strToInt(id) : lenientInt(valueOf(line(header + 4)));
    if (!kept) return;
    Player& player = pending_->Players.emplace_back();
    player.Name = aliased(clean(valueOf(line(header + 1)), player.NameSpans), &player.NameSpans);
    player.Filename = aliased(clean(valueOf(line(header + 2))));
    player.Flags = idOnThirdLine ? std::string("Keine") : aliased(clean(valueOf(line(header + 3))));
    player.ID = idValue;
}

void ReferenceReader::readShiftedPlayer(std::size_t header, Player& player) const
{
    // A "ForcedName=" line after a name clash, or a computer player without a file, moves the fixed lines; the
    // name still stands first, the rest is found by its key among the player's own lines, never with an error.
    player.Name = aliased(clean(valueOf(line(header + 1)), player.NameSpans), &player.NameSpans);
    player.Filename = aliased(clean(valueOf(sectionLine(header, "Filename="))));
    const std::string_view flags = sectionLine(header, "Flags=");
    player.Flags = flags.empty() ? std::string("Keine") : aliased(clean(valueOf(flags)));
    player.ID = lenientInt(valueOf(sectionLine(header, "ID=")));
}

} // namespace quintor
