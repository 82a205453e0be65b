#include "masterserver-sim/simworld.h"

#include "masterserver-sim/simnames.h"

#include <algorithm>
#include <cstdio>

namespace quintor::sim {

namespace {

constexpr int kStepSeconds = 20;
constexpr int kFramesPerSecond = 36;
constexpr std::int64_t kStartClock = 1262304000; // the league's clock at step 0

const std::vector<std::uint32_t> kColors = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00,
                                            0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x804000};

// A coloured name without its markup: what the player's file and league account are called.
std::string withoutMarkup(const std::string& name)
{
    std::string plain;
    bool inTag = false;
    for (char c : name) {
        if (c == '<') inTag = true;
        if (!inTag) plain += c;
        if (c == '>') inTag = false;
    }
    return plain;
}

bool nameTaken(const SimGame& game, const std::string& name)
{
    for (const SimClient& client : game.clients)
        for (const SimPlayer& player : client.players)
            if (player.name == name || player.forcedName == name) return true;
    return false;
}

std::string lanHost(SimRandom& random)
{
    if (random.chance(50))
        return "192.168." + std::to_string(random.between(0, 2)) + "." + std::to_string(random.between(2, 254));
    return "10.0." + std::to_string(random.between(0, 9)) + "." + std::to_string(random.between(2, 254));
}

std::string publicHost(SimRandom& random)
{
    static const std::vector<std::string> nets = {"198.51.100.", "203.0.113.", "192.0.2."};
    return random.pick(nets) + std::to_string(random.between(1, 254));
}

std::vector<SimAddress> makeAddresses(SimRandom& random, bool newerHost)
{
    std::vector<SimAddress> addresses;
    int tcpPort = random.chance(80) ? 11112 : random.between(20000, 30000);
    auto addHost = [&](const std::string& host) {
        addresses.push_back({"TCP", host, tcpPort});
        addresses.push_back({"UDP", host, tcpPort + 1});
    };
    addHost(publicHost(random));
    for (int i = random.between(0, 2); i > 0; --i)
        addHost(lanHost(random));
    if (newerHost && random.chance(60)) {
        char v6[40];
        std::snprintf(v6, sizeof v6, "2001:db8:%x::%x", random.between(1, 0xfff), random.between(1, 0xffff));
        addHost(v6);
    }
    return addresses;
}

SimResource makeResource(SimRandom& random, std::string type, std::string filename, std::string author, int id)
{
    SimResource resource;
    resource.type = std::move(type);
    resource.filename = std::move(filename);
    resource.author = std::move(author);
    resource.id = id;
    resource.loadable = resource.type != "System" && random.chance(92);
    resource.fileSize = resource.type == "Scenario" ? random.between(20000, 900000) : random.between(3000, 4000000);
    resource.fileCrc = random.word();
    resource.contentsCrc = random.word();
    return resource;
}

std::string cuidFor(SimRandom& random)
{
    return std::to_string(random.between(100000, 2999999));
}

} // namespace

int SimGame::playerCount() const
{
    int count = 0;
    for (const SimClient& client : clients)
        count += static_cast<int>(client.players.size());
    return count;
}

int SimGame::activePlayerCount() const
{
    int count = 0;
    for (const SimClient& client : clients)
        for (const SimPlayer& player : client.players)
            if (player.flags.find("Removed") == std::string::npos) ++count;
    return count;
}

SimWorld::SimWorld(std::uint32_t seed, int gameCount)
    : seed_(seed), random_(seed), targetCount_(std::max(gameCount, 1)), nextGameId_(100000 + random_.below(50000)),
      clock_(kStartClock)
{
    motd_ = random_.pick(motdTexts());
    for (int i = 0; i < gameCount; ++i) {
        SimGame game = makeGame();
        game.registered = true;
        // A snapshot shows games at every stage of their life.
        int stage = random_.below(100);
        int joins = stage < 25 ? 0 : random_.between(0, game.maxPlayers / 2);
        for (int j = 0; j < joins && game.playerCount() < game.maxPlayers; ++j)
            addClient(game, random_.chance(10) ? 2 : 1, false);
        if (stage >= 45 && game.playerCount() > 0) {
            startGame(game);
            game.time = random_.between(1, 90) * kStepSeconds;
            game.frame = game.time * kFramesPerSecond;
            game.startTime = clock_ - game.time;
            for (SimClient& client : game.clients)
                for (SimPlayer& player : client.players)
                    if (random_.chance(12)) player.flags = "Joined|Removed";
            if (stage >= 85) enterState(game, GameState::Paused);
        }
        games_.push_back(std::move(game));
    }
    // makeGame hands out rising ids; the league lists the newest first.
    std::reverse(games_.begin(), games_.end());
}

