#include "refresh/serveroutages.h"

#include "history/civiltime.h"

#include <algorithm>

namespace quintor {
namespace {

long long secondNumber(const LocalDateTime& t)
{
    return daysFromDate(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

} // namespace

long long secondsBetween(const LocalDateTime& from, const LocalDateTime& to)
{
    return secondNumber(to) - secondNumber(from);
}

void ServerOutages::answered(const std::string& server, std::vector<GameRecord> games, const LocalDateTime& at)
{
    Memory& memory = servers_[server];
    memory.failingSince.reset();
    memory.lastGood = LastGoodList{at, std::move(games)};
}

bool ServerOutages::failed(const std::string& server, const LocalDateTime& at)
{
    Memory& memory = servers_[server];
    if (memory.failingSince) return false;
    memory.failingSince = at;
    return true;
}

void ServerOutages::forget(const std::string& server)
{
    servers_.erase(server);
}

void ServerOutages::keepOnly(const TextList& servers)
{
    const auto& listed = servers.lines();
    std::erase_if(servers_, [&listed](const auto& entry) {
        return std::find(listed.begin(), listed.end(), entry.first) == listed.end();
    });
}

const LastGoodList* ServerOutages::lastGood(const std::string& server, const LocalDateTime& now)
{
    const auto found = servers_.find(server);
    if (found == servers_.end() || !found->second.lastGood) return nullptr;
    std::optional<LastGoodList>& kept = found->second.lastGood;
    const long long age = secondsBetween(kept->at, now);
    if (age < 0 || age > kLastGoodSeconds) {
        kept.reset();
        return nullptr;
    }
    return &*kept;
}

std::optional<Outage> ServerOutages::oldestOutage(const TextList& servers) const
{
    std::optional<Outage> oldest;
    for (const std::string& server : servers.lines()) {
        const auto found = servers_.find(server);
        if (found == servers_.end() || !found->second.failingSince) continue;
        const LocalDateTime& since = *found->second.failingSince;
        if (!oldest || secondsBetween(since, oldest->since) > 0) oldest = Outage{server, since};
    }
    return oldest;
}

} // namespace quintor
