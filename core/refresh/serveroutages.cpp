#include "refresh/serveroutages.h"

#include <algorithm>

namespace quintor {

void ServerOutages::answered(const std::string& server, std::shared_ptr<const std::vector<GameRecord>> list,
                             std::vector<std::size_t> positions, const Moment& at)
{
    Memory& memory = servers_[server];
    memory.failingSince.reset();
    memory.lastGood = LastGoodList{at, std::move(list), std::move(positions)};
}

void ServerOutages::dropLastGood(const std::string& server)
{
    const auto found = servers_.find(server);
    if (found != servers_.end()) found->second.lastGood.reset();
}

bool ServerOutages::failed(const std::string& server, const Moment& at)
{
    Memory& memory = servers_[server];
    if (memory.failingSince) return false;
    memory.failingSince = at;
    return true;
}

bool ServerOutages::failing(const std::string& server) const
{
    const auto found = servers_.find(server);
    return found != servers_.end() && found->second.failingSince.has_value();
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

const LastGoodList* ServerOutages::lastGood(const std::string& server, std::chrono::milliseconds now)
{
    const auto found = servers_.find(server);
    if (found == servers_.end() || !found->second.lastGood) return nullptr;
    std::optional<LastGoodList>& kept = found->second.lastGood;
    if (now - kept->at.steady > std::chrono::seconds(kLastGoodSeconds)) {
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
        const Moment& since = *found->second.failingSince;
        if (!oldest || since.steady < oldest->since.steady) oldest = Outage{server, since};
    }
    return oldest;
}

} // namespace quintor