SimGame SimWorld::makeGame()
{
    SimGame game;
    game.gameId = nextGameId_++;
    game.seed = random_.word();
    game.newerHost = random_.chance(40);
    game.icon = random_.chance(30) ? 0 : random_.between(1, 30);
    const ScenarioInfo& scenario = random_.pick(scenarioNames());
    game.title = scenario.title;
    game.comment = random_.pick(commentTexts());
    game.official = random_.chance(15);
    game.passwordNeeded = !game.official && random_.chance(12);
    game.regJoinOnly = random_.chance(10);
    game.observingAllowed = !random_.chance(10);
    game.addresses = makeAddresses(random_, game.newerHost);
    if (game.newerHost) {
        game.version = "4,9,10,15";
        game.build = 362;
    }
    game.maxPlayers = random_.pick(std::vector<int>{2, 4, 4, 4, 6, 8});
    game.controlRate = random_.between(1, 4);
    game.fairCrew = random_.chance(30);
    game.fairCrewStrength = game.fairCrew ? random_.between(1, 20) * 1000 : 0;
    game.rules = random_.pick(ruleLists());
    game.goals = scenario.goals;
    if (game.official || random_.chance(25)) {
        int kind = random_.below(3);
        if (kind != 1) game.leagues.push_back(scenario.settlement ? "Settle" : "Melee");
        if (kind == 1) game.leagues.push_back(scenario.settlement ? "Melee" : "Settle");
        if (kind == 2) game.leagues.push_back(scenario.settlement ? "Melee" : "Settle");
    }
    int resourceId = 1;
    game.scenario = makeResource(random_, "Scenario", scenario.filename, scenario.author, resourceId++);
    // Many hosts list the scenario among the resources as well.
    if (random_.chance(50)) game.resources.push_back(game.scenario);
    int definitions = random_.chance(40) ? 0 : 1;
    for (int i = 0; i < definitions; ++i) {
        const DefinitionInfo& definition = definitionNames()[static_cast<std::size_t>(
            (static_cast<std::size_t>(game.seed) + static_cast<std::size_t>(i)) % definitionNames().size())];
        game.resources.push_back(
            makeResource(random_, "Definitions", definition.filename, definition.author, resourceId++));
    }
    if (random_.chance(50)) game.resources.push_back(makeResource(random_, "System", "System.c4g", "", resourceId++));
    if (random_.chance(30)) game.resources.push_back(makeResource(random_, "Material", "Material.c4g", "", resourceId));
    if (random_.chance(40)) {
        int count = random_.between(2, 4);
        std::size_t first = static_cast<std::size_t>(random_.below(static_cast<int>(teamNames().size())));
        for (int i = 0; i < count; ++i)
            game.teams.push_back(teamNames()[(first + i) % teamNames().size()]);
    }

    SimClient host;
    host.id = 0;
    host.activated = true;
    if (game.official) {
        // The league's own host only watches; it writes no CUID.
        host.observer = true;
        host.name = "Liga-Server";
        host.nick = "Liga-Server";
        game.clients.push_back(std::move(host));
    } else {
        if (random_.chance(75)) host.cuid = cuidFor(random_);
        game.clients.push_back(std::move(host));
        SimClient& self = game.clients.back();
        self.players.push_back(makePlayer(game, false));
        self.name = self.players.back().name;
        self.nick = self.name;
        if (random_.chance(15)) self.players.push_back(makePlayer(game, true));
    }
    return game;
}

