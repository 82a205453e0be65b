// The simulated replies read by the program's own reference reader: every game comes back with
// the counts and values the league put in. Guards both sides: a simulator that
// drifts from the real form, and a reader that trips over real replies.
#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "reference/textroutines.h"

#include <gtest/gtest.h>

#include <vector>

namespace quintor::sim {
namespace {

// What the reader makes of a quoted value: the program's own clean-up of the written form.
std::string cleaned(const std::string& raw)
{
    return cleanvalue("\"" + escapeValue(raw) + "\"", false);
}

std::vector<TGameEntry> readReply(const std::string& reply, ParseCounters& counters)
{
    std::vector<TGameEntry> games;
    ReferenceReader reader(false, TextList(),
                           {[&](TGameEntry&& entry) { games.push_back(std::move(entry)); }, [](const std::string&) {}});
    reader.read(reply);
    reader.finish();
    EXPECT_FALSE(reader.abandoned());
    counters = reader.counters();
    return games;
}

TEST(SimRepliesThroughTheReader, EveryGameComesBackWithItsValues)
{
    SimWorld world(21, 40);
    int checkedTitles = 0;
    for (int step = 0; step < 25; ++step, world.step()) {
        SCOPED_TRACE("step " + std::to_string(step));
        ParseCounters counters;
        const std::vector<TGameEntry> games = readReply(generateReply(world), counters);
        ASSERT_EQ(games.size(), world.games().size());
        EXPECT_EQ(counters.references, static_cast<int>(games.size()));

        int players = 0;
        for (std::size_t i = 0; i < games.size(); ++i) {
            const SimGame& game = world.games()[i];
            const TGameEntry& entry = games[i];
            SCOPED_TRACE("game " + std::to_string(game.gameId));
            int activated = 0;
            for (const SimClient& client : game.clients)
                activated += client.activated ? 1 : 0;
            players += game.playerCount();

            EXPECT_EQ(entry.PlayerCount, game.playerCount());
            EXPECT_EQ(entry.MaxPlayers, game.maxPlayers);
            EXPECT_EQ(entry.Clients, activated);
            EXPECT_EQ(entry.PasswordNeeded, game.passwordNeeded);
            EXPECT_EQ(entry.OfficialServer, game.official);
            EXPECT_EQ(entry.Game, "Clonk Rage");
            EXPECT_EQ(entry.ControlRate, std::to_string(game.controlRate));
            EXPECT_EQ(entry.Resources.size(), game.resources.size());
            EXPECT_EQ(entry.Comment, game.comment.empty() ? "Kein Kommentar" : cleaned(game.comment));
            // The title stands where the reader looks only when the host writes Icon and Title first.
            if (game.icon != 0 && !game.newerHost) {
                EXPECT_EQ(entry.Title, cleaned(game.title));
                ++checkedTitles;
            }
            if (!game.newerHost) {
                EXPECT_EQ(entry.AddressCount, static_cast<int>(game.addresses.size()));
            }
        }
        EXPECT_EQ(counters.players, players);
    }
    EXPECT_GT(checkedTitles, 100);
}

} // namespace
} // namespace quintor::sim
