// The reader's state across the replies of one refresh, how replies are cut into lines, and what bad input does.
#include "core/reference/reader_collector.h"
#include "reference/replylines.h"
#include "reference/textroutines.h"
#include "settings/errors.h"

#include <gtest/gtest.h>
#include <iterator>

using namespace quintor;
using namespace quintor::test;

namespace {

std::string game(const std::string& title, const std::string& extra = "")
{
    return "\n\n[Reference]\nIcon=1\nTitle=\"" + title + "\"\nState=Lobby\nMaxPlayers=4\n" + extra +
           "\n  [Client]\n  ID=0\n  Activated=true\n  Name=\"Host " + title + "\"\n  Nick=\"h\"\n";
}

const std::string kHeader = "[Clonk Rage]\nVersion=4,9,10,7,330\nMOTD=Hallo\n";

} // namespace

TEST(ReaderState, RepliesOfOneRefreshShareThePendingGame)
{
    Collector collector;
    collector.reader.read(kHeader + game("A") + game("B"), "http://eins");
    ASSERT_EQ(collector.games.size(), 1u);

    // The second server's reply starts with players: they still belong to B. Its keys do not, since a game's
    // keys are looked for in its own reply only.
    collector.reader.read("[Player]\nName=\"Nachz\\374gler\"\nFilename=\"n.c4p\"\nID=4\nComment=\"nicht B\"\n" +
                              std::string("[Clonk Rage]\nVersion=4.9.10.7,330\n") + game("C"),
                          "http://zwei");
    ASSERT_EQ(collector.games.size(), 2u);
    EXPECT_EQ(collector.games[1].Title, "B");
    ASSERT_EQ(collector.games[1].Players.size(), 1u);
    EXPECT_EQ(collector.games[1].Players[0].Name, "Nachz\xFCgler");
    EXPECT_EQ(collector.games[1].Comment, "Kein Kommentar");

    collector.reader.read("");
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 3u);
    EXPECT_EQ(collector.games[2].Title, "C");
    EXPECT_EQ(collector.games[2].Hoster, "Host C");
    // A game belongs to the server whose reply holds its "[Reference]".
    EXPECT_EQ(collector.games[1].Server, "http://eins");
    EXPECT_EQ(collector.games[2].Server, "http://zwei");

    EXPECT_EQ(collector.versions, (std::vector<std::string>{"4,9,10,7,330", "4.9.10.7,330"}));
    EXPECT_EQ(collector.reader.version(), "4.9.10.7,330");
    const ParseCounters& counters = collector.reader.counters();
    EXPECT_EQ(counters.references, 3);
    EXPECT_EQ(counters.players, 1);
    EXPECT_EQ(counters.clients, 3);
    EXPECT_EQ(counters.emptys, 3);
}

TEST(ReaderState, ABadNumberSkipsOnlyItsGame)
{
    struct Case {
        std::string badLines;
        std::string badText;
    };
    const std::vector<Case> cases = {
        {"MaxPlayers=viele\n", "'viele'"},
        {"AddressCount=2x\n", "'2x'"},
        {"PasswordNeeded=ja\n", "'ja'"},
        {"OfficialServer=\"\"\n", "''"},
        {"[Resource]\nFileSize=12 KB\n", "'12 KB'"},
        {"[Resource]\nLoadable=\"vielleicht\"\n", "'vielleicht'"},
        {"[Player]\nName=\"P\"\nFilename=\"P.c4p\"\nID=sieben\n", "'sieben'"},
    };
    for (const auto& c : cases) {
        // C's players and its client, counted before the bad value, are taken back with C.
        const std::string players = "[Player]\nName=\"X\"\nFilename=\"X.c4p\"\nID=1\n";
        Collector collector;
        collector.reader.read(kHeader + game("A") + game("B") + game("C", players + c.badLines) + game("D"));
        collector.reader.finish();
        EXPECT_FALSE(collector.reader.abandoned());
        ASSERT_EQ(collector.games.size(), 3u) << c.badLines;
        EXPECT_EQ(collector.games[0].Title, "A");
        EXPECT_EQ(collector.games[1].Title, "B");
        EXPECT_EQ(collector.games[2].Title, "D");
        EXPECT_EQ(collector.games[2].Hoster, "Host D");
        ASSERT_EQ(collector.skipped.size(), 1u) << c.badLines;
        EXPECT_EQ(collector.skipped[0].first, "C");
        EXPECT_NE(collector.skipped[0].second.find(c.badText), std::string::npos) << collector.skipped[0].second;
        const ParseCounters& counters = collector.reader.counters();
        EXPECT_EQ(counters.references, 3);
        EXPECT_EQ(counters.players, 0) << c.badLines;
        EXPECT_EQ(counters.clients, 3) << c.badLines;
        EXPECT_EQ(counters.emptys, 3) << c.badLines;
    }
}

