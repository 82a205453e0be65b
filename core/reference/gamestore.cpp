#include "reference/gamestore.h"

#include <algorithm>

namespace quintor {

GameStore::GameStore() : games_(std::make_shared<std::vector<GameRecord>>()) {}

void GameStore::clear()
{
    if (games_.use_count() > 1) {
        // The snapshot keeps the old records; the next list is likely as long.
        auto fresh = std::make_shared<std::vector<GameRecord>>();
        fresh->reserve(games_->size());
        games_ = std::move(fresh);
    } else {
        games_->clear();
    }
    byRow_.clear();
}

void GameStore::detach()
{
    if (games_.use_count() > 1) games_ = std::make_shared<std::vector<GameRecord>>(*games_);
}

void GameStore::append(GameRecord&& entry)
{
    detach();
    const RowHandle row = entry.Item;
    games_->push_back(std::move(entry));
    byRow_[row] = games_->size() - 1; // a later record of the same row wins, as in a full scan
}

void GameStore::removeRows(const std::vector<RowHandle>& rows)
{
    if (rows.empty()) return;
    detach();
    std::erase_if(*games_, [&rows](const GameRecord& game) {
        return std::find(rows.begin(), rows.end(), game.Item) != rows.end();
    });
    byRow_.clear();
    for (std::size_t i = 0; i < games_->size(); ++i)
        byRow_[(*games_)[i].Item] = i;
}

std::optional<std::size_t> GameStore::positionOf(RowHandle row) const
{
    const auto it = byRow_.find(row);
    if (it == byRow_.end()) return std::nullopt;
    return it->second;
}

const GameRecord* GameStore::find(RowHandle row) const
{
    const auto it = byRow_.find(row);
    return it == byRow_.end() ? nullptr : &(*games_)[it->second];
}

GameRecord* GameStore::find(RowHandle row)
{
    const auto it = byRow_.find(row);
    if (it == byRow_.end()) return nullptr;
    detach();
    return &(*games_)[it->second];
}

} // namespace quintor
