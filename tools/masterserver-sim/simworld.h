// The simulated league: a deterministic set of games that open as lobbies, fill up, start, pause
// and end, while new games appear. replygen.h writes it as a masterserver reply.
#pragma once

#include "masterserver-sim/simrandom.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintor::sim {

enum class GameState { Lobby, Running, Paused };

// All texts are raw Windows-1252 bytes; the reply writer quotes and escapes them.
struct SimPlayer {
    std::string name;
    std::string forcedName; // set when the name clashed with an earlier player of the game
    std::string filename;   // empty for a computer player
    std::string flags;      // empty while no flag is set (lobby)
    std::string leagueAccount;
    std::string clanTag; // written raw, unquoted
    int id = 0;
    bool computer = false;
    std::uint32_t color = 0;
    int team = 0; // 0: the game has no teams
};

struct SimClient {
    int id = 0;
    std::string name;
    std::string nick;
    std::string cuid; // empty for an unregistered client
    bool activated = false;
    bool observer = false;
    bool initial = false; // present when the game started
    std::vector<SimPlayer> players;
};

struct SimResource {
    std::string type; // "Scenario", "Definitions", "System" or "Material"
    std::string filename;
    std::string author;
    int id = 0;
    int fileSize = 0;
    std::uint32_t fileCrc = 0;
    std::uint32_t contentsCrc = 0;
    bool loadable = true;
};

struct SimAddress {
    std::string protocol; // "TCP" or "UDP"
    std::string host;     // an IPv6 host without brackets
    int port = 0;
};

struct SimGame {
    int gameId = 0;
    std::uint32_t seed = 0;
    bool registered = false; // false until the league has given the game its GameId
    bool newerHost = false;  // quoted addresses, no AddressCount, Title late
    int icon = 0;
    std::string title;
    std::string writtenTitle; // when set, the title's escaped form as it stands in the reply, without quotes
    GameState state = GameState::Lobby;
    int time = 0;
    int frame = 0;
    std::int64_t startTime = 0;
    std::string comment;
    bool joinAllowed = true;
    bool observingAllowed = true;
    bool passwordNeeded = false;
    bool regJoinOnly = false;
    std::vector<SimAddress> addresses;
    std::string version = "4,9,10,7";
    int build = 330;
    bool official = false;
    int maxPlayers = 4;
    int controlRate = 2;
    int startupPlayerCount = 0;
    bool fairCrew = false;
    int fairCrewStrength = 0;
    std::string rules;
    std::string goals;
    std::vector<std::string> leagues; // empty: not a league game
    SimResource scenario;
    std::vector<SimResource> resources;
    std::vector<std::string> teams; // team names; empty: no teams
    std::vector<SimClient> clients;
    int lastPlayerId = 0;
    int lastClientId = 0;
    int stepsInState = 0;

    int playerCount() const;
    int activePlayerCount() const; // players not removed
};

class SimWorld {
public:
    // A world of gameCount games in mixed states (lobbies, running and paused games).
    explicit SimWorld(std::uint32_t seed, int gameCount = 12);

    // One step of the league's life (about 20 seconds of game time).
    void step();

    std::uint32_t seed() const { return seed_; }
    int stepCount() const { return steps_; }
    // Newest game first, as the league lists them.
    const std::vector<SimGame>& games() const { return games_; }

    // A lobby listed above all others whose host chose hostile texts: markup, a local file as an image, an
    // escaped line break and NUL in the title. It never starts or ends.
    void addHostileGame();
    const std::optional<SimGame>& hostileGame() const { return hostileGame_; }

    // Players under these names (raw Windows-1252 bytes) who play now and then: the first is in a game from
    // the start, the others come online later; at every step one may move to another game, leave or come
    // back. Each is in at most one game, as a client of its own with one player.
    void setFriends(std::vector<std::string> names);

    // Newer servers put a [LegacyClonk] section before [Clonk Rage].
    bool newerServer() const { return newerServer_; }
    void setNewerServer(bool on) { newerServer_ = on; }
    const std::string& motd() const { return motd_; }

private:
    SimGame makeGame();
    void addClient(SimGame& game, int playerCount, bool runtimeJoin);
    SimPlayer makePlayer(SimGame& game, bool computer);
    void startGame(SimGame& game);
    void enterState(SimGame& game, GameState state);
    bool advance(SimGame& game); // false when the game ended
    void moveFriends(bool start);
    bool isFriend(const std::string& name) const;
    bool joinFriend(const std::string& name, std::pair<int, int>& at);

    std::uint32_t seed_;
    SimRandom random_;
    std::vector<SimGame> games_;
    int targetCount_;
    int nextGameId_;
    int steps_ = 0;
    std::int64_t clock_;
    bool newerServer_ = true;
    std::string motd_;
    std::optional<SimGame> hostileGame_;
    struct Friend {
        std::string name;
        std::pair<int, int> at; // game id and client id; game 0: offline
    };
    std::vector<Friend> friends_;
};

} // namespace quintor::sim