SimPlayer SimWorld::makePlayer(SimGame& game, bool computer)
{
    SimPlayer player;
    player.computer = computer;
    const auto& pool = computer ? computerPlayerNames() : playerNames();
    player.name = random_.pick(pool);
    // Now and then a second player under a name already in the game, as happens in real lobbies.
    // Never a friend's: each friend is one player in one game.
    if (!computer && game.playerCount() > 0 && random_.chance(10)) {
        for (const SimClient& client : game.clients)
            if (!client.players.empty() && !isFriend(client.players.front().name))
                player.name = client.players.front().name;
    }
    for (int clash = 2; nameTaken(game, clash == 2 ? player.name : player.forcedName); ++clash)
        player.forcedName = player.name + " (" + std::to_string(clash) + ")";
    if (!computer) player.filename = withoutMarkup(player.name) + ".c4p";
    player.id = ++game.lastPlayerId;
    player.color = kColors[static_cast<std::size_t>(player.id - 1) % kColors.size()];
    if (!game.teams.empty()) player.team = random_.between(1, static_cast<int>(game.teams.size()));
    if (!computer && !game.leagues.empty() && random_.chance(80)) player.leagueAccount = withoutMarkup(player.name);
    if (!computer) player.clanTag = random_.pick(clanTags());
    return player;
}

void SimWorld::addClient(SimGame& game, int playerCount, bool runtimeJoin)
{
    SimClient client;
    client.id = ++game.lastClientId;
    client.name = random_.pick(playerNames());
    client.nick = client.name;
    if (random_.chance(70)) client.cuid = cuidFor(random_);
    // Clients in a lobby wait one step before the host activates them.
    client.activated = game.state != GameState::Lobby || random_.chance(60);
    game.clients.push_back(std::move(client));
    SimClient& added = game.clients.back();
    if (game.state != GameState::Lobby && random_.chance(30)) {
        added.observer = true;
        return;
    }
    for (int i = 0; i < playerCount; ++i) {
        SimPlayer player = makePlayer(game, false);
        if (runtimeJoin) player.flags = "Joined";
        added.players.push_back(std::move(player));
    }
    if (!added.players.empty() && added.players.front().forcedName.empty()) {
        added.name = added.players.front().name;
        added.nick = added.name;
    }
}

void SimWorld::enterState(SimGame& game, GameState state)
{
    game.state = state;
    game.stepsInState = 0;
}

void SimWorld::startGame(SimGame& game)
{
    enterState(game, GameState::Running);
    game.startTime = clock_;
    game.time = 0;
    game.frame = 0;
    game.startupPlayerCount = game.playerCount();
    game.joinAllowed = random_.chance(35);
    for (SimClient& client : game.clients) {
        client.activated = true;
        client.initial = !client.players.empty();
        for (SimPlayer& player : client.players)
            player.flags = "Joined";
    }
}

bool SimWorld::advance(SimGame& game)
{
    game.registered = true;
    ++game.stepsInState;
    switch (game.state) {
    case GameState::Lobby: {
        for (SimClient& client : game.clients)
            client.activated = true;
        int players = game.playerCount();
        if (players < game.maxPlayers && random_.chance(45)) addClient(game, random_.chance(20) ? 2 : 1, false);
        if (game.clients.size() > 1 && random_.chance(8)) game.clients.pop_back();
        players = game.playerCount();
        bool full = players >= game.maxPlayers;
        if (players >= 2 && (full || random_.chance(20) || game.stepsInState > 12))
            startGame(game);
        else if (game.stepsInState > 25)
            return false; // nobody came
        return true;
    }
    case GameState::Running: {
        game.time += kStepSeconds;
        game.frame += kStepSeconds * kFramesPerSecond;
        for (SimClient& client : game.clients)
            for (SimPlayer& player : client.players)
                if (player.flags == "Joined" && random_.chance(6)) player.flags = "Joined|Removed";
        if (game.joinAllowed && game.playerCount() < game.maxPlayers && random_.chance(10)) addClient(game, 1, true);
        if (game.activePlayerCount() <= 1 && random_.chance(50)) return false;
        if (random_.chance(4)) return false;
        if (random_.chance(10)) enterState(game, GameState::Paused);
        return true;
    }
    case GameState::Paused:
        if (random_.chance(8)) return false;
        if (random_.chance(50)) enterState(game, GameState::Running);
        return true;
    }
    return true;
}

