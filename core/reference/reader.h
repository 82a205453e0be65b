// The reference list reader: turns masterserver replies into game records.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The statistic's totals. `references` is also the number of open games.
struct ParseCounters {
    int references = 0, players = 0, clients = 0, emptys = 0;
};

// What one hostile value or game may cost: a longer value is cut when read, and a record keeps no more players and
// resources than this (its counts and the totals still count them all). Addresses: kMaxIPs.
inline constexpr std::size_t kMaxValueLength = 4096;
inline constexpr std::size_t kMaxPlayers = 1000;
inline constexpr std::size_t kMaxResources = 1000;

// The parse state of one refresh, carried across all of its replies: a record still pending at the end of one reply
// takes the clients, resources and players of the next until a "[Reference]" or finish() completes it.
class ReferenceReader {
public:
    struct Callbacks {
        std::function<void(GameRecord&&)> completed;     // each record, in the order of the headers
        std::function<void(const std::string&)> version; // the text after every "[Clonk Rage]" header
        // A game dropped for a value that does not convert: its title as far as read, and the error's message.
        std::function<void(const std::string& title, const std::string& message)> skipped;
    };

    // `tagparse` switches tag stripping in the values; `aliases` (copied) gives the players' aliases.
    ReferenceReader(bool tagparse, const TextList& aliases, Callbacks callbacks);

    // Reads one reply. A number or truth value of a game that does not convert drops that game: it is not
    // completed, the counters go back to what they were before its "[Reference]", `skipped` is told, and reading
    // goes on with the next game. Anything a callback throws escapes; then the pending record is dropped, records
    // completed before stay completed, and later read() and finish() calls do nothing.
    // `server` names where the reply came from; each game keeps the one that held its "[Reference]".
    void read(std::string_view reply, std::string_view server = {});

    // Completes the pending record, if any. Reading may go on afterwards; nothing in a refresh does.
    void finish();

    const ParseCounters& counters() const { return counters_; }
    const std::optional<std::string>& version() const { return version_; }
    // Whether a callback's error abandoned the parse.
    bool abandoned() const { return abandoned_; }

private:
    std::string_view line(std::size_t index) const;
    std::string clean(std::string_view value) const;
    // clean, also giving the markup's colour and italic runs of the result (none while tags are kept).
    std::string clean(std::string_view value, TextSpans& spans) const;
    // The alias of `text`; an alias drops the text's runs, which were the host's for his own text.
    std::string aliased(std::string text, TextSpans* spans = nullptr) const;
    void complete();
    // Runs one section's step; a ConversionError in it drops the pending game.
    void guarded(void (ReferenceReader::*step)(std::size_t), std::size_t header);
    void skipPending(const std::string& message);

    void readClonkRage(std::size_t header);
    void readClient(std::size_t header);
    void readResource(std::size_t header);
    void readReference(std::size_t header);
    void readTitleAndStatus(std::size_t header, GameRecord& entry) const;
    void readPlayer(std::size_t header);
    void readShiftedPlayer(std::size_t header, Player& player) const;
    // The first line of the section after `header` (up to the next line that begins with "[") that
    // begins with `key`, or an empty view.
    std::string_view sectionLine(std::size_t header, std::string_view key) const;

    bool tagparse_;
    TextList aliases_;
    Callbacks callbacks_;
    std::vector<std::string_view> lines_; // the reply being read; empty between reads
    std::string server_;                  // where that reply came from
    std::optional<GameRecord> pending_;
    ParseCounters countersBeforePending_; // the totals as they were at the pending game's "[Reference]"
    bool hostOpen_ = false;               // the pending record still waits for its first activated client
    bool abandoned_ = false;
    ParseCounters counters_;
    std::optional<std::string> version_;
};

} // namespace quintor
