// The game records of the current refresh (`games`), in fetch order, with a row-to-record index.
#pragma once

#include "reference/gameentry.h"

#include <unordered_map>
#include <vector>

namespace quintor {

class GameStore {
public:
    void clear();
    // Appends a completed record; its Item must already name its row.
    void append(GameRecord&& entry);

    // Takes the records of these rows away.
    void removeRows(const std::vector<RowHandle>& rows);

    const std::vector<GameRecord>& all() const { return games_; }
    std::size_t size() const { return games_.size(); }

    // The record whose Item is the row (the last one, should several share it), or null.
    const GameRecord* find(RowHandle row) const;
    GameRecord* find(RowHandle row);

private:
    std::vector<GameRecord> games_;
    std::unordered_map<RowHandle, std::size_t> byRow_;
};

} // namespace quintor
