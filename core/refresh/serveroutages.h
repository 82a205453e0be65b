// What the refresh remembers of each masterserver between ticks: since when it fails, and the games of
// its last good reply, which stand in for its list while it fails (for at most kLastGoodSeconds). Ages
// are measured on the steady clock; the wall-clock times are only shown.
#pragma once

#include "platform/clock.h"
#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

// A moment as the outages keep it: the wall-clock time to show, the steady time to measure from.
struct Moment {
    LocalDateTime wall;
    std::chrono::milliseconds steady{0};
};

struct LastGoodList {
    Moment at; // when the server gave it
    std::vector<GameRecord> games;
};

struct Outage {
    std::string server;
    Moment since;
};

class ServerOutages {
public:
    static constexpr int kLastGoodSeconds = 600;

    // The server answered at `at` with these games: its outage, if any, is over.
    void answered(const std::string& server, std::vector<GameRecord> games, const Moment& at);
    // The server failed at `at`. True when this begins an outage (the user is asked once per outage).
    bool failed(const std::string& server, const Moment& at);
    // Whether the server's outage goes on (it failed and has not answered since).
    bool failing(const std::string& server) const;
    // The server left the list: nothing of it is kept.
    void forget(const std::string& server);
    // Forgets every server that is not in `servers`.
    void keepOnly(const TextList& servers);

    // The server's last good list while it is at most kLastGoodSeconds old at `now` on the steady clock;
    // an older one is dropped.
    const LastGoodList* lastGood(const std::string& server, std::chrono::milliseconds now);

    // The outage that began first among the servers of `servers` (list order on a tie).
    std::optional<Outage> oldestOutage(const TextList& servers) const;

private:
    struct Memory {
        std::optional<Moment> failingSince;
        std::optional<LastGoodList> lastGood;
    };
    std::map<std::string, Memory> servers_;
};

} // namespace quintor