TEST(ReaderState, ASkippedGameSpanningTwoRepliesCountsInNeither)
{
    // B is still pending when the second reply brings a player with a bad ID: B goes, its totals with it, and the
    // rest of its sections find no game up to C.
    Collector collector;
    collector.reader.read(game("A") + game("B"));
    collector.reader.read("[Player]\nName=\"P\"\nFilename=\"P.c4p\"\nID=x\n[Player]\nName=\"Q\"\n"
                          "Filename=\"Q.c4p\"\nID=2\n" +
                          game("C"));
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 2u);
    EXPECT_EQ(collector.games[0].Title, "A");
    EXPECT_EQ(collector.games[1].Title, "C");
    EXPECT_TRUE(collector.games[1].Players.empty());
    EXPECT_EQ(collector.skipped.size(), 1u);
    EXPECT_EQ(collector.reader.counters().references, 2);
    EXPECT_EQ(collector.reader.counters().players, 0);
    EXPECT_EQ(collector.reader.counters().clients, 2);
}

TEST(ReaderState, ABadTitleLessFirstGameIsNamedAsFarAsRead)
{
    // Newer hosts write the title late; it is read before the game's other keys, so a skipped game has a name.
    Collector collector;
    collector.reader.read("[Reference]\nState=Lobby\nMaxPlayers=4.5\nTitle=\"Sp\\344t\"\n" + game("B"));
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 1u);
    EXPECT_EQ(collector.games[0].Title, "B");
    ASSERT_EQ(collector.skipped.size(), 1u);
    EXPECT_EQ(collector.skipped[0].first, "Sp\xE4t");
    EXPECT_EQ(collector.skipped[0].second, "'4.5' ist kein g\xFCltiger Integerwert");
}

TEST(ReaderState, ACallbackThatThrowsEndsTheParseToo)
{
    int calls = 0;
    ReferenceReader reader(false, TextList(),
                           {[&](GameRecord&&) {
                                ++calls;
                                throw std::runtime_error("voll");
                            },
                            {},
                            {}});
    EXPECT_THROW(reader.read(game("A") + game("B") + game("C")), std::runtime_error);
    reader.finish();
    reader.read(game("D"));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(reader.abandoned());
}

TEST(ReaderState, ManyGamesInOneReply)
{
    std::string reply = kHeader;
    for (int i = 0; i < 20000; ++i) {
        reply += game("G" + std::to_string(i), "Comment=\"Nr. " + std::to_string(i) +
                                                   "\"\n  [Resource]\n  Type=Material\n"
                                                   "  FileSize=" +
                                                   std::to_string(i) + "\n  [PlayerInfos]\n");
    }
    Collector collector;
    collector.reader.read(reply);
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 20000u);
    EXPECT_EQ(collector.games[12345].Title, "G12345");
    EXPECT_EQ(collector.games[12345].Comment, "Nr. 12345");
    ASSERT_EQ(collector.games[12345].Resources.size(), 1u);
    EXPECT_EQ(collector.games[12345].Resources[0].FileSize, 12345);
    EXPECT_EQ(collector.reader.counters().clients, 20000);
}

