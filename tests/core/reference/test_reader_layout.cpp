// Players, clients and addresses as hosts write them: the fixed lines where the layout has them, the moved lines
// of a renamed or computer player and of an observing host, and the address lists of classic and newer hosts.
#include "core/reference/reader_collector.h"

#include <gtest/gtest.h>

using namespace quintor;
using namespace quintor::test;

TEST(ReferenceReader, AddressesAreCutOnlyWhenTheCountComesFirst)
{
    const auto after = readAll("[Reference]\nAddress=A:B:C,D:E:F\nAddressCount=2\n");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(after[0].IPs.empty());
    EXPECT_EQ(after[0].AddressCount, 2);

    const auto before = readAll("[Reference]\nAddressCount=2\nAddress=A:B:C,D:E:F\n");
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].IPs, (std::vector<std::string>{"B", "E"}));
}

TEST(ReferenceReader, NewerHostsAddressesWithoutACount)
{
    // Quoted addresses, IPv6 in brackets, no "AddressCount=" anywhere in the game: every entry counts.
    const auto newer = readAll("[Reference]\nIcon=1\nTitle=\"T\"\nState=Lobby\n"
                               "Address=TCP:\"198.51.100.9:11112\",UDP:\"198.51.100.9:11113\","
                               "TCP:\"[2001:db8:a::5]:11112\"\nGame=\"Clonk Rage\"\n");
    ASSERT_EQ(newer.size(), 1u);
    EXPECT_EQ(newer[0].IPs, (std::vector<std::string>{"198.51.100.9", "198.51.100.9", "2001:db8:a::5"}));
    EXPECT_EQ(newer[0].AddressCount, 0);

    // A count anywhere in the game, even after the address, means the classic rule: here nothing.
    const auto late = readAll("[Reference]\nAddress=TCP:\"198.51.100.9:11112\"\n[Client]\nAddressCount=1\n");
    ASSERT_EQ(late.size(), 1u);
    EXPECT_TRUE(late[0].IPs.empty());
}

TEST(ReferenceReader, ClientsCountByTheirFixedLines)
{
    struct Case {
        std::string clients;
        std::string hoster;
        int clientCount, emptys;
    };
    const std::vector<Case> cases = {
        {"", "ERR", 0, 0},
        {"[Client]\nID=0\nActivated=false\nName=\"Erster\"\nNick=x\n", "Erster", 1, 1}, // only the beginning counts
        {"[Client]\nID=0\nActivated=true\nName=\"Erster\"\nCUID=\"1\"\n", "Erster", 1, 0},
        {"[Client]\nID=0\nActivated=true\nName=\"Erster\"\nXCUID=1\n", "Erster", 1, 0}, // "CUID=" anywhere
        {"[Client]\nID=0\nName=\"Erster\"\nActivated=true\n", "ERR", 0, 0},
        {"[Client]\nID=0\nActivated=true\nName=\"<b>Erster</b>\"\nCUID=1\n[Client]\nID=1\nActivated=true\n"
         "Name=\"Zweiter\"\n",
         "Erster", 2, 1},
    };
    for (const auto& c : cases) {
        Collector collector(true);
        collector.reader.read("[Reference]\nTitle=T\nState=Lobby\n" + c.clients);
        collector.reader.finish();
        ASSERT_EQ(collector.games.size(), 1u);
        EXPECT_EQ(collector.games[0].Hoster, c.hoster) << c.clients;
        EXPECT_EQ(collector.games[0].Clients, c.clientCount) << c.clients;
        EXPECT_EQ(collector.games[0].Emptys, c.emptys) << c.clients;
        EXPECT_EQ(collector.reader.counters().clients, c.clientCount);
        EXPECT_EQ(collector.reader.counters().emptys, c.emptys);
    }
}

