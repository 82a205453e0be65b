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