TEST(ReaderState, HeadersWithoutEndDoNotMultiplyTheWork)
{
    // Every "[Resource]" and "[Reference]" scans ahead; each scan stops at the next header of its kind, so this
    // reads each line a bounded number of times.
    std::string reply;
    for (int i = 0; i < 50000; ++i)
        reply += "[Reference]\n[Resource]\nAddressCount=2000000000\nAddress=::\n";
    Collector collector;
    collector.reader.read(reply);
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 50000u);
    EXPECT_EQ(collector.games[0].IPs.size(), kMaxIPs);
}

TEST(ReaderState, RepliesWithoutGamesYieldNothing)
{
    for (const std::string reply : {"", "\n\n",
                                    "Flood protection, max. of 700 backend requests per 3600 second(s) "
                                    "reached",
                                    "[Clonk Rage]\nVersion=4,9,10,7,330\n"}) {
        Collector collector;
        collector.reader.read(reply);
        collector.reader.finish();
        EXPECT_TRUE(collector.games.empty());
        EXPECT_EQ(collector.reader.counters().references, 0);
    }
}

TEST(ReaderState, LineEndsAndTheEndOfText)
{
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        std::string reply = "[Reference]" + end + "Icon=1" + end + "Title=\"T\"" + end + "State=Running" + end +
                            "MaxPlayers=6 " + end + "\t[Client]" + end + "ID=0" + end + "Activated=true" + end +
                            "Name=\"H\"" + end;
        const auto games = readAll(reply);
        ASSERT_EQ(games.size(), 1u);
        EXPECT_EQ(games[0].Title, "T");
        EXPECT_EQ(games[0].Status, "Laufend");
        EXPECT_EQ(games[0].MaxPlayers, 6);
        EXPECT_EQ(games[0].Hoster, "H");
    }
    // A NUL ends the text.
    const auto games = readAll(std::string("[Reference]\nTitle=A\n\0[Reference]\nTitle=B\n", 41));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].Title, "A");
}

TEST(ReaderState, OverLongValuesAndHugeGamesAreCutButCounted)
{
    std::string reply = "[Reference]\nIcon=1\nTitle=\"" + std::string(10000, 'T') + "\"\nState=Lobby\n" +
                        "Comment=" + std::string(5000, 'c') + "\nAddress=";
    for (int i = 0; i < 100; ++i)
        reply += "TCP:\"10.0.0." + std::to_string(i) + ":11112\",";
    reply += "\n";
    for (int i = 0; i < 1200; ++i)
        reply += "[Resource]\nType=Material\nFileSize=" + std::to_string(i) + "\n";
    reply += "[PlayerInfos]\n";
    for (int i = 0; i < 1500; ++i)
        reply += "[Player]\nName=\"P" + std::to_string(i) + "\"\nFilename=\"P.c4p\"\nID=" + std::to_string(i) + "\n";

    Collector collector;
    collector.reader.read(reply);
    collector.reader.finish();
    ASSERT_EQ(collector.games.size(), 1u);
    const GameRecord& game = collector.games[0];
    EXPECT_EQ(game.Title, std::string(kMaxValueLength - 1, 'T')); // the cut took the closing quote too
    EXPECT_EQ(game.Comment, std::string(kMaxValueLength, 'c'));
    EXPECT_EQ(game.IPs.size(), kMaxIPs);
    EXPECT_EQ(game.IPs[63], "10.0.0.63");
    ASSERT_EQ(game.Resources.size(), kMaxResources);
    EXPECT_EQ(game.Resources.back().FileSize, 999);
    ASSERT_EQ(game.Players.size(), kMaxPlayers);
    EXPECT_EQ(game.Players.back().Name, "P999");
    EXPECT_EQ(game.PlayerCount, 1500);
    EXPECT_EQ(collector.reader.counters().players, 1500);

    // Past the limits a bad number still drops the game.
    Collector bad;
    bad.reader.read(reply + "[Player]\nName=\"Z\"\nFilename=\"Z.c4p\"\nID=zwei\n");
    bad.reader.finish();
    EXPECT_TRUE(bad.games.empty());
    EXPECT_EQ(bad.skipped.size(), 1u);
    EXPECT_EQ(bad.reader.counters().players, 0);
}

