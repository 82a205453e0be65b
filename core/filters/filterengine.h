// evaluateFilters: every filter of the filter list against one game, at every refresh.
#pragma once

#include "filters/compiledfilter.h"
#include "filters/filteractions.h"
#include "filters/filtertreefiles.h"
#include "filters/matchmemory.h"
#include "reference/filtermatches.h"
#include "reference/gamestore.h"
#include "settings/fileio.h"
#include "settings/folderwatch.h"
#include "settings/textlist.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quintor {

// Whether an evaluation performs the actions of the filters a game passes.
enum class FilterActionMode { perform, none };

// The filters one game passed, by their places in the refresh's filter set (FilterMatches).
using EvaluationRecord = FilterMatches;

// The explanation of a row: one line per filter it passed, in filter order, "Farbe von <group> / <filter>"
// for a filter that colours rows and "Passt zu <group> / <filter>" for the others; "" for none.
inline std::string matchExplanation(const EvaluationRecord& record)
{
    return record.text();
}

// The refresh reaches it through its filter hook, which the program wires.
class FilterEngine final {
public:
    // Receives 'Filter "name": reason' for a filter whose files are broken.
    using ErrorReport = std::function<void(const std::string& message)>;

    // `filters` is the filter list the tree editor owns; `appFolder` ends with the separator.
    FilterEngine(const TextList& filters, GameStore& games, std::string appFolder, FilterActions& actions,
                 ErrorReport report);

    // Starts a refresh: the filter list and each filter's files are read anew, each at most once in the
    // refresh (on first use), so a change on disk counts from the next refresh on. A file whose stamp shows no
    // change since it was last read (FileStamp, settled) is not read again.
    void beginTick();

    // Evaluates every filter for the game of this row, in list order, notes the filters it passes in
    // `record` (when given; its lines are the refresh's), and performs the actions of those that fire (actionFires): a
    // game is new to a filter when the filter did not match it in the last refresh. A filter whose files are broken
    // keeps the actions it performed before the failure, is reported once and skipped for the rest of the refresh, and
    // remembers none of its games; the others go on.
    //
    // With FilterActionMode::none (a game kept from the last good list of a server that failed in this
    // refresh): every filter it still passes remembers it as listed, and nothing runs for it, not even a
    // report (a listed game reports a broken filter). Its record keeps the colour of its last evaluation.
    void evaluateFilters(RowHandle row, FilterActionMode mode = FilterActionMode::perform,
                         EvaluationRecord* record = nullptr);

    // Ends a refresh: each filter remembers the games it matched, and those of the unread servers it
    // remembered before. A refresh that is never ended counts, at the next beginTick, as one that read
    // every server.
    // A refresh of a file the user loaded reads no masterserver: the memory stays as the last refresh of the
    // servers left it, so their games are not announced again afterwards.
    void endTick(const std::vector<std::string>& unreadServers, bool listFromFile = false);

    // The tree editor moved or deleted filters: each filter's memory goes with its new key, a deleted
    // filter's is forgotten.
    void filtersMoved(const FilterKeyMapping& keys);

private:
    struct Slot {
        FilterEntry entry;
        std::shared_ptr<const CompiledFilter> compiled; // read on first use
        MatchMemory::Filter* memory = nullptr;
    };
    // What every game asks of a slot before it can pass, kept small and beside the others: most filters let most
    // games fall at their first condition, and that should cost a few loads, not a walk through the filter.
    struct Check {
        enum class State : std::uint8_t {
            uncompiled, // not read yet in this refresh
            decide,     // active and read whole: its conditions decide
            inactive,   // passes no game
            broken,     // its files failed before the actions: reported at its first listed game
            failed,     // reported: skipped for the rest of the refresh
        };
        std::uint32_t firstCondition = 0; // its condition numbers in conditionsOfChecks_
        std::uint32_t conditionCount = 0;
        CombineRule rule = CombineRule::allHold;
        State state = State::uncompiled;
    };
    // A filter as last read, with the stamps of the files it read then.
    struct ReadFilter {
        std::shared_ptr<const CompiledFilter> compiled;
        std::vector<std::pair<std::string, FileStamp>> files;
        bool watched = false; // a change of any of the files shows in the folder's notices
        bool named = false;   // a notice since the files were last looked at names one of them
    };

    void prepare();
    void bindMemory();
    void compile(Slot& slot, std::size_t place);
    std::shared_ptr<const CompiledFilter> readFilter(const FilterEntry& entry);
    // Marks the kept filters whose files the folder's notices since the last call name.
    void takeFolderNotices();
    void fail(std::size_t place, const std::string& reason);
    // The same condition (field, comparison, text) in several filters has one number in a refresh, and is decided
    // once per game.
    std::uint32_t conditionNumber(const CompiledCondition& condition);
    // filterMatches for a slot whose state is decide, each condition decided at most once per game.
    bool passes(const Check& check, GameData& data);
    // Whether the condition of this number holds for the game at hand, decided at its first question.
    bool holds(std::uint32_t number, GameData& data);
    // A condition not yet decided for the game at hand: 2 holds, 1 fails. Out of line, so that the loop over the
    // filters, where most conditions are decided already, stays small.
    [[gnu::noinline]] std::uint8_t decide(std::uint32_t number, GameData& data);

    const TextList& filters_;
    GameStore& games_;
    std::string appFolder_;
    // Begun before any file is read, so that no change after a read goes unnoticed.
    FolderWatch folderWatch_;
    bool noticesTaken_ = false; // in the evaluation at hand
    unsigned takes_ = 0;
    FilterActions& actions_;
    ErrorReport report_;

    bool prepared_ = false;
    std::vector<Slot> slots_;
    std::vector<Check> checks_; // one per slot
    std::vector<std::uint32_t> conditionsOfChecks_;
    // The refresh's line per filter, for the rows' tooltips; a filter's line is written when it is read.
    std::shared_ptr<std::vector<std::string>> lines_;
    MatchMemory memory_;
    std::uint64_t memoryGeneration_ = 0;               // of the memories the slots hold
    std::unordered_map<std::string, ReadFilter> read_; // by key
    std::unordered_map<std::string, std::uint32_t> conditionNumbers_;
    // Per condition number, the first condition that got it; the slots' compiled filters keep it for the refresh.
    std::vector<const CompiledCondition*> numberedConditions_;
    std::vector<std::uint8_t> decided_; // per condition number, for the game at hand: 0 not yet, 1 fails, 2 holds

    // Once every filter of the refresh is read: the filters grouped by their first condition. Every filter decides
    // its first condition for every game anyway; decided once for a group, it strikes off together all the filters
    // of the group it rules out, and the places left to look at are a few bits instead of every filter.
    struct FirstCondition {
        std::uint32_t number = 0;
        std::vector<std::uint64_t> outWhenFalse; // a bit per place: filters that need all their conditions
        std::vector<std::uint64_t> outWhenTrue;  // filters that need none to hold
    };
    void groupByFirstCondition();
    bool grouped_ = false;
    std::vector<std::uint64_t> open_; // a bit per place whose filter a game may pass or must report
    std::vector<FirstCondition> firstConditions_;
    std::vector<std::uint64_t> candidates_; // open_ less what the first conditions struck off, for the game at hand
};

} // namespace quintor
