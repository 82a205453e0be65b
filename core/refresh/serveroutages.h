// What the refresh remembers of each masterserver between ticks: since when it fails, and the games of
// its last good reply, which stand in for its list while it fails (for at most kLastGoodSeconds).
#pragma once

#include "platform/clock.h"
#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

struct LastGoodList {
    LocalDateTime at; // when the server gave it
    std::vector<GameRecord> games;
};

struct Outage {
    std::string server;
    LocalDateTime since;
};

class ServerOutages {
public:
    static constexpr int kLastGoodSeconds = 600;

    // The server answered at `at` with these games: its outage, if any, is over.
    void answered(const std::string& server, std::vector<GameRecord> games, const LocalDateTime& at);
    // The server failed at `at`. True when this begins an outage (the user is asked once per outage).
    bool failed(const std::string& server, const LocalDateTime& at);
    // The server left the list: nothing of it is kept.
    void forget(const std::string& server);
    // Forgets every server that is not in `servers`.
    void keepOnly(const TextList& servers);

    // The server's last good list while it is at most kLastGoodSeconds old at `now` (a clock that went
    // back counts as too old); an older one is dropped.
    const LastGoodList* lastGood(const std::string& server, const LocalDateTime& now);

    // The outage that began first among the servers of `servers` (list order on a tie).
    std::optional<Outage> oldestOutage(const TextList& servers) const;

private:
    struct Memory {
        std::optional<LocalDateTime> failingSince;
        std::optional<LastGoodList> lastGood;
    };
    std::map<std::string, Memory> servers_;
};

// Seconds from `from` to `to` on the local wall clock.
long long secondsBetween(const LocalDateTime& from, const LocalDateTime& to);

} // namespace quintor
