// Everything a reference reader hands back while it reads a set of replies, as one canonical text: each record
// (every field), each version text and skipped game in the order the callbacks came, then the counters, the last
// version and whether a callback abandoned the parse. Two readers that give the same transcript agree in every
// result. One line per field; fields at their default are left out.
#pragma once

#include "reference/reader.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor::test {

// One reading: the replies of one refresh, in order, read through one parse state.
struct ReadingCase {
    std::string name;
    std::vector<std::string> replies;
    bool tagparse = false;
    TextList aliases;
    int throwAtRecord = -1; // the completed callback throws at this record (0-based); -1: never
};

// Bytes outside printable ASCII, "\", "|" and a blank at the end as \xHH: no line of a transcript ends in a blank.
inline std::string escaped(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (code > 0x20 && code < 0x7F && code != '\\' && code != '|') {
            out += text[i];
        } else if (code == ' ' && i + 1 < text.size()) {
            out += ' ';
        } else {
            out += "\\x";
            out += kHex[code >> 4];
            out += kHex[code & 15];
        }
    }
    return out;
}

// "name value", or "name" alone for an empty value.
inline std::string transcriptLine(std::string_view name, std::string_view value)
{
    std::string line(name);
    if (!value.empty()) {
        line += ' ';
        line += value;
    }
    return line + '\n';
}

inline std::string recordTranscript(const GameRecord& game)
{
    const GameRecord defaults;
    std::string out;
    auto text = [&](const char* name, const std::string& value, const std::string& fallback) {
        if (value != fallback) out += transcriptLine(name, escaped(value));
    };
    auto number = [&](const char* name, long long value) {
        if (value != 0) out += transcriptLine(name, std::to_string(value));
    };
    // Title and Status always stand, so a reader of a transcript sees which game it is.
    out += transcriptLine("Title", escaped(game.Title));
    out += transcriptLine("Status", escaped(game.Status));
    number("PlayerCount", game.PlayerCount);
    number("MaxPlayers", game.MaxPlayers);
    number("Emptys", game.Emptys);
    number("Clients", game.Clients);
    text("Hoster", game.Hoster, defaults.Hoster);
    text("Version", game.Version, defaults.Version);
    text("Game", game.Game, defaults.Game);
    text("Comment", game.Comment, defaults.Comment);
    text("ControlRate", game.ControlRate, defaults.ControlRate);
    text("Address", game.Address, defaults.Address);
    text("League", game.League, defaults.League);
    for (const Player& player : game.Players) {
        out += transcriptLine("Player", escaped(player.Name) + '|' + escaped(player.Filename) + '|' +
                                            escaped(player.Flags) + '|' + std::to_string(player.ID));
    }
    number("AddressCount", game.AddressCount);
    number("PasswordNeeded", game.PasswordNeeded);
    number("OfficialServer", game.OfficialServer);
    for (const Resource& resource : game.Resources) {
        out += transcriptLine("Resource", escaped(resource.Filename) + '|' + escaped(resource.Author) + '|' +
                                              escaped(resource.Type) + '|' + std::to_string(resource.FileSize) + '|' +
                                              (resource.Loadable ? "1" : "0"));
    }
    if (!game.IPs.empty()) {
        std::string ips;
        for (std::size_t i = 0; i < game.IPs.size(); ++i)
            ips += (i == 0 ? "" : "|") + escaped(game.IPs[i]);
        out += transcriptLine("IPs", ips);
    }
    number("Item", static_cast<long long>(game.Item));
    number("Color", game.Color);
    if (game.StartTime) out += transcriptLine("StartTime", escaped(*game.StartTime));
    text("Server", game.Server, defaults.Server);
    number("Stale", game.Stale);
    return out;
}

// What the completed callback throws at ReadingCase::throwAtRecord.
struct CallbackFailure {};

// Reads the case's replies (the n-th from the server "sN") and finishes, as one refresh does; `stepwiseOnly` as
// ReferenceReader::setStepwiseOnly.
inline std::string readingTranscript(const ReadingCase& reading, bool stepwiseOnly = false)
{
    std::string out;
    int records = 0;
    ReferenceReader reader(reading.tagparse, reading.aliases,
                           {[&](GameRecord&& game) {
                                if (records == reading.throwAtRecord) {
                                    out += "throw\n";
                                    throw CallbackFailure();
                                }
                                out += "game " + std::to_string(records++) + '\n' + recordTranscript(game);
                            },
                            [&](const std::string& version) { out += transcriptLine("version", escaped(version)); },
                            [&](const std::string& title, const std::string& message) {
                                out += transcriptLine("skipped", escaped(title) + '|' + escaped(message));
                            }});
    reader.setStepwiseOnly(stepwiseOnly);
    for (std::size_t i = 0; i < reading.replies.size(); ++i) {
        try {
            reader.read(reading.replies[i], "s" + std::to_string(i + 1));
        } catch (const CallbackFailure&) {
        }
    }
    try {
        reader.finish();
    } catch (const CallbackFailure&) {
    }
    const ParseCounters& counters = reader.counters();
    out += "counters " + std::to_string(counters.references) + ' ' + std::to_string(counters.players) + ' ' +
           std::to_string(counters.clients) + ' ' + std::to_string(counters.emptys) + '\n';
    if (reader.version()) out += transcriptLine("last version", escaped(*reader.version()));
    if (reader.abandoned()) out += "abandoned\n";
    return out;
}

} // namespace quintor::test