void SimWorld::addHostileGame()
{
    SimGame game;
    game.gameId = 99999;
    game.seed = 4242;
    game.registered = true;
    game.icon = 1;
    // What the host typed, and how a hand-made host writes it: octal escapes where the game would write \n.
    static constexpr char typed[] = "<img src=/dev/zero><c ff0000>Pro</c> &amp; <b>Zeile</b>\nzwei\0Ende";
    game.title = std::string(typed, sizeof typed - 1);
    game.writtenTitle = "<img src=/dev/zero><c ff0000>Pro</c> &amp; <b>Zeile</b>\\012zwei\\000Ende";
    game.comment = "<img src=/dev/zero>";
    game.addresses = {{"TCP", "198.51.100.66", 11112}, {"UDP", "198.51.100.66", 11113}};
    game.rules = "FGRV=1;REAC=1";
    game.goals = "MELE=1";
    game.scenario.type = "Scenario";
    game.scenario.filename = "Melees.c4f\\Greed.c4s";
    game.scenario.id = 1;
    game.scenario.fileSize = 120000;

    SimClient host;
    host.activated = true;
    host.cuid = "4242";
    host.name = "<b>Pro</b>";
    host.nick = host.name;
    SimPlayer player;
    player.name = host.name;
    player.filename = "Pro.c4p";
    player.id = game.lastPlayerId = 1;
    player.color = kColors[0];
    host.players.push_back(std::move(player));
    game.clients.push_back(std::move(host));
    hostileGame_ = std::move(game);
}

void SimWorld::step()
{
    ++steps_;
    clock_ += kStepSeconds;
    std::vector<SimGame> kept;
    kept.reserve(games_.size() + 2);
    // New games first: the league lists the newest on top.
    int missing = targetCount_ - static_cast<int>(games_.size());
    int fresh = missing > 0 ? random_.between(1, std::min(missing, 2)) : (random_.chance(25) ? 1 : 0);
    for (int i = 0; i < fresh; ++i)
        kept.push_back(makeGame());
    std::reverse(kept.begin(), kept.end());
    for (SimGame& game : games_)
        if (advance(game)) kept.push_back(std::move(game));
    games_ = std::move(kept);
    moveFriends(false);
}

bool SimWorld::isFriend(const std::string& name) const
{
    return std::any_of(friends_.begin(), friends_.end(), [&name](const Friend& one) { return one.name == name; });
}

void SimWorld::setFriends(std::vector<std::string> names)
{
    friends_.clear();
    for (std::string& name : names)
        friends_.push_back({std::move(name), {0, 0}});
    moveFriends(true);
}

void SimWorld::moveFriends(bool start)
{
    for (std::size_t i = 0; i < friends_.size(); ++i) {
        Friend& one = friends_[i];
        auto game = std::find_if(games_.begin(), games_.end(),
                                 [&one](const SimGame& candidate) { return candidate.gameId == one.at.first; });
        const bool online = game != games_.end(); // a game that ended took its friend offline
        if (start ? i > 0 : online ? !random_.chance(30) : !random_.chance(35)) continue;
        if (online) {
            std::erase_if(game->clients, [&one](const SimClient& client) { return client.id == one.at.second; });
            if (random_.chance(40)) { // left for a while
                one.at = {0, 0};
                continue;
            }
        }
        if (!joinFriend(one.name, one.at)) one.at = {0, 0};
    }
}

bool SimWorld::joinFriend(const std::string& name, std::pair<int, int>& at)
{
    std::vector<SimGame*> open;
    for (SimGame& game : games_) {
        if (!game.official && game.joinAllowed && game.activePlayerCount() < game.maxPlayers &&
            !nameTaken(game, name) && game.gameId != at.first)
            open.push_back(&game);
    }
    if (open.empty()) return false;
    SimGame& game = *open[static_cast<std::size_t>(random_.below(static_cast<int>(open.size())))];
    SimClient client;
    client.id = ++game.lastClientId;
    client.name = name;
    client.nick = name;
    client.cuid = cuidFor(random_);
    client.activated = true;
    SimPlayer player;
    player.name = name;
    player.filename = withoutMarkup(name) + ".c4p";
    player.id = ++game.lastPlayerId;
    player.color = kColors[static_cast<std::size_t>(player.id - 1) % kColors.size()];
    if (game.state != GameState::Lobby) player.flags = "Joined";
    client.players.push_back(std::move(player));
    game.clients.push_back(std::move(client));
    at = {game.gameId, game.lastClientId};
    return true;
}

} // namespace quintor::sim
