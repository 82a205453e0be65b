// The Monitor's side of the friends: what the ticks show and announce of them, and joining a game from a balloon.
#include "monitor/monitor.h"

#include "filters/filteractions.h"
#include "settings/convert.h"
#include "settings/keys.h"
#include "settings/translate.h"

#include <algorithm>

namespace quintor {

bool Monitor::friendNotify() const
{
    return parseBool(state_.config.value(keys::friendnotify)).value_or(true);
}

void Monitor::setFriendNotify(bool on)
{
    state_.config.setValue(keys::friendnotify, boolToStr(on));
}

void Monitor::friendsListed(bool fromServers)
{
    const FriendList friends(state_.friends);
    const std::vector<GameRecord>& games = state_.games.all();
    const std::vector<std::string> online = friendsOnline(games, friends);
    views_->view.setLabel(Label::friendsOnline, friendsOnlineLabel(online.size()));
    views_->view.setTrayLine(trayFriendsText(online));
    // A loaded file is no news of anyone.
    if (!fromServers) return;
    const std::vector<FriendArrival> arrivals = friendTracker_.update(games, friends);
    // Tracked all the same, so that switching the balloons on announces only what happens from then on. The
    // window opens at start, and a balloon is only seen in the tray: who is online is told the first time it
    // would be seen.
    if (!friendNotify() || !views_->notifier.balloonsSeen()) return;
    const std::string title = translateText(kFriendBalloonTitle);
    if (!friendsOnlineTold_) {
        friendsOnlineTold_ = true;
        const std::vector<FriendArrival> everyone = friendsInGames(games, friends);
        if (everyone.empty()) return;
        // Joining is offered when they are all in one game.
        const RowHandle row = everyone.front().row;
        const bool oneGame = std::all_of(everyone.begin(), everyone.end(),
                                         [row](const FriendArrival& arrival) { return arrival.row == row; });
        const GameRecord* game = oneGame ? state_.games.find(row) : nullptr;
        views_->notifier.balloon(title, friendsAlreadyOnlineText(everyone, state_.games, state_.aliases),
                                 game ? joinOffer(*game) : std::nullopt);
        return;
    }
    for (const FriendArrival& arrival : arrivals) {
        if (const GameRecord* game = state_.games.find(arrival.row))
            views_->notifier.balloon(title, friendArrivalText(arrival.name, *game, state_.aliases), joinOffer(*game));
    }
}

void Monitor::joinAnnouncedGame(const std::string& game)
{
    if (quitting_) return;
    // The list is being rebuilt, and nothing may be asked inside a tick.
    if (gate_.running()) {
        joinAfterTick_ = game;
        return;
    }
    guarded([this, &game] { joinListedGame(game); });
}

void Monitor::joinListedGame(const std::string& game)
{
    for (const GameRecord& record : state_.games.all()) {
        if (gameIdentity(record) != game) continue;
        joinGame(record, gameFolderSearch(), starter_);
        return;
    }
    noteForAWhile(StatusNote::gameGone, std::string(kGameGoneText));
}

} // namespace quintor
