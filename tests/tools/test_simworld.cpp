// The simulated league's life: the same seed gives the same league, games open, fill up, start,
// pause and end, and new games appear.
#include "masterserver-sim/replygen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace quintor::sim {
namespace {

TEST(SimWorld, SameSeedGivesTheSameReplies)
{
    SimWorld a(7, 20);
    SimWorld b(7, 20);
    for (int step = 0; step < 10; ++step) {
        ASSERT_EQ(generateReply(a), generateReply(b)) << "step " << step;
        a.step();
        b.step();
    }
    EXPECT_NE(generateReply(SimWorld(7, 20)), generateReply(SimWorld(8, 20)));
    EXPECT_EQ(generateStaticReply(42, 50), generateReply(SimWorld(42, 50)));
}

TEST(SimWorld, GamesLiveThroughLobbyRunningPausedAndEnd)
{
    SimWorld world(11, 12);
    std::map<int, std::set<GameState>> statesOf;
    std::set<int> seenIds;
    std::set<int> initialIds;
    for (const SimGame& game : world.games())
        initialIds.insert(game.gameId);
    bool lobbyGrew = false;
    std::map<int, int> lobbyPlayers;
    for (int step = 0; step < 60; ++step) {
        for (const SimGame& game : world.games()) {
            statesOf[game.gameId].insert(game.state);
            seenIds.insert(game.gameId);
            if (game.state == GameState::Lobby) {
                auto known = lobbyPlayers.find(game.gameId);
                if (known != lobbyPlayers.end() && game.playerCount() > known->second) lobbyGrew = true;
                lobbyPlayers[game.gameId] = game.playerCount();
            }
        }
        world.step();
    }
    EXPECT_EQ(world.stepCount(), 60);
    EXPECT_TRUE(lobbyGrew) << "players never joined a lobby";

    int startedFromLobby = 0;
    int paused = 0;
    for (const auto& [id, states] : statesOf) {
        if (states.count(GameState::Lobby) && states.count(GameState::Running)) ++startedFromLobby;
        if (states.count(GameState::Paused)) ++paused;
    }
    EXPECT_GT(startedFromLobby, 0);
    EXPECT_GT(paused, 0);

    std::set<int> nowIds;
    for (const SimGame& game : world.games())
        nowIds.insert(game.gameId);
    bool someEnded = std::any_of(initialIds.begin(), initialIds.end(), [&](int id) { return !nowIds.count(id); });
    EXPECT_TRUE(someEnded);
    EXPECT_GT(seenIds.size(), initialIds.size()) << "no new game appeared";
    EXPECT_GT(world.games().size(), 4u);
    EXPECT_LT(world.games().size(), 30u);

    // Newest first: ids fall from the top of the list.
    for (std::size_t i = 1; i < world.games().size(); ++i)
        EXPECT_GT(world.games()[i - 1].gameId, world.games()[i].gameId);
}

TEST(SimWorld, NewGamesShowSeedUntilTheLeagueRegistersThem)
{
    SimWorld world(5, 3);
    std::set<int> before;
    for (const SimGame& game : world.games())
        before.insert(game.gameId);
    for (int step = 0; step < 20; ++step) {
        world.step();
        for (const SimGame& game : world.games())
            EXPECT_EQ(game.registered, before.count(game.gameId) == 1) << "game " << game.gameId;
        for (const SimGame& game : world.games())
            before.insert(game.gameId);
    }
}

TEST(SimWorld, FriendsPlayNowAndThenEachInOneGameAtATime)
{
    SimWorld world(3, 12);
    world.setFriends({"Freundin Anna", "Freund Bert"});
    const auto gamesOf = [&world](const std::string& name) {
        std::vector<int> ids;
        for (const SimGame& game : world.games())
            for (const SimClient& client : game.clients)
                for (const SimPlayer& player : client.players)
                    if (player.name == name) ids.push_back(game.gameId);
        return ids;
    };
    EXPECT_EQ(gamesOf("Freundin Anna").size(), 1u); // the first plays from the start
    EXPECT_TRUE(gamesOf("Freund Bert").empty());
    std::map<std::string, std::set<int>> played;
    std::map<std::string, int> offline;
    for (int step = 0; step < 60; ++step) {
        world.step();
        for (const std::string name : {"Freundin Anna", "Freund Bert"}) {
            const std::vector<int> ids = gamesOf(name);
            ASSERT_LE(ids.size(), 1u) << name << " at step " << step;
            if (ids.empty())
                ++offline[name];
            else
                played[name].insert(ids.front());
        }
    }
    for (const std::string name : {"Freundin Anna", "Freund Bert"}) {
        EXPECT_GE(played[name].size(), 3u) << name << " moves between games";
        EXPECT_GT(offline[name], 0) << name << " leaves now and then";
    }
}

} // namespace
} // namespace quintor::sim
