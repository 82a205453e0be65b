#include "core/reference/reader_collector.h"

#include <gtest/gtest.h>

using namespace quintor;
using namespace quintor::test;

namespace {

// A lobby as the league writes it: an icon, indented subsections, LF ends, defaults left out.
const std::string kLobbyReply = R"([Clonk Rage]
Version=4,9,10,7,330
MOTD=Willkommen in der Liga


[Reference]
Icon=12
Title="Gr\374ne Wiese"
State=Lobby
CtrlMode=1
Time=0
Frame=0
StartTime=0
LeaguePerformance=0
Comment="Nur f\374r Profis"
JoinAllowed=true
ObservingAllowed=true
PasswordNeeded=true
RegJoinOnly=false
AddressCount=2
Address=TCP:198.51.100.140:11112,UDP:198.51.100.140:11113
Game="Clonk Rage"
Version=4,9,10,7
Build=330
RandomSeed=12345
StartupPlayerCount=0
MaxPlayers=4
ControlRate=2
Rules=FGRV=1;REAC=1
Goals=MELE=1
League="Melee","Settle"

  [Scenario]
  Type=Scenario
  ID=1
  FileSize=120321
  FileCRC=1234567
  Filename="Melees.c4f\\Greed.c4s"
  Author="RedWolf Design"

  [Resource]
  Type=Definitions
  ID=2
  Loadable=false
  Filename="Objects.c4d"
  Author="RedWolf Design"

  [Resource]
  Type=Material
  ID=3
  FileSize=4711
  Filename="Sch\366ne Erde.c4m"
  Author="Zo\353\61"

  [PlayerInfos]
  LastPlayerID=2

    [Client]
    ID=0
    Flags=Initial

      [Player]
      Name="Zo\353\61"
      Filename="Zo\353\61.c4p"
      ID=1
      Type=User
      Color=16711680

      [Player]
      Name="Bot"
      ID=2
      Type=Script
      Color=255

  [Teams]

    [Team]
    id=1
    Name=Team 1

  [Client]
  ID=0
  Activated=true
  Name="Host"
  CUID="12345"
  Nick="Host"

  [Client]
  ID=1
  Activated=true
  Name="Gast"
  Nick="Gast"

  [Client]
  ID=2
  Observer=true
  Name="Zuschauer"
  Nick="Zuschauer"
OfficialServer=true
GameId=4711
)";

// A running game of a newer host: no icon, so Title= and State= stand on lines +1 and +2.
const std::string kRunningIconZero = R"(

[Reference]
Title="Minenjagd"
State=Running
CtrlMode=1
Time=300
AddressCount=1
Address=TCP:203.0.113.7:11112
Game="Clonk Rage"
Version=4,9,10,7
MaxPlayers=8
ControlRate=3

  [Client]
  ID=0
  Activated=true
  Name="Veranstalter"
  Nick="Veranstalter"
OfficialServer=false
Seed=99
)";

} // namespace

