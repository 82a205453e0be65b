#include "filters/matchmemory.h"

#include <algorithm>

namespace quintor {

void MatchMemory::beginTick()
{
    if (open_) endTick({});
    open_ = true;
}

MatchMemory::Filter& MatchMemory::filter(const std::string& filterKey)
{
    return filters_[filterKey];
}

std::uint32_t MatchMemory::server(std::string_view name)
{
    const auto known = std::find(servers_.begin(), servers_.end(), name);
    if (known != servers_.end()) return static_cast<std::uint32_t>(known - servers_.begin());
    servers_.emplace_back(name);
    return static_cast<std::uint32_t>(servers_.size() - 1);
}

bool MatchMemory::noteMatch(Filter& filter, std::uint64_t identity, std::uint32_t server)
{
    filter.current_.push_back({identity, server});
    // The same game may have come from any server last time.
    const auto seen = std::lower_bound(filter.last_.begin(), filter.last_.end(), identity,
                                       [](const Filter::Game& game, std::uint64_t id) { return game.identity < id; });
    return seen == filter.last_.end() || seen->identity != identity;
}

void MatchMemory::rekey(const std::map<std::string, std::string>& moved, const std::vector<std::string>& removed)
{
    std::unordered_map<std::string, Filter> kept;
    // Filters that kept their keys first: a moved filter's memory then takes the key it moved to.
    for (auto& [key, memory] : filters_) {
        if (moved.count(key) == 0 && std::find(removed.begin(), removed.end(), key) == removed.end())
            kept[key] = std::move(memory);
    }
    for (auto& [key, memory] : filters_) {
        const auto to = moved.find(key);
        if (to != moved.end()) kept[to->second] = std::move(memory);
    }
    filters_ = std::move(kept);
    ++generation_;
}

void MatchMemory::abandonTick()
{
    for (auto& [key, memory] : filters_) {
        memory.current_.clear();
        memory.failed_ = false;
    }
    open_ = false;
}

void MatchMemory::endTick(const std::vector<std::string>& unreadServers)
{
    std::vector<std::uint32_t> unread;
    for (const std::string& name : unreadServers) {
        const auto known = std::find(servers_.begin(), servers_.end(), name);
        if (known != servers_.end()) unread.push_back(static_cast<std::uint32_t>(known - servers_.begin()));
    }
    for (auto& [key, memory] : filters_) {
        if (!unread.empty()) {
            for (const Filter::Game& game : memory.last_) {
                if (std::find(unread.begin(), unread.end(), game.server) != unread.end())
                    memory.current_.push_back(game);
            }
        }
        if (memory.failed_) memory.current_.clear();
        std::sort(memory.current_.begin(), memory.current_.end(), [](const Filter::Game& a, const Filter::Game& b) {
            return a.identity != b.identity ? a.identity < b.identity : a.server < b.server;
        });
        memory.current_.erase(std::unique(memory.current_.begin(), memory.current_.end(),
                                          [](const Filter::Game& a, const Filter::Game& b) {
                                              return a.identity == b.identity && a.server == b.server;
                                          }),
                              memory.current_.end());
        memory.last_.swap(memory.current_);
        memory.current_.clear();
        memory.failed_ = false;
    }
    open_ = false;
}

} // namespace quintor
