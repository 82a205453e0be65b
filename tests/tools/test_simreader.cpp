// The simulated replies read by the program's own reference reader: every game comes back with the counts and
// values the league put in, its texts as their hosts typed them. Guards both sides: a simulator that drifts from
// the real form, and a reader that trips over real replies.
#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "reference/textroutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quintor::sim {
namespace {

// A text as the list shows it: control characters become blanks.
std::string typed(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    return text;
}

std::vector<GameRecord> readReply(const std::string& reply, ParseCounters& counters)
{
    std::vector<GameRecord> games;
    ReferenceReader reader(false, TextList(),
                           {[&](GameRecord&& entry) { games.push_back(std::move(entry)); }, [](const std::string&) {},
                            [](const std::string& title, const std::string& message) {
                                ADD_FAILURE() << "skipped " << title << ": " << message;
                            }});
    reader.read(reply);
    reader.finish();
    EXPECT_FALSE(reader.abandoned());
    counters = reader.counters();
    return games;
}

void expectGameAsWritten(const SimGame& game, const GameRecord& entry)
{
    EXPECT_EQ(entry.Title, typed(game.title));
    EXPECT_EQ(entry.Comment, game.comment.empty() ? "Kein Kommentar" : typed(game.comment));
    EXPECT_EQ(entry.MaxPlayers, game.maxPlayers);
    EXPECT_EQ(entry.PasswordNeeded, game.passwordNeeded);
    EXPECT_EQ(entry.OfficialServer, game.official);
    EXPECT_EQ(entry.Game, "Clonk Rage");
    EXPECT_EQ(entry.ControlRate, std::to_string(game.controlRate));

    // The host is the first activated client, an observing one too; newer hosts write no user IDs.
    std::string hoster = "ERR";
    int activated = 0, emptys = 0;
    for (const SimClient& client : game.clients) {
        if (!client.activated) continue;
        if (activated++ == 0) hoster = typed(client.name);
        if (client.cuid.empty() || game.newerHost) ++emptys;
    }
    EXPECT_EQ(entry.Hoster, hoster);
    EXPECT_EQ(entry.Clients, activated);
    EXPECT_EQ(entry.Emptys, emptys);

    // Every address counts, with "AddressCount=" and, for newer hosts, without it.
    std::vector<std::string> hosts;
    for (const SimAddress& address : game.addresses)
        hosts.push_back(address.host);
    EXPECT_EQ(entry.IPs, hosts);

    std::vector<const SimPlayer*> players;
    for (const SimClient& client : game.clients)
        for (const SimPlayer& player : client.players)
            players.push_back(&player);
    EXPECT_EQ(entry.PlayerCount, static_cast<int>(players.size()));
    ASSERT_EQ(entry.Players.size(), players.size());
    for (std::size_t p = 0; p < players.size(); ++p) {
        const SimPlayer& player = *players[p];
        SCOPED_TRACE("player " + player.name);
        EXPECT_EQ(entry.Players[p].Name, typed(player.name));
        EXPECT_EQ(entry.Players[p].Filename, typed(player.filename));
        EXPECT_EQ(entry.Players[p].Flags, player.flags.empty() ? "Keine" : player.flags);
        EXPECT_EQ(entry.Players[p].ID, player.id);
    }

    ASSERT_EQ(entry.Resources.size(), game.resources.size());
    for (std::size_t r = 0; r < game.resources.size(); ++r) {
        EXPECT_EQ(entry.Resources[r].Filename, typed(game.resources[r].filename));
        EXPECT_EQ(entry.Resources[r].Author, typed(game.resources[r].author));
        EXPECT_EQ(entry.Resources[r].Type, game.resources[r].type);
        EXPECT_EQ(entry.Resources[r].Loadable, game.resources[r].loadable);
    }
}

TEST(SimRepliesThroughTheReader, EveryGameComesBackAsItsHostTypedIt)
{
    SimWorld world(21, 40);
    world.addHostileGame();
    for (int step = 0; step < 25; ++step, world.step()) {
        SCOPED_TRACE("step " + std::to_string(step));
        ParseCounters counters;
        const std::vector<GameRecord> games = readReply(generateReply(world), counters);
        ASSERT_EQ(games.size(), world.games().size() + 1);
        EXPECT_EQ(counters.references, static_cast<int>(games.size()));

        expectGameAsWritten(*world.hostileGame(), games[0]);
        int players = world.hostileGame()->playerCount();
        for (std::size_t i = 0; i < world.games().size(); ++i) {
            SCOPED_TRACE("game " + std::to_string(world.games()[i].gameId));
            expectGameAsWritten(world.games()[i], games[i + 1]);
            players += world.games()[i].playerCount();
        }
        EXPECT_EQ(counters.players, players);
    }
}

TEST(SimRepliesThroughTheReader, TheHostileTitleIsPlainTextOnOneLine)
{
    SimWorld world(1, 0);
    world.addHostileGame();
    const std::string reply = generateReply(world);
    EXPECT_NE(reply.find("Title=\"<img src=/dev/zero><c ff0000>Pro</c> &amp; <b>Zeile</b>\\012zwei\\000Ende\"\n"),
              std::string::npos);
    ParseCounters counters;
    const std::vector<GameRecord> games = readReply(reply, counters);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "<img src=/dev/zero><c ff0000>Pro</c> &amp; <b>Zeile</b> zwei Ende");
    EXPECT_EQ(games[0].Hoster, "<b>Pro</b>");
}

