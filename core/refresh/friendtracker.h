// Which friends came into a game since the tick before: what the friend balloons announce, and their texts.
#pragma once

#include "reference/gamestore.h"
#include "refresh/friends.h"
#include "settings/translate.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr std::string_view kFriendBalloonTitle = untranslated("Quintor - Freunde");

struct FriendArrival {
    std::string name; // as the game shows it, without tags
    RowHandle row;    // the game's row in this tick
};

// Remembers, from one tick to the next, which friend is in which game, the game known by its identity
// (gameIdentity), as the filters that report a game once know it.
class FriendTracker {
public:
    // The games of a tick that read the servers, those kept from a failing server (Stale) included. Gives each
    // friend in a game they were not in at the tick before: one who appears, or who moved to another game; not
    // one who stays. A kept game changes nothing: the friends it had at the tick before stay in it, and nobody
    // is new in it. At the first tick nobody is new (see friendsInGames).
    std::vector<FriendArrival> update(const std::vector<GameRecord>& games, const FriendList& friends);

private:
    struct Sighting {
        std::string name;
        std::string game;
    };
    static bool seen(const std::vector<Sighting>& sightings, std::string_view name, std::string_view game);

    std::vector<Sighting> sightings_;
    bool started_ = false;
};

// Every friend in a game that is not kept from a failing server, in list order: who is online.
std::vector<FriendArrival> friendsInGames(const std::vector<GameRecord>& games, const FriendList& friends);

// "<Name> ist jetzt in „<Title>“ (<Status>)", the title and status as the list shows them.
std::string friendArrivalText(const std::string& name, const GameRecord& game, const TextList& aliases);
// The balloon of who is online: one line "<Name> ist in „<Title>“ (<Status>)" per friend, at most five, then
// "und N weitere". Arrivals whose row is no longer listed are left out.
std::string friendsAlreadyOnlineText(const std::vector<FriendArrival>& arrivals, const GameStore& games,
                                     const TextList& aliases);

} // namespace quintor
