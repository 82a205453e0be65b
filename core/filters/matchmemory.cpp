#include "filters/matchmemory.h"

#include <algorithm>

namespace quintor {

void MatchMemory::beginTick()
{
    if (open_) endTick({});
    open_ = true;
}

bool MatchMemory::noteMatch(const std::string& filterKey, const std::string& identity, const std::string& server)
{
    current_[filterKey].emplace(identity, server);
    const auto last = last_.find(filterKey);
    if (last == last_.end()) return true;
    // The same game may have come from any server last time.
    const auto seen = last->second.lower_bound({identity, std::string()});
    return seen == last->second.end() || seen->first != identity;
}

void MatchMemory::forget(const std::string& filterKey)
{
    failed_.insert(filterKey);
}

void MatchMemory::rekey(const std::map<std::string, std::string>& moved, const std::vector<std::string>& removed)
{
    const auto remap = [&](std::unordered_map<std::string, Games>& memory) {
        std::unordered_map<std::string, Games> kept;
        // Filters that kept their keys first: a moved filter's memory then takes the key it moved to.
        for (auto& [key, games] : memory) {
            if (moved.count(key) == 0 && std::find(removed.begin(), removed.end(), key) == removed.end())
                kept[key] = std::move(games);
        }
        for (auto& [key, games] : memory) {
            const auto to = moved.find(key);
            if (to != moved.end()) kept[to->second] = std::move(games);
        }
        memory = std::move(kept);
    };
    remap(last_);
    remap(current_);
}

void MatchMemory::abandonTick()
{
    current_.clear();
    failed_.clear();
    open_ = false;
}

void MatchMemory::endTick(const std::vector<std::string>& unreadServers)
{
    if (!unreadServers.empty()) {
        for (const auto& [key, games] : last_) {
            for (const auto& game : games) {
                if (std::find(unreadServers.begin(), unreadServers.end(), game.second) != unreadServers.end())
                    current_[key].insert(game);
            }
        }
    }
    for (const auto& key : failed_)
        current_.erase(key);
    last_ = std::move(current_);
    current_.clear();
    failed_.clear();
    open_ = false;
}

} // namespace quintor
