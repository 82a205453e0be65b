// The reference list reader: turns masterserver replies into game records.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

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

// The parse state of one refresh, carried across all of its replies: a record still pending at the end of one reply
// takes the clients, resources and players of the next until a "[Reference]" or finish() completes it.
class ReferenceReader {
public:
    struct Callbacks {
        std::function<void(TGameEntry&&)> completed;     // each record, in the order of the headers
        std::function<void(const std::string&)> version; // the text after every "[Clonk Rage]" header
    };

    // `tagparse` switches tag stripping in the values; `syno` (copied) gives the players' aliases.
    ReferenceReader(bool tagparse, const TextList& syno, Callbacks callbacks);

    // Reads one reply. A ConversionError (a number or truth value that does not convert) escapes with its message
    // naming the bad text; so does anything a callback throws. Either way the pending record is dropped, records
    // completed before stay completed, and later read() and finish() calls do nothing.
    void read(std::string_view reply);

    // Completes the pending record, if any. Reading may go on afterwards; nothing in a refresh does.
    void finish();

    const ParseCounters& counters() const { return counters_; }
    const std::optional<std::string>& version() const { return version_; }
    // Whether an error abandoned the parse.
    bool abandoned() const { return abandoned_; }

private:
    std::string_view line(std::size_t index) const;
    std::string clean(std::string_view value) const;
    std::string aliased(std::string text) const;
    void complete();

    void readClonkRage(std::size_t header);
    void readClient(std::size_t header);
    void readResource(std::size_t header);
    void readReference(std::size_t header);
    void readPlayer(std::size_t header);
    // The first line of the section after `header` (up to the next line that begins with "[") that
    // begins with `key`, or an empty view.
    std::string_view sectionLine(std::size_t header, std::string_view key) const;

    bool tagparse_;
    TextList syno_;
    Callbacks callbacks_;
    std::vector<std::string_view> lines_; // the reply being read; empty between reads
    std::optional<TGameEntry> pending_;
    bool hostOpen_ = false; // the pending record still waits for its first activated client
    bool abandoned_ = false;
    ParseCounters counters_;
    std::optional<std::string> version_;
};

} // namespace quintor
