// Which games each filter matched in the last refresh, so that a filter's event actions can wait for a
// game that starts to match it instead of repeating at every refresh. Held in memory only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quintor {

class MatchMemory {
public:
    // What one filter remembers. A refresh takes it once per filter (filter()) and notes its matches there, so a
    // match costs no look-up by key.
    class Filter {
    private:
        friend class MatchMemory;
        struct Game {
            std::uint64_t identity; // gameIdentityHash
            std::uint32_t server;   // MatchMemory::server
        };
        std::vector<Game> last_; // of the last ended refresh, sorted by identity
        std::vector<Game> current_;
        bool failed_ = false;
    };

    // Starts a refresh. One that began before and was never ended counts as ended with every server read.
    void beginTick();

    // The memory of the filter with this key. It stays the filter's until rekey().
    Filter& filter(const std::string& filterKey);
    // Changes at every rekey(): what filter() gave before is to be asked for anew.
    std::uint64_t generation() const { return generation_; }

    // The number the memory knows a server by.
    std::uint32_t server(std::string_view name);

    // The filter matches the game (by gameIdentityHash, listed by the server numbered `server`) in this refresh.
    // True when the game is new to the filter: it did not match it in the last refresh. Two games of the same
    // identity in one refresh are both new, or neither.
    bool noteMatch(Filter& filter, std::uint64_t identity, std::uint32_t server);

    // The filter failed in this refresh: it will remember nothing of it.
    void forget(Filter& filter) { filter.failed_ = true; }

    // Ends the refresh without remembering anything of it: what the last ended refresh left stays.
    void abandonTick();

    // Filters changed keys (`moved`, old to new, swaps included) or went (`removed`): what each remembers goes
    // with it, and nothing stays under a key that now names another filter.
    void rekey(const std::map<std::string, std::string>& moved, const std::vector<std::string>& removed);

    // Ends the refresh: from now on each filter remembers the games it matched in it, and, for the servers
    // that could not be read, the games of theirs it remembered before.
    void endTick(const std::vector<std::string>& unreadServers);

private:
    // Node-based: a filter's memory stays where it is while others are added.
    std::unordered_map<std::string, Filter> filters_;
    std::vector<std::string> servers_;
    std::uint64_t generation_ = 0;
    bool open_ = false;
};

} // namespace quintor