TEST(ReferenceReader, ReadsAWholeLeagueReply)
{
    Collector collector;
    collector.reader.read(kLobbyReply);
    EXPECT_TRUE(collector.games.empty()) << "the last game waits for the next header or the finish";
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 1u);
    const GameRecord& game = collector.games[0];

    EXPECT_EQ(game.Title, "Gr\xFCne Wiese");
    EXPECT_EQ(game.Status, "Lobby");
    EXPECT_EQ(game.Comment, "Nur f\xFCr Profis");
    EXPECT_TRUE(game.PasswordNeeded);
    EXPECT_EQ(game.AddressCount, 2);
    EXPECT_EQ(game.Address, "TCP:198.51.100.140:11112,UDP:198.51.100.140:11113");
    EXPECT_EQ(game.IPs, (std::vector<std::string>{"198.51.100.140", "198.51.100.140"}));
    EXPECT_EQ(game.Game, "Clonk Rage");
    EXPECT_EQ(game.Version, "4,9,10,7");
    EXPECT_EQ(game.MaxPlayers, 4);
    EXPECT_EQ(game.ControlRate, "2");
    EXPECT_EQ(game.League, "Melee\",\"Settle"); // one quote off each end, as with every value
    EXPECT_TRUE(game.OfficialServer);
    EXPECT_EQ(game.StartTime, "0");

    // The scenario is no resource; the definitions have no size; the material's keys run up to "[PlayerInfos]".
    ASSERT_EQ(game.Resources.size(), 2u);
    EXPECT_EQ(game.Resources[0].Type, "Definitions");
    EXPECT_EQ(game.Resources[0].Filename, "Objects.c4d");
    EXPECT_EQ(game.Resources[0].Author, "RedWolf Design");
    EXPECT_EQ(game.Resources[0].FileSize, 0);
    EXPECT_FALSE(game.Resources[0].Loadable);
    EXPECT_TRUE(game.Resources[1].Loadable); // the game writes "Loadable=" only as Loadable=false
    EXPECT_EQ(game.Resources[1].Type, "Material");
    EXPECT_EQ(game.Resources[1].Filename, "Sch\xF6ne Erde.c4m");
    EXPECT_EQ(game.Resources[1].FileSize, 4711);
    EXPECT_EQ(game.Resources[1].Author, "Zo\xEB"
                                        "1");

    // Players are read by position; a script player has no file name, so its keys are looked up instead.
    ASSERT_EQ(game.PlayerCount, 2);
    ASSERT_EQ(game.Players.size(), 2u);
    EXPECT_EQ(game.Players[0].Name, "Zo\xEB"
                                    "1");
    EXPECT_EQ(game.Players[0].Filename, "Zo\xEB"
                                        "1.c4p");
    EXPECT_EQ(game.Players[0].ID, 1);
    EXPECT_EQ(game.Players[0].Flags, "Keine");
    EXPECT_EQ(game.Players[1].Name, "Bot");
    EXPECT_EQ(game.Players[1].Filename, "");
    EXPECT_EQ(game.Players[1].Flags, "Keine");
    EXPECT_EQ(game.Players[1].ID, 2);

    // The client list: the host has a CUID, the guest none, the observer is not activated; the clients of
    // "[PlayerInfos]" are not activated either.
    EXPECT_EQ(game.Hoster, "Host");
    EXPECT_EQ(game.Clients, 2);
    EXPECT_EQ(game.Emptys, 1);

    EXPECT_EQ(collector.versions, (std::vector<std::string>{"4,9,10,7,330"}));
    EXPECT_EQ(collector.reader.version(), "4,9,10,7,330");
    const ParseCounters& counters = collector.reader.counters();
    EXPECT_EQ(counters.references, 1);
    EXPECT_EQ(counters.players, 2);
    EXPECT_EQ(counters.clients, 2);
    EXPECT_EQ(counters.emptys, 1);
}

TEST(ReferenceReader, TitleAndStateWithoutIconLine)
{
    const auto games = readAll(kRunningIconZero);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "Minenjagd");
    EXPECT_EQ(games[0].Status, "Laufend");
    EXPECT_EQ(games[0].Hoster, "Veranstalter");
    EXPECT_EQ(games[0].IPs, std::vector<std::string>{"203.0.113.7"});
    EXPECT_FALSE(games[0].OfficialServer);
}

TEST(ReferenceReader, TitleAndStateOfNewerHostsStandFarDown)
{
    const std::string reply = "[Reference]\nState=Paused\nCtrlMode=1\nTime=10\nComment=\"Hallo\"\nGame=\"Clonk "
                              "Rage\"\nGoals=MELE=1\nLeagueAddress=\nTitle=\"Sp\\344te Runde\"\n\n  [Scenario]\n"
                              "  Title=\"Nicht dieser\"\n";
    const auto games = readAll(reply);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "Sp\xE4te Runde");
    EXPECT_EQ(games[0].Status, "Pause");
    EXPECT_EQ(games[0].Comment, "Hallo");
}

// A title of every length up to past two blocks of sixteen, with an escape, a tab or (tag stripping on) a tag at every
// place in it: wherever it stands, the title is cleaned up; without one it stays as written.
TEST(ReferenceReader, AMarkAnywhereInAValueOfAnyLengthIsCleanedUp)
{
    const auto titleOf = [](const std::string& title, bool tagparse) {
        const auto games = readAll("[Reference]\nTitle=\"" + title + "\"\nState=Lobby\n", tagparse);
        return games.size() == 1 ? games[0].Title : "(no game)";
    };
    for (std::size_t length = 1; length <= 40; ++length) {
        const std::string plain(length, 'a');
        EXPECT_EQ(titleOf(plain, true), plain);
        for (std::size_t at = 0; at < length; ++at) {
            std::string escaped = plain, tabbed = plain, tagged = plain;
            escaped.replace(at, 1, "\\366");
            tabbed[at] = '\t';
            tagged.replace(at, 1, "<i>");
            EXPECT_EQ(titleOf(escaped, false), std::string(at, 'a') + '\xF6' + std::string(length - at - 1, 'a'));
            EXPECT_EQ(titleOf(tabbed, false), std::string(at, 'a') + ' ' + std::string(length - at - 1, 'a'));
            EXPECT_EQ(titleOf(tagged, true), std::string(length - 1, 'a')) << length << " " << at;
        }
    }
}

