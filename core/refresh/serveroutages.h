// What the refresh remembers of each masterserver between ticks: since when it fails, and the games of
// its last good reply, which stand in for its list while it fails (for at most kLastGoodSeconds). Ages
// are measured on the steady clock; the wall-clock times are only shown.
#pragma once

#include "platform/clock.h"
#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

// A moment as the outages keep it: the wall-clock time to show, the steady time to measure from.
struct Moment {
    LocalDateTime wall;
    std::chrono::milliseconds steady{0};
};

// The games of one server's reply as they were listed: records of a refresh's list, which it shares with the list
// (nothing is copied while the server answers).
struct LastGoodList {
    Moment at; // when the server gave it
    std::shared_ptr<const std::vector<GameRecord>> list;
    std::vector<std::size_t> positions; // of the server's games in `list`, in list order

    std::size_t size() const { return positions.size(); }
    const GameRecord& game(std::size_t index) const { return (*list)[positions[index]]; }
};

struct Outage {
    std::string server;
    Moment since;
};

class ServerOutages {
public:
    static constexpr int kLastGoodSeconds = 600;

    // The server answered at `at` with the games of `list` at these positions: its outage, if any, is over.
    void answered(const std::string& server, std::shared_ptr<const std::vector<GameRecord>> list,
                  std::vector<std::size_t> positions, const Moment& at);
    // The server answered in this refresh: its last good list is not needed any more (answered() gives the new one
    // at the refresh's end), and its records may go before the new ones are read.
    void dropLastGood(const std::string& server);
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
