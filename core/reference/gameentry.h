// One game of the reference list, with its players and resource files.
#pragma once

#include "reference/hostlist.h"
#include "reference/sharedtext.h"

#include <cstdint>
#include <memory>
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

// The runs of one text of a record. Most texts have none, so a record holds a pointer for each, and a list only
// where the host wrote markup. Reads as a TextSpans.
class RecordSpans {
public:
    RecordSpans() noexcept = default;
    RecordSpans(TextSpans spans) { assign(std::move(spans)); }
    RecordSpans(const RecordSpans& other) : RecordSpans(other.list()) {}
    RecordSpans(RecordSpans&&) noexcept = default;
    RecordSpans& operator=(const RecordSpans& other)
    {
        if (this != &other) assign(other.list());
        return *this;
    }
    RecordSpans& operator=(RecordSpans&&) noexcept = default;
    RecordSpans& operator=(TextSpans spans)
    {
        assign(std::move(spans));
        return *this;
    }

    const TextSpans& list() const noexcept { return spans_ ? *spans_ : none(); }
    operator const TextSpans&() const noexcept { return list(); }
    bool empty() const noexcept { return !spans_; }
    std::size_t size() const noexcept { return list().size(); }
    TextSpans::const_iterator begin() const noexcept { return list().begin(); }
    TextSpans::const_iterator end() const noexcept { return list().end(); }
    const TextSpan& operator[](std::size_t index) const { return list()[index]; }
    void clear() noexcept { spans_.reset(); }

    bool operator==(const RecordSpans& other) const { return list() == other.list(); }
    friend bool operator==(const RecordSpans& spans, const TextSpans& other) { return spans.list() == other; }

private:
    static const TextSpans& none() noexcept;
    void assign(TextSpans spans)
    {
        if (spans.empty()) {
            spans_.reset();
        } else {
            spans.shrink_to_fit();
            spans_ = std::make_unique<const TextSpans>(std::move(spans));
        }
    }
    std::unique_ptr<const TextSpans> spans_; // null: none
};

// The texts a record holds until its reply sets them, made once: "ERR" and "Keine".
const SharedText& unsetText();
const SharedText& noLeagueText();

// Texts that most records share (a status, a version, a player's flags) are SharedText: a pointer each, and one
// copy of a value for the many records that hold it.
struct Player {
    std::string Name, Filename;
    SharedText Flags;
    std::int32_t ID = 0;
    RecordSpans NameSpans = {}; // of Name when tags are stripped and no alias replaced it
};

// A resource's file name is shared as well: the same scenario and definition files stand in many games.
struct Resource {
    SharedText Filename, Author, Type;
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
    HostList IPs;            // host parts of Address; the first is the one joining uses
    RowHandle Item = 0;      // the game's row, set when the record is completed
    std::uint32_t Color = 0; // row font colour, 0x00BBGGRR; 0 is black
    // The value of the game's last "StartTime=" line as the host wrote it; none without such a line.
    std::optional<std::string> StartTime;
    // The masterserver whose reply holds the game's "[Reference]" (what the refresh names it by).
    SharedText Server;
    // The host's colours and italics in Title, Hoster and Comment, when tags are stripped.
    RecordSpans TitleSpans, HosterSpans, CommentSpans;
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
