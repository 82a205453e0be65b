#include "reference/gamestore.h"

#include <algorithm>

namespace quintor {

void GameStore::clear()
{
    games_.clear();
    byRow_.clear();
}

void GameStore::append(GameRecord&& entry)
{
    const RowHandle row = entry.Item;
    games_.push_back(std::move(entry));
    byRow_[row] = games_.size() - 1; // a later record of the same row wins, as in a full scan
}

void GameStore::removeRows(const std::vector<RowHandle>& rows)
{
    if (rows.empty()) return;
    std::erase_if(games_, [&rows](const GameRecord& game) {
        return std::find(rows.begin(), rows.end(), game.Item) != rows.end();
    });
    byRow_.clear();
    for (std::size_t i = 0; i < games_.size(); ++i)
        byRow_[games_[i].Item] = i;
}

const GameRecord* GameStore::find(RowHandle row) const
{
    const auto it = byRow_.find(row);
    return it == byRow_.end() ? nullptr : &games_[it->second];
}

GameRecord* GameStore::find(RowHandle row)
{
    const auto it = byRow_.find(row);
    return it == byRow_.end() ? nullptr : &games_[it->second];
}

} // namespace quintor
