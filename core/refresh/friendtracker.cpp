#include "refresh/friendtracker.h"

#include "refresh/rowtexts.h"
#include "settings/convert.h"
#include "settings/translate.h"

#include <algorithm>
#include <set>

namespace quintor {
namespace {

constexpr std::size_t shownTitleLength = 100;
constexpr std::size_t alreadyOnlineLines = 5;

// A hostile title may be thousands of characters long: the balloon shows its beginning.
std::string shownTitle(const GameRecord& game, const TextList& aliases)
{
    std::string alias;
    return shortened(rowCaption(game, aliases, alias), shownTitleLength);
}

std::string whereText(const std::string& name, const std::string& verb, const GameRecord& game, const TextList& aliases)
{
    return name + verb + "\x84" + shownTitle(game, aliases) + "\x93 (" +
           columnText(untranslated("Status"), game, aliases).value_or(std::string()) + ")";
}

} // namespace

bool FriendTracker::seen(const std::vector<Sighting>& sightings, std::string_view name, std::string_view game)
{
    return std::any_of(sightings.begin(), sightings.end(), [&](const Sighting& sighting) {
        return sighting.game == game && sameNameIgnoringCase(sighting.name, name);
    });
}

std::vector<FriendArrival> FriendTracker::update(const std::vector<GameRecord>& games, const FriendList& friends)
{
    std::set<std::string, std::less<>> keptGames;
    for (const GameRecord& game : games) {
        if (game.Stale) keptGames.insert(gameIdentity(game));
    }
    std::vector<Sighting> now;
    for (const Sighting& sighting : sightings_) {
        if (keptGames.contains(sighting.game)) now.push_back(sighting);
    }
    std::vector<FriendArrival> arrivals;
    for (const GameRecord& game : games) {
        if (game.Stale) continue;
        std::string identity = gameIdentity(game);
        for (std::string& name : friends.in(game)) {
            if (seen(now, name, identity)) continue; // two records of one game
            const bool known = seen(sightings_, name, identity);
            now.push_back({name, identity});
            if (!known && started_) arrivals.push_back({std::move(name), game.Item});
        }
    }
    sightings_ = std::move(now);
    started_ = true;
    return arrivals;
}

std::vector<FriendArrival> friendsInGames(const std::vector<GameRecord>& games, const FriendList& friends)
{
    std::vector<FriendArrival> online;
    for (const GameRecord& game : games) {
        if (game.Stale) continue;
        for (std::string& name : friends.in(game))
            online.push_back({std::move(name), game.Item});
    }
    return online;
}

std::string friendArrivalText(const std::string& name, const GameRecord& game, const TextList& aliases)
{
    return whereText(name, tr(" ist jetzt in "), game, aliases);
}

std::string friendsAlreadyOnlineText(const std::vector<FriendArrival>& arrivals, const GameStore& games,
                                     const TextList& aliases)
{
    std::string text;
    std::size_t lines = 0;
    std::size_t more = 0;
    for (const FriendArrival& arrival : arrivals) {
        const GameRecord* game = games.find(arrival.row);
        if (!game) continue;
        if (lines == alreadyOnlineLines) {
            ++more;
            continue;
        }
        if (lines++ > 0) text += "\n";
        text += whereText(arrival.name, tr(" ist in "), *game, aliases);
    }
    if (more > 0) text += tr("\nund ") + std::to_string(more) + tr(" weitere");
    return text;
}

} // namespace quintor