TEST(SimRepliesThroughTheReader, EscapedValuesReadBackAsWritten)
{
    // The game's escaping and the reader's decoding meet on every byte, also before digits, which a numeric
    // escape must not swallow, and before letters that would start an escape of their own.
    for (int b = 1; b < 256; ++b) {
        for (const char* tail : {"", "0", "7", "9", "x", "a", "\\", "\""}) {
            const std::string raw = std::string(1, static_cast<char>(b)) + tail;
            EXPECT_EQ(decodeValue("\"" + escapeValue(raw) + "\"", false), typed(raw)) << "byte " << b << tail;
        }
    }
}

TEST(SimRepliesThroughTheReader, TheDemoListShowsEveryKindOfName)
{
    // The run command's league (seed 1, 12 games) at its start.
    ParseCounters counters;
    const std::vector<GameRecord> games = readReply(generateReply(SimWorld(1, 12)), counters);
    auto any = [&](auto predicate) { return std::any_of(games.begin(), games.end(), predicate); };
    auto anyPlayer = [&](auto predicate) {
        return any([&](const GameRecord& g) { return std::any_of(g.Players.begin(), g.Players.end(), predicate); });
    };
    auto highThenDigit = [](const std::string& text) {
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (static_cast<unsigned char>(text[i - 1]) >= 0x80 && text[i] >= '0' && text[i] <= '9') return true;
        }
        return false;
    };
    EXPECT_TRUE(any([](const GameRecord& g) { return g.Title.find('"') != std::string::npos; })) << "quotes";
    EXPECT_TRUE(any([](const GameRecord& g) { return g.Title.find('\xE4') != std::string::npos; })) << "umlauts";
    EXPECT_TRUE(anyPlayer([&](const Player& p) { return highThenDigit(p.Name); })) << "digit after an umlaut";
    EXPECT_TRUE(any([](const GameRecord& g) {
        return std::any_of(g.Resources.begin(), g.Resources.end(),
                           [](const Resource& r) { return r.Filename.str().find('\\') != std::string::npos; });
    })) << "backslash in a file name";
    EXPECT_TRUE(any([](const GameRecord& g) { return g.Hoster == "Liga-Server"; })) << "observing host";
    EXPECT_TRUE(anyPlayer([](const Player& p) { return p.Filename.empty(); })) << "computer player";
    EXPECT_TRUE(any([](const GameRecord& g) {
        for (std::size_t i = 0; i < g.Players.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (g.Players[i].Name == g.Players[j].Name) return true;
        return false;
    })) << "player after a name clash";
    EXPECT_TRUE(any([](const GameRecord& g) {
        return g.AddressCount == 0 &&
               std::any_of(g.IPs.begin(), g.IPs.end(), [](std::string_view ip) { return ip.find(':') != ip.npos; });
    })) << "newer host with an IPv6 address";
}

} // namespace
} // namespace quintor::sim
