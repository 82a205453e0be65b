// The list-building steps of a refresh, shared by the refresh cycle and the inspection tool.
#pragma once

#include "reference/gamestore.h"
#include "refresh/friends.h"
#include "refresh/rowtexts.h"
#include "refresh/views.h"
#include "settings/textlist.h"

namespace quintor {

// Stores every column's current width as "ColumnWidth" + n.
void storeColumnWidths(TextList& config, const GameListView& list);

// Stores every column's current width as "ColumnWidth" + n, removes all rows and columns, and
// adds "Szenario" and the columns named by "Column" + n with their stored widths.
// A width that is present but not a whole number is a ConversionError (column 0 falls back to 100).
void rebuildColumns(TextList& config, GameListView& list);

// The rows of one refresh. Made after rebuildColumns, it reads the columns' names once for all its rows.
class RowBuilder {
public:
    // With `friends`, a row of a game with a friend in it is marked and its tooltip ends with friendsToolTipLine.
    RowBuilder(GameStore& games, const TextList& config, const TextList& aliases, GameListView& list,
               GameFilter* filter, const FriendList* friends = nullptr);
    // Shows what still waits, should a tick end early by an error: its completed games keep their rows' texts.
    ~RowBuilder();
    RowBuilder(const RowBuilder&) = delete;
    RowBuilder& operator=(const RowBuilder&) = delete;

    // A completed record gets a new row and, for the filters, its identity hash, and joins `games`. Then, in a run
    // with the records completed before it (at the latest at showCompleted()), it is shown to the filters and gives
    // the row its caption and sub-item texts, and the filters it passed for its tooltip.
    RowHandle complete(GameRecord&& entry);
    // Runs the filters over the records completed since the last run, in the order they came, and writes their
    // rows. To be called before the list is shown and at the end of each reply.
    void showCompleted();

    // A game of a failing server's last good list gets a new row as above, at once (after the records waiting), marked
    // Stale, with the tooltip `toolTip` (and the filters it passed below it); the filters only hear of it
    // (GameFilter::filterStale), so its colour stays and no event runs.
    RowHandle listStale(GameRecord entry, const std::string& toolTip);

private:
    void showRow(RowHandle row, RowToolTip toolTip);

    GameStore& games_;
    const TextList& aliases_;
    GameListView& list_;
    GameFilter* filter_;
    const FriendList* friends_;
    std::vector<ColumnKind> columns_;
    std::vector<std::string> subItems_; // the texts of the row at hand, their room kept from row to row
    // The filters and the row texts run over the records in runs of this many, rather than one record at a time
    // between the reader's steps: the code of each part then stays in the processor's instruction cache for a whole
    // run instead of pushing the other's out at every game.
    static constexpr std::size_t kRun = 64;
    std::vector<RowHandle> waiting_; // completed, not yet shown to the filters
};

// RowBuilder::complete for one record.
RowHandle completeRecord(GameRecord&& entry, GameStore& games, const TextList& config, const TextList& aliases,
                         GameListView& list, GameFilter* filter, const FriendList* friends = nullptr);

// RowBuilder::listStale for one record.
RowHandle listStaleRecord(GameRecord entry, GameStore& games, const TextList& config, const TextList& aliases,
                          GameListView& list, GameFilter* filter, const std::string& toolTip,
                          const FriendList* friends = nullptr);

} // namespace quintor