TEST(ReferenceReader, TitleAndStateFallBackToLinesTwoAndThree)
{
    // Neither key before the first subsection: the fixed lines are read, whatever they hold. A "Title=" inside
    // a subsection does not count.
    const auto games = readAll("[Reference]\nIcon=3\nRoh\nRunning\n[Scenario]\nTitle=Drinnen\nState=Lobby\n");
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "oh"); // a line without "=" loses its first character
    EXPECT_EQ(games[0].Status, "unning");

    // One key found, the other from its fixed line; status takes no clean-up.
    const auto mixed = readAll("[Reference]\nIcon=3\nName=\"x\"\nState=\"Lobby\"\nTitle=\"Echt\"\n");
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_EQ(mixed[0].Title, "Echt");
    EXPECT_EQ(mixed[0].Status, "\"Lobby\"");

    // With the title on line +2 the status is line +3, whatever it holds.
    const auto fixed = readAll("[Reference]\nIcon=3\nTitle=\"Fest\"\nCtrlMode=1\nState=Running\n");
    ASSERT_EQ(fixed.size(), 1u);
    EXPECT_EQ(fixed[0].Title, "Fest");
    EXPECT_EQ(fixed[0].Status, "1");

    const auto atEnd = readAll("[Reference]");
    ASSERT_EQ(atEnd.size(), 1u);
    EXPECT_EQ(atEnd[0].Title, "");
    EXPECT_EQ(atEnd[0].Status, "");
}

TEST(ReferenceReader, ThreeGamesCompleteInHeaderOrder)
{
    Collector collector;
    collector.reader.read("[Reference]\nIcon=1\nTitle=A\nState=Lobby\n\n\n[Reference]\nIcon=1\nTitle=B\nState=Lobby\n"
                          "\n\n[Reference]   \nIcon=1\nTitle=C\nState=Lobby\n[reference]\nTitle=D\n");
    ASSERT_EQ(collector.games.size(), 2u);
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 3u);
    EXPECT_EQ(collector.games[0].Title, "A");
    EXPECT_EQ(collector.games[1].Title, "B");
    EXPECT_EQ(collector.games[2].Title, "C");
    EXPECT_EQ(collector.reader.counters().references, 3);
    collector.reader.finish();
    EXPECT_EQ(collector.games.size(), 3u);
}

TEST(ReferenceReader, KeysRunThroughSubsectionsAndTheLastOneWins)
{
    const auto games = readAll("[Reference]\nIcon=1\nTitle=T\nState=Lobby\nComment=\"erster\"\nStartTime=1\n"
                               "  [Client]\n  ID=0\n  Activated=true\n  Name=\"H\"\n      [Player]\n      Name=\"P\"\n"
                               "      ID=1\n      Comment=\"zweiter\"\nStartTime=\"<b>2\\n\"\n[Reference]x\n"
                               "Comment=\"fremd\"\nLeague=\"Melee\"\nStartTime=3\n[Reference]\nTitle=Ohne\n");
    ASSERT_EQ(games.size(), 2u); // "[Reference]x" is no header, but it ends the game's keys
    EXPECT_EQ(games[0].Comment, "zweiter");
    EXPECT_EQ(games[0].League, "Keine");
    EXPECT_EQ(games[0].StartTime, "\"<b>2\\n\""); // the start time as written: no clean-up
    EXPECT_EQ(games[1].StartTime, std::nullopt);
}

TEST(ReferenceReader, AliasesAndTagsApplyWhereTheyBelong)
{
    const TextList aliases({"Zo\xEB=Die Zo\xEB", "F.c4p=Datei", "Joined=Dabei", "Titel=Kein Alias"});
    const auto games = readAll("[Reference]\nIcon=1\nTitle=\"<c ff0000>Titel</c>\"\nState=Lobby\n"
                               "[Player]\nName=\"<b>Zo\\353</b>\"\nFilename=\"F.c4p\"\nFlags=Joined\nID=3\n",
                               true, aliases);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "Titel"); // tags stripped, the game's own texts are not aliased
    ASSERT_EQ(games[0].Players.size(), 1u);
    EXPECT_EQ(games[0].Players[0].Name, "Die Zo\xEB");
    EXPECT_EQ(games[0].Players[0].Filename, "Datei");
    EXPECT_EQ(games[0].Players[0].Flags, "Dabei");
    EXPECT_EQ(games[0].Players[0].ID, 3);
}