TEST(ReferenceReader, PlayerIdFromItsLineOrLeniently)
{
    struct Case {
        std::string lines;
        std::string flags;
        std::int32_t id;
    };
    const std::vector<Case> cases = {
        {"ID=7\nTeam=1\n", "Keine", 7},
        {"Flags=Joined|Removed\nID=12a\n", "Joined|Removed", 12},
        {"Flags=Joined\nID=-5\n", "Joined", -5},
        {"Flags=Joined\nID=$10\n", "Joined", 16},
        {"Flags=Joined\nID=abc\n", "Joined", 0},
        {"Flags=Joined\nID=99999999999x\n", "Joined", 2147483647},
        {"Flags=Joined\n", "Joined", 0},
        {"", "", 0},                      // line +3 empty: empty flags, as the fixed layout reads it
        {"Type=User\nID=3\n", "User", 3}, // line +3 holds whatever stands there as the flags
    };
    for (const auto& c : cases) {
        const auto games = readAll("[Reference]\n[Player]\nName=\"N\"\nFilename=\"F.c4p\"\n" + c.lines);
        ASSERT_EQ(games.size(), 1u);
        ASSERT_EQ(games[0].Players.size(), 1u);
        EXPECT_EQ(games[0].Players[0].Flags, c.flags) << c.lines;
        EXPECT_EQ(games[0].Players[0].ID, c.id) << c.lines;
    }
}

TEST(ReferenceReader, ShiftedPlayerAndObservingHostLines)
{
    // A renamed player has "ForcedName=" before its file name; an observing host (the official server's) has
    // "Observer=" before its name; a registered observer has its CUID one line further down.
    const auto games = readAll("[Reference]\nTitle=\"T\"\nState=Lobby\n"
                               "[Player]\nName=\"Hans\"\nForcedName=\"Hans (2)\"\nFilename=\"Hans.c4p\"\n"
                               "Flags=Joined\nID=4\nType=User\n"
                               "[Client]\nID=0\nActivated=true\nObserver=true\nName=\"Liga\"\nNick=\"Liga\"\n"
                               "[Client]\nID=1\nActivated=true\nObserver=true\nName=\"Gast\"\nCUID=\"77\"\n");
    ASSERT_EQ(games.size(), 1u);
    ASSERT_EQ(games[0].Players.size(), 1u);
    EXPECT_EQ(games[0].Players[0].Name, "Hans");
    EXPECT_EQ(games[0].Players[0].Filename, "Hans.c4p");
    EXPECT_EQ(games[0].Players[0].Flags, "Joined");
    EXPECT_EQ(games[0].Players[0].ID, 4);
    EXPECT_EQ(games[0].Hoster, "Liga");
    EXPECT_EQ(games[0].Clients, 2);
    EXPECT_EQ(games[0].Emptys, 1);
}

TEST(ReferenceReader, ShiftedPlayersNeverFail)
{
    // Without "Filename=" on line +2 the keys come from the player's own lines, up to the next header; an ID
    // that is no number gives its leading digits.
    struct Case {
        std::string lines;
        std::string filename, flags;
        std::int32_t id;
    };
    const std::vector<Case> cases = {
        {"ID=12x\nType=Script\n", "", "Keine", 12},
        {"ID=abc\n", "", "Keine", 0},
        {"Type=Script\n", "", "Keine", 0},
        {"ForcedName=\"N (2)\"\nFilename=\"N.c4p\"\nID=5\n[Player]\nFlags=Fremd\n", "N.c4p", "Keine", 5},
    };
    for (const auto& c : cases) {
        Collector collector;
        collector.reader.read("[Reference]\n[Player]\nName=\"N\"\n" + c.lines);
        collector.reader.finish();
        ASSERT_EQ(collector.games.size(), 1u) << c.lines;
        ASSERT_FALSE(collector.games[0].Players.empty()) << c.lines;
        const Player& player = collector.games[0].Players[0];
        EXPECT_EQ(player.Name, "N") << c.lines;
        EXPECT_EQ(player.Filename, c.filename) << c.lines;
        EXPECT_EQ(player.Flags, c.flags) << c.lines;
        EXPECT_EQ(player.ID, c.id) << c.lines;
        EXPECT_TRUE(collector.skipped.empty()) << c.lines;
    }
}

TEST(ReferenceReader, OnlyAnObservingHostMovesTheClientLines)
{
    // Any other line +3 is the name and line +4 the user ID test, whatever keys they hold.
    const auto games = readAll("[Reference]\nTitle=T\nState=Lobby\n"
                               "[Client]\nID=0\nActivated=true\nNick=\"Spitzname\"\nName=\"Echt\"\nCUID=\"5\"\n");
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Hoster, "Spitzname");
    EXPECT_EQ(games[0].Emptys, 1);
}
