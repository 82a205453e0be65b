// The game records of the current refresh (`games`), in fetch order, with a row-to-record index.
#pragma once

#include "reference/gameentry.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace quintor {

class GameStore {
public:
    GameStore();
    GameStore(const GameStore&) = delete; // its lists are shared with snapshots
    GameStore& operator=(const GameStore&) = delete;

    // Starts an empty list; a snapshot taken before keeps the records it had. Until finishList(), the records of the
    // last list, once no snapshot holds them, are let go of one for each record appended, rather than all at once:
    // the memory each frees then serves the next record while it is still at hand, and the allocator is not left
    // with thousands of freed pieces to sort through. The new list then takes a block of its own, so that during a
    // refresh the store holds two; the old one goes when its last record does.
    void clear();
    // The list is complete: what is left of the last one is let go of now, and so is, at once, a list no snapshot
    // holds from now on.
    void finishList();
    // Appends a completed record; its Item must already name its row.
    void append(GameRecord&& entry);
    // Room for this many records in all, taken before a long list comes: the list then grows in one block.
    void reserve(std::size_t records);
    // Whether the store has had no list yet (or only empty ones), so it cannot tell how long the next will be.
    bool lengthUnknown() const { return lastSize_ == 0 && games_->empty(); }

    // Takes the records of these rows away.
    void removeRows(const std::vector<RowHandle>& rows);

    const std::vector<GameRecord>& all() const { return *games_; }
    std::size_t size() const { return games_->size(); }

    // The record whose Item is the row (the last one, should several share it), or null.
    const GameRecord* find(RowHandle row) const;
    GameRecord* find(RowHandle row);
    // Where find(row) finds it in all(), or none.
    std::optional<std::size_t> positionOf(RowHandle row) const;

    // The records as they stand now, shared rather than copied: what the store does later (a change, a clear)
    // leaves the snapshot as it is.
    std::shared_ptr<const std::vector<GameRecord>> snapshot() const { return games_; }

private:
    // A list that no snapshot holds any more, outside a refresh, comes back here emptied and is filled at the next
    // clear; one let go of while a refresh fills the next retires here.
    struct Spare {
        std::unique_ptr<std::vector<GameRecord>> list;
        std::unique_ptr<std::vector<GameRecord>> retiring; // a list no one holds, its records not yet let go of
        bool filling = false;                              // between clear() and finishList()
    };

    // An empty list, the spare one when there is one.
    std::shared_ptr<std::vector<GameRecord>> newList();
    // Makes the records the store's own before they change, when a snapshot shares them.
    void detach();

    void index(RowHandle row, std::size_t position);
    // Lets go of one retiring record, or of all that are left, and of the retired list's block with the last.
    void retireOne();
    void releaseRetired();

    std::shared_ptr<Spare> spare_;
    std::size_t lastSize_ = 0; // of the list before the last clear
    std::shared_ptr<std::vector<GameRecord>> games_;
    // Where each row's record is. A refresh's rows have consecutive handles, so most are found by their distance
    // from the first: position + 1 there, 0 for none. The others are looked up by handle.
    RowHandle firstRow_ = 0;
    std::vector<std::size_t> byDistance_;
    std::unordered_map<RowHandle, std::size_t> otherRows_;
};

} // namespace quintor
