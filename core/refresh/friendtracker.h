// Which friends came into a game since the tick before: what the friend balloons announce, and their texts.
#pragma once

#include "reference/gamestore.h"
#include "refresh/friends.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr std::string_view kFriendBalloonTitle = "Quintor - Freunde";

struct FriendArrival {
    std::string name; // as the game shows it, without tags
    RowHandle row;    // the game's row in this tick
};

struct FriendNews {
    // The first tick: every friend already online, for one balloon.
    std::vector<FriendArrival> alreadyOnline;
    // Every later tick: each friend in a game they were not in at the tick before, one balloon each.
    std::vector<FriendArrival> arrivals;
};

// Remembers, from one tick to the next, which friend is in which game, the game known by its identity
// (gameIdentity), as the filters that report a game once know it.
class FriendTracker {
public:
    // The games of a tick that read the servers, those kept from a failing server (Stale) included. A friend who
    // appears in a game is new there, so is one who moved to another game; one who stays is not. A kept game
    // changes nothing: the friends it had at the tick before stay in it, and nobody is new in it.
    FriendNews update(const std::vector<GameRecord>& games, const FriendList& friends);

private:
    struct Sighting {
        std::string name;
        std::string game;
    };
    static bool seen(const std::vector<Sighting>& sightings, std::string_view name, std::string_view game);

    std::vector<Sighting> sightings_;
    bool started_ = false;
};

// "<Name> ist jetzt in „<Title>“ (<Status>)", the title and status as the list shows them.
std::string friendArrivalText(const std::string& name, const GameRecord& game, const TextList& aliases);
// The first tick's balloon: one line "<Name> ist in „<Title>“ (<Status>)" per friend, at most five, then
// "und N weitere". Arrivals whose row is no longer listed are left out.
std::string friendsAlreadyOnlineText(const std::vector<FriendArrival>& arrivals, const GameStore& games,
                                     const TextList& aliases);

} // namespace quintor