namespace {

// The lines as the plain rules cut them: breaks at CR, LF or CR LF, a NUL ends the text, no empty line after a
// break at the very end, both ends trimmed of the characters 0 to 32.
std::vector<std::string_view> plainLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::string_view line : quintor::splitLines(text)) {
        while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32)
            line.remove_prefix(1);
        while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
            line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

// The lines are cut sixty-four bytes at a time from vector masks; texts made mostly of breaks, blanks and long lines
// put every case at every place of a block: lines across blocks, CR LF across blocks, a NUL anywhere.
TEST(ReplyLines, CutAsThePlainRulesCut)
{
    const char alphabet[] = {'\r', '\n', ' ', '\t', 'a', 'b', '=', '\xE4', '\x01', '\x7F', '\xFF'};
    unsigned seed = 11;
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    std::string_view batch[5];
    ReplyLineCutter none("");
    EXPECT_TRUE(none.done());
    EXPECT_EQ(none.cut(batch, std::size(batch)), 0u) << "an empty text has no line";
    for (int round = 0; round < 400; ++round) {
        std::string text(next(300), ' ');
        const bool longLines = round % 3 == 0;
        for (char& c : text)
            c = alphabet[longLines && next(8) > 0 ? 4 + next(2) : next(sizeof alphabet)];
        if (round % 5 == 0 && !text.empty()) text[next(static_cast<unsigned>(text.size()))] = '\0';
        // Blocks without a CR or a NUL are cut a quicker way: every fifth text is long lines that hold a single CR,
        // CR LF or NUL just before, at or after the edge of two blocks.
        if (round % 5 == 1) {
            text.assign(200, 'a');
            const std::string_view rare[] = {"\r\n", "\r", std::string_view("\0", 1), "\n\r"};
            const std::string_view cut = rare[next(4)];
            text.replace(60 + next(8), cut.size(), cut);
            text[next(56)] = '\n';
        }
        std::vector<std::string_view> lines;
        splitReplyLines(text, lines);
        EXPECT_EQ(lines, plainLines(text)) << "round " << round;
        // The reader looks at an empty line's first two characters without asking its length.
        for (const std::string_view line : lines) {
            if (line.empty()) {
                EXPECT_TRUE(line.data()[0] == '\0' && line.data()[1] == '\0') << "round " << round;
            }
        }
        for (std::size_t offset = 0; offset < lines.size(); offset += 7) {
            // Cutting may start at any line (the reader goes on there after a game it read step by step).
            if (lines[offset].empty()) continue;
            const auto start = static_cast<std::size_t>(lines[offset].data() - text.data());
            std::size_t lineStart = start;
            while (lineStart > 0 && text[lineStart - 1] != '\n' && text[lineStart - 1] != '\r')
                --lineStart;
            ReplyLineCutter cutter(text, lineStart);
            std::vector<std::string_view> rest;
            while (!cutter.done())
                rest.insert(rest.end(), batch, batch + cutter.cut(batch, std::size(batch)));
            EXPECT_EQ(cutter.cut(batch, std::size(batch)), 0u) << "a cutter that is done cuts nothing more";
            EXPECT_EQ(rest,
                      std::vector<std::string_view>(lines.begin() + static_cast<std::ptrdiff_t>(offset), lines.end()))
                << "round " << round << ", from line " << offset;
        }
    }
}

// A line's value is what follows its first "=", looked for sixteen characters at once in a long line: the "=" on
// either side of that edge, several, or none.
TEST(ReplyLines, AValueIsWhatFollowsTheFirstEquals)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"a", ""},
        {"Key=Value", "Value"},
        {"NoEqualsHere", "oEqualsHere"},
        {"ABCDEFGHIJKLMNO=in the sixteenth", "in the sixteenth"},
        {"ABCDEFGHIJKLMNOP=past sixteen", "past sixteen"},
        {"StartupPlayerCount=3", "3"},
        {"Title=\"A=B\" and more than sixteen", "\"A=B\" and more than sixteen"},
        {"a line of sixteen or more without one", " line of sixteen or more without one"},
    };
    for (const auto& [line, value] : cases)
        EXPECT_EQ(lineValue(line), value) << line;
}