TEST(ReferenceReader, TitleHostCommentAndNamesKeepTheirColoursWhenTagsAreStripped)
{
    const std::string reply = "[Reference]\nIcon=1\nTitle=\"<c ff8000>Feuer</c>land\"\nState=Lobby\n"
                              "Comment=\"<i>Nur</i> Profis\"\n"
                              "[Player]\nName=\"<c 00ff00>Zo\\353</c>\"\nFilename=\"Z.c4p\"\nID=1\n"
                              "[Player]\nName=\"<c 0000ff>Sven</c>\"\nFilename=\"S.c4p\"\nID=2\n"
                              "[Client]\nID=0\nActivated=true\nName=\"<c 00ff00>Zo\\353\"\nCUID=\"1\"\n";
    // An alias is the user's own text: the host's colours were for another one.
    const auto games = readAll(reply, true, TextList({"Sven=Der Sven"}));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].TitleSpans, (TextSpans{{0, 5, 0xFF8000}}));
    EXPECT_EQ(games[0].CommentSpans, (TextSpans{{0, 3, std::nullopt, true}}));
    EXPECT_EQ(games[0].HosterSpans, (TextSpans{{0, 3, 0x00FF00}}));
    ASSERT_EQ(games[0].Players.size(), 2u);
    EXPECT_EQ(games[0].Players[0].NameSpans, (TextSpans{{0, 3, 0x00FF00}}));
    EXPECT_EQ(games[0].Players[1].Name, "Der Sven");
    EXPECT_EQ(games[0].Players[1].NameSpans, TextSpans());

    // With the tags kept, nothing is coloured.
    const auto raw = readAll(reply, false);
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(raw[0].Title, "<c ff8000>Feuer</c>land");
    EXPECT_TRUE(raw[0].TitleSpans.empty() && raw[0].HosterSpans.empty() && raw[0].CommentSpans.empty());
    EXPECT_TRUE(raw[0].Players[0].NameSpans.empty());
}

TEST(ReferenceReader, ResourceKeysRunIntoTheNextGame)
{
    const auto games = readAll("[Reference]\nTitle=A\n[Resource]\nType=Definitions\nFilename=\"a.c4d\"\n"
                               "[Reference]\nTitle=B\nType=Scenario\nAuthor=\"Fremd\"\nLoadable=true\n"
                               "[PlayerInfos]\nType=Zu spaet\n");
    ASSERT_EQ(games.size(), 2u);
    ASSERT_EQ(games[0].Resources.size(), 1u);
    EXPECT_EQ(games[0].Resources[0].Type, "Scenario");
    EXPECT_EQ(games[0].Resources[0].Filename, "a.c4d");
    EXPECT_EQ(games[0].Resources[0].Author, "Fremd");
    EXPECT_TRUE(games[0].Resources[0].Loadable);
    EXPECT_TRUE(games[1].Resources.empty());
}

TEST(ReferenceReader, FlagValuesInAnyLetterCaseOrAsNumbers)
{
    for (const std::string value : {"TRUE", "1", "\"true\"", "-3"}) {
        const auto games = readAll("[Reference]\nPasswordNeeded=" + value + "\nOfficialServer=" + value + "\n");
        ASSERT_EQ(games.size(), 1u);
        EXPECT_TRUE(games[0].PasswordNeeded) << value;
        EXPECT_TRUE(games[0].OfficialServer) << value;
    }
    const auto off = readAll("[Reference]\nPasswordNeeded=0\nOfficialServer=False\n");
    EXPECT_FALSE(off.at(0).PasswordNeeded || off.at(0).OfficialServer);
}

TEST(ReferenceReader, SectionsBeforeTheFirstGameCountNowhere)
{
    Collector collector;
    collector.reader.read("[Clonk Rage]\nVersion=4,9,10,7,330\n[Client]\nID=0\nActivated=true\nName=\"Niemand\"\n"
                          "[Player]\nName=\"X\"\nID=1\n[Resource]\nFileSize=kaputt\n[Reference]\nTitle=Erst\n");
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 1u);
    EXPECT_EQ(collector.games[0].Hoster, "ERR");
    EXPECT_TRUE(collector.games[0].Players.empty());
    EXPECT_TRUE(collector.games[0].Resources.empty());
    const ParseCounters& counters = collector.reader.counters();
    EXPECT_EQ(counters.players + counters.clients + counters.emptys, 0);
    EXPECT_EQ(counters.references, 1);
}
