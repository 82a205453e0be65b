#include "reference/gamestore.h"

#include "settings/listroom.h"

#include <algorithm>

namespace quintor {

namespace {

// Room for the next list, likely about as long as the last: a little more, so that a few new games do not double
// a block of many megabytes while the reply that brings them is still held.
std::size_t roomAfter(std::size_t lastSize)
{
    return lastSize + lastSize / 16 + 16;
}

} // namespace

GameStore::GameStore() : spare_(std::make_shared<Spare>()), games_(newList()) {}

std::shared_ptr<std::vector<GameRecord>> GameStore::newList()
{
    std::unique_ptr<std::vector<GameRecord>> list = std::move(spare_->list);
    if (!list) list = std::make_unique<std::vector<GameRecord>>();
    return std::shared_ptr<std::vector<GameRecord>>(
        list.release(), [spare = std::weak_ptr<Spare>(spare_)](std::vector<GameRecord>* games) {
            std::unique_ptr<std::vector<GameRecord>> owned(games);
            const std::shared_ptr<Spare> back = spare.lock();
            if (!back) return; // the store is gone
            if (back->filling && !back->retiring && !owned->empty()) {
                back->retiring = std::move(owned);
                return;
            }
            if (back->list) return; // it has a spare list already
            owned->clear();
            back->list = std::move(owned);
        });
}

void GameStore::clear()
{
    lastSize_ = games_->size();
    releaseRetired();
    spare_->filling = true;
    // A snapshot keeps the old records; without one they retire. The next list is taken when the first record comes:
    // by then a snapshot may have given its list back.
    static const std::shared_ptr<std::vector<GameRecord>> none = std::make_shared<std::vector<GameRecord>>();
    games_ = none;
    clearKeepingRoom(byDistance_);
    otherRows_.clear();
}

void GameStore::finishList()
{
    releaseRetired();
    spare_->filling = false;
}

void GameStore::releaseRetired()
{
    // Its block goes too: the list filling now has one of its own, and two would double the store's room at rest.
    spare_->retiring.reset();
}

void GameStore::retireOne()
{
    std::vector<GameRecord>& retiring = *spare_->retiring;
    retiring.pop_back();
    if (retiring.empty()) releaseRetired();
}

void GameStore::detach()
{
    if (games_.use_count() <= 1) return;
    auto own = newList();
    const std::size_t room = std::max(roomAfter(lastSize_), games_->size());
    // A spare list far larger than needed (the list was longer once) is given back rather than kept.
    if (own->capacity() > room + room / 4) std::vector<GameRecord>().swap(*own);
    *own = *games_;
    own->reserve(room);
    games_ = std::move(own);
}

void GameStore::append(GameRecord&& entry)
{
    detach();
    // Grows by half rather than doubling: a long list's growth holds the old block and the new one at once.
    if (games_->size() == games_->capacity()) games_->reserve(games_->size() + games_->size() / 2 + 16);
    const RowHandle row = entry.Item;
    games_->push_back(std::move(entry));
    index(row, games_->size() - 1);
    if (spare_->retiring) retireOne();
}

void GameStore::reserve(std::size_t records)
{
    detach();
    games_->reserve(records);
}

void GameStore::index(RowHandle row, std::size_t position)
{
    // A later record of the same row wins, as in a full scan: a row near the others stays near them.
    if (byDistance_.empty() && otherRows_.empty()) firstRow_ = row;
    constexpr std::size_t kGap = 1024; // how far past the last row a row still counts as near
    if (row >= firstRow_ && row - firstRow_ < byDistance_.size() + kGap) {
        const auto distance = static_cast<std::size_t>(row - firstRow_);
        if (distance >= byDistance_.size()) byDistance_.resize(distance + 1, 0);
        byDistance_[distance] = position + 1;
    } else {
        otherRows_[row] = position;
    }
}

void GameStore::removeRows(const std::vector<RowHandle>& rows)
{
    if (rows.empty()) return;
    detach();
    std::erase_if(*games_, [&rows](const GameRecord& game) {
        return std::find(rows.begin(), rows.end(), game.Item) != rows.end();
    });
    byDistance_.clear();
    otherRows_.clear();
    for (std::size_t i = 0; i < games_->size(); ++i)
        index((*games_)[i].Item, i);
}

std::optional<std::size_t> GameStore::positionOf(RowHandle row) const
{
    if (row >= firstRow_ && row - firstRow_ < byDistance_.size()) {
        if (const std::size_t found = byDistance_[static_cast<std::size_t>(row - firstRow_)]) return found - 1;
    }
    const auto it = otherRows_.find(row);
    if (it == otherRows_.end()) return std::nullopt;
    return it->second;
}

const GameRecord* GameStore::find(RowHandle row) const
{
    const auto position = positionOf(row);
    return position ? &(*games_)[*position] : nullptr;
}

GameRecord* GameStore::find(RowHandle row)
{
    const auto position = positionOf(row);
    if (!position) return nullptr;
    detach();
    return &(*games_)[*position];
}

} // namespace quintor
