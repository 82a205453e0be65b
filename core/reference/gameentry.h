// One game of the reference list, with its players and resource files.
#pragma once

#include "reference/sharedtext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

// A row of the game list; 0 means none.
using RowHandle = std::uint64_t;

// A run of a text that its host's markup colours or sets in italics, counted in characters of the text as shown
// (bytes: one character each). Runs of one text are sorted, do not overlap and are never empty; the text between
// them is plain.
struct TextSpan {
    std::uint32_t start = 0, length = 0;
    std::optional<std::uint32_t> rgb; // 0xRRGGBB as the host wrote it; none: the text's own colour
    bool italic = false;
    bool operator==(const TextSpan&) const = default;
};
using TextSpans = std::vector<TextSpan>;

// The texts a record holds until its reply sets them, made once: "ERR" and "Keine".
const SharedText& unsetText();
const SharedText& noLeagueText();

// Texts that most records share (a status, a version, a player's flags) are SharedText: a pointer each, and one
// copy of a value for the many records that hold it.
struct Player {
    std::string Name, Filename;
    SharedText Flags;
    std::int32_t ID = 0;
    TextSpans NameSpans = {}; // of Name when tags are stripped and no alias replaced it
};

struct Resource {
    std::string Filename;
    SharedText Author, Type;
    std::int32_t FileSize = 0;
    bool Loadable = false;
};

// Field order and defaults are those of the game record table; a field the reply does not set keeps its default.
struct GameRecord {
    std::int32_t PlayerCount = 0, MaxPlayers = 0, Emptys = 0, Clients = 0;
    std::string Title;
    SharedText Status;
    std::string Hoster = "ERR";
    SharedText Version = unsetText(), Game = unsetText();
    std::string Comment = "Kein Kommentar";
    SharedText ControlRate = unsetText();
    std::string Address;
    SharedText League = noLeagueText();
    std::vector<Player> Players;
    std::int32_t AddressCount = 0;
    bool PasswordNeeded = false, OfficialServer = false;
    // Kept from the last good reply of a masterserver that failed in this refresh: drawn apart, not counted,
    // and no filter event runs for it.
    bool Stale = false;
    // Color was set by a filter's colour action (black included): the user's colour then wins over the host's.
    bool ColorByFilter = false;
    std::vector<Resource> Resources;
    std::vector<std::string> IPs; // host parts of Address; the first is the one joining uses
    RowHandle Item = 0;           // the game's row, set when the record is completed
    std::uint32_t Color = 0;      // row font colour, 0x00BBGGRR; 0 is black
    // The value of the game's last "StartTime=" line as the host wrote it; none without such a line.
    std::optional<std::string> StartTime;
    // The masterserver whose reply holds the game's "[Reference]" (what the refresh names it by).
    SharedText Server;
    // The host's colours and italics in Title, Hoster and Comment, when tags are stripped.
    TextSpans TitleSpans, HosterSpans, CommentSpans;
    // gameIdentityHash, set once when the refresh lists the record; 0 until then.
    std::uint64_t IdentityHash = 0;
};

// The text that tells one game from another across refreshes: Title, Hoster and the raw start time (the
// Address for a host that writes none), joined by one line feed each.
std::string gameIdentity(const GameRecord& game);
// A 64-bit hash of the same three texts, never 0: what tells games apart where they are compared many times (a
// filter's memory of the games it reported).
std::uint64_t gameIdentityHash(const GameRecord& game);
// The record's IdentityHash, or gameIdentityHash when none was set.
inline std::uint64_t identityHashOf(const GameRecord& game)
{
    return game.IdentityHash != 0 ? game.IdentityHash : gameIdentityHash(game);
}

// The record of a list row: the LAST record of `games` whose Item is `row`, or null when none is.
const GameRecord* findGameOfRow(const std::vector<GameRecord>& games, RowHandle row);

} // namespace quintor
