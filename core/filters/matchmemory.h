// Which games each filter matched in the last refresh, so that a filter's event actions can wait for a
// game that starts to match it instead of repeating at every refresh. Held in memory only.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quintor {

class MatchMemory {
public:
    // Starts a refresh. One that began before and was never ended counts as ended with every server read.
    void beginTick();

    // The filter (by its key) matches the game (by gameIdentity, listed by `server`) in this refresh. True
    // when the game is new to the filter: it did not match it in the last refresh. Two games of the same
    // identity in one refresh are both new, or neither.
    bool noteMatch(const std::string& filterKey, const std::string& identity, const std::string& server);

    // The filter failed in this refresh: it will remember nothing of it.
    void forget(const std::string& filterKey);

    // Ends the refresh without remembering anything of it: what the last ended refresh left stays.
    void abandonTick();

    // Filters changed keys (`moved`, old to new, swaps included) or went (`removed`): what each remembers goes
    // with it, and nothing stays under a key that now names another filter.
    void rekey(const std::map<std::string, std::string>& moved, const std::vector<std::string>& removed);

    // Ends the refresh: from now on each filter remembers the games it matched in it, and, for the servers
    // that could not be read, the games of theirs it remembered before.
    void endTick(const std::vector<std::string>& unreadServers);

private:
    using Games = std::set<std::pair<std::string, std::string>>; // identity, server

    std::unordered_map<std::string, Games> last_;
    std::unordered_map<std::string, Games> current_;
    std::unordered_set<std::string> failed_;
    bool open_ = false;
};

} // namespace quintor
