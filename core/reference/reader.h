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
    // The callbacks must not call back into the reader that runs them.
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

    // Reads with the stepwise reader alone, the one the single pass hands unusual stretches of a reply to. Both give
    // the same results; the tests compare them.
    void setStepwiseOnly(bool stepwiseOnly) { stepwiseOnly_ = stepwiseOnly; }

private:
    class SinglePass;

    void readInOnePass(std::string_view text);
    void complete();
    void dropPending();
    // The pending game's record at its "[Reference]" header, its title still to be read.
    GameRecord& beginGame();
    // A new resource of the pending game, or null past the limit.
    Resource* beginResource();
    // Steps that read fixed lines after their header; `lineAt(k)` is the k-th line after it.
    template <typename LineAt> void readVersion(LineAt lineAt);
    template <typename LineAt> void countClient(LineAt lineAt);
    // Counts a player and reads its fixed lines; gives the new player when its lines are moved and its keys are
    // still to be looked for among them.
    template <typename LineAt> Player* countPlayer(LineAt lineAt);

    // The stepwise reader: each header's step reads on over the later lines it needs, and the main loop still
    // visits each of them afterwards. Reads `lines_` from `first` on, to the end or, with `untilNextGame`, up to
    // the next "[Reference]" header after `first`; gives the index where it stopped.
    std::size_t readStepwise(std::size_t first, bool untilNextGame);
    std::string_view line(std::size_t index) const;
    // Feeds the lines after `header` to `keys` up to the line that ends them.
    template <typename Keys> void scanKeys(std::size_t header, Keys& keys) const;
    // Runs one section's step; a ConversionError in it drops the pending game.
    void guarded(void (ReferenceReader::*step)(std::size_t), std::size_t header);
    void skipPending(const std::string& message);
    void readResource(std::size_t header);
    void readReference(std::size_t header);
    void readPlayer(std::size_t header);

    bool tagparse_;
    TextList aliases_;
    Callbacks callbacks_;
    bool stepwiseOnly_ = false;
    std::vector<std::string_view> lines_; // the reply being read, for the stepwise reader; empty between reads
    SharedText server_;                   // where that reply came from, made once for all of its games
    std::optional<GameRecord> pending_;
    // The pending game's players and resources, kept apart until it is completed so that each list is allocated
    // once, at its size.
    std::vector<Player> pendingPlayers_;
    std::vector<Resource> pendingResources_;
    ParseCounters countersBeforePending_; // the totals as they were at the pending game's "[Reference]"
    bool hostOpen_ = false;               // the pending record still waits for its first activated client
    bool abandoned_ = false;
    ParseCounters counters_;
    std::optional<std::string> version_;
};

} // namespace quintor
