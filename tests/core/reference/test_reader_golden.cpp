// The reader's complete results on a broad set of replies, held against transcripts that a reader known good wrote
// into reader_golden.txt: hand-made replies with every oddity the reader has a rule for, the sample reply, the fuzz
// seeds, simulated leagues, and simulated replies mangled line by line. Any change in any field of any record, in
// the counters, the version texts or the skipped games fails here with the case and the first differing line.
// After a deliberate change of the reader's results, or of the simulator's replies, write the file anew:
//   QUINTOR_WRITE_READER_GOLDEN=1 build/ci/tests/core/reference/test_reader_golden
#include "masterserver-sim/replygen.h"
#include "masterserver-sim/simrandom.h"
#include "support/readertranscript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace quintor;
using namespace quintor::test;

namespace {

const TextList& someAliases()
{
    // "Ha" finds the first line that begins with it; an empty name never has an alias.
    static const TextList aliases({"Hans=Johann",
                                   "Zo\xEB"
                                   "1=Zoe",
                                   "Spieler=Gast", "x", "=leer"});
    return aliases;
}

ReadingCase single(std::string name, std::string reply, bool tagparse = false, bool aliases = false)
{
    ReadingCase reading;
    reading.name = std::move(name);
    reading.replies = {std::move(reply)};
    reading.tagparse = tagparse;
    if (aliases) reading.aliases = someAliases();
    return reading;
}

const std::string kHead = "[Clonk Rage]\nVersion=4,9,10,7,330\n";

std::string game(const std::string& title, const std::string& body = "")
{
    return "[Reference]\nIcon=1\nTitle=\"" + title + "\"\nState=Lobby\nMaxPlayers=4\n" + body +
           "[Client]\nID=0\nActivated=true\nName=\"Host " + title + "\"\nNick=\"h\"\n";
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string manyPlayers(int count, const std::string& last)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "[Player]\n=\nFilename=\nID=" + std::to_string(i) + "\n";
    return text + last;
}

std::string manyResources(int count, const std::string& last)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "[Resource]\nType=T\n";
    return text + last;
}

std::vector<ReadingCase> handMadeCases()
{
    std::vector<ReadingCase> cases;
    const std::string lobby =
        "[Reference]\nIcon=1\nTitle=\"<b>Gro\\337e</b> Schlacht\"\nState=Running\nStartTime=123\n"
        "Comment=\"Hallo \\\"Welt\\\"\\tTab\"\nAddressCount=2\nAddress=TCP:1.2.3.4:11112,UDP:1.2.3.4:11113\n"
        "Game=\"Clonk Rage\"\nVersion=4,9,10,7\nOfficialServer=true\nMaxPlayers=8\nControlRate=3\n"
        "[Scenario]\nType=Scenario\nFileSize=5\nFilename=\"Melees.c4f\\\\Gro\\337.c4s\"\n"
        "[Resource]\nType=Definitions\nFileSize=3492338\nFilename=\"Chaos.c4d\"\nAuthor=\"M\\374ller\"\n"
        "[Resource]\nType=System\nLoadable=false\nFilename=\"System.c4g\"\n"
        "[PlayerInfos]\nLastPlayerID=3\n[Client]\nID=1\n"
        "[Player]\nName=\"Hans\"\nFilename=\"Hans.c4p\"\nFlags=Joined\nID=1\n"
        "[Player]\nName=\"Zo\\353\\61\"\nForcedName=\"Zo (2)\"\nFilename=\"Zo.c4p\"\nID=2\n"
        "[Player]\nName=\"KI\"\nID=3\nType=Script\n"
        "[Client]\nID=0\nActivated=true\nObserver=true\nName=\"Liga\"\nNick=\"Liga\"\n"
        "[Client]\nID=1\nActivated=true\nName=\"Hans\"\nCUID=\"77\"\n"
        "OfficialServer=false\nLeague=\"Melee\",\"Settle\"\n";
    // Every line end the reader knows, and a header line padded with blanks and control characters.
    cases.push_back(single("lf", kHead + lobby + game("B")));
    cases.push_back(single("crlf", replaceAll(kHead + lobby + game("B"), "\n", "\r\n")));
    cases.push_back(single("cr", replaceAll(kHead + lobby + game("B"), "\n", "\r")));
    cases.push_back(single("mixed line ends", replaceAll(replaceAll(kHead + lobby, "\"\n", "\"\r\n"), "=4\n", "=4\r") +
                                                  "\n\r" + game("B") + "\r\n\r\n"));
    cases.push_back(single("padded lines", replaceAll(replaceAll(kHead + lobby + game("B"), "\n", " \t\n\x01 "),
                                                      "[Reference]", "\x1f [Reference]")));
    cases.push_back(single("tags and aliases", kHead + lobby + game("<i>B</i>"), true, true));
    cases.push_back(single("nul ends the text", kHead + lobby + std::string("\0", 1) + game("B")));
    cases.push_back(single("nul inside a value",
                           kHead + "[Reference]\nIcon=1\nTitle=\"A" + std::string("\0", 1) + "B\"\nState=Lobby\n"));
    cases.push_back(single("empty", ""));
    cases.push_back(single("only breaks", "\n\r\n\r"));
    cases.push_back(single("bare reference", "[Reference]"));
    cases.push_back(
        single("headers at the very end", kHead + "[Reference]\n[Client]\n[Player]\n[Resource]\n[Clonk Rage]"));
    cases.push_back(single("headers near the end", "[Reference]\nIcon=1\n[Client]\nID=0\nActivated\n[Player]\nName=N"));
    cases.push_back(single("sections before the first game",
                           "[Player]\nName=\"Vorher\"\nFilename=\"v.c4p\"\nID=x\n[Client]\nID=0\nActivated=true\n"
                           "Name=\"Vorher\"\n[Resource]\nFileSize=viele\n" +
                               game("A")));
    // Keys out of the usual order, missing, repeated, lower case, inside values.
    cases.push_back(single("count after address", "[Reference]\nAddress=A:B:C,D:E:F\nAddressCount=2\n"));
    cases.push_back(single("count before address", "[Reference]\nAddressCount=2\nAddress=A:B:C,D:E:F\n"));
    cases.push_back(single("addresses without count",
                           "[Reference]\nAddress=TCP:\"198.51.100.9:11112\",UDP:\"[2001:db8::5]:11113\"\n"
                           "[Client]\nAddress=TCP:\"10.0.0.1:1\"\n"));
    cases.push_back(single("address counts odd", "[Reference]\nAddressCount=0\nAddress=A:B:C\nAddressCount=-3\n"
                                                 "Address=A:B:C\nAddressCount=$7fffffff\nAddress=A:B:C,,:[x,D\n"));
    cases.push_back(single("title late, state early",
                           "[Reference]\nState=Paused\nIcon=0\nComment=c\nTitle=\"Sp\\344t\"\n"
                           "[Scenario]\nTitle=\"nicht\"\nState=Lobby\n"));
    cases.push_back(single("no title anywhere", "[Reference]\nIcon=0\nGame=G\nX=1\n[Client]\nTitle=zu spaet\n"));
    cases.push_back(single("repeated keys", "[Reference]\nTitle=T\nState=Lobby\nComment=eins\nLeague=L1\nGame=G1\n"
                                            "[Player]\nName=P\nFilename=F\nComment=zwei\nID=1\n"
                                            "Version=V\nVersion=W\nControlRate=1\nControlRate=\nMaxPlayers=2\n"
                                            "MaxPlayers= 3\nPasswordNeeded=TRUE\nPasswordNeeded=0\nStartTime=\n"));
    cases.push_back(single("keys in lower case", "[Reference]\nTitle=T\nState=Lobby\ncomment=x\nmaxplayers=y\n"
                                                 "[reference]\n[REFERENCE]\n"));
    cases.push_back(single("reference inside values",
                           "[Reference]\nTitle=\"[Reference]\"\nState=Lobby\nComment=[Reference]\n"
                           "[Reference]x\nComment=nach dem Ende\n[Player]\nName=\"Noch A\"\nFilename=f\nID=1\n"
                           "  [Reference]  \nTitle=B\nState=Lobby\nComment=b\n"));
    cases.push_back(single("escapes", "[Reference]\nTitle='\\a\\b\\f\\n\\r\\t\\v\\?\\'\\\\\\101\\1012\\x41\\x4g\\xg'\n"
                                      "State=\\x\nComment=\"\\400\\0\\\"\nLeague=\"\\\nGame='\"\n"
                                      "Address=\\\"\\\\:x\nAddressCount=1\n"));
    cases.push_back(single("tags",
                           "[Reference]\nTitle=\"<b>fett</b> > und < <offen\"\nState=Lobby\n"
                           "Comment=\"a>b<c>d<e\"\nGame=<<>>\nLeague=\"<\\x3e\"\n",
                           true));
    cases.push_back(single("tags off", "[Reference]\nTitle=\"<b>fett</b>\"\nState=Lobby\n", false));
    cases.push_back(single("aliases",
                           "[Reference]\nTitle=T\nState=Lobby\n"
                           "[Player]\nName=\"Ha\"\nFilename=\"Hans\"\nFlags=Spieler\nID=1\n"
                           "[Player]\nName=\"Zo\\353\\61\"\nFilename=\"\"\nID=2\n"
                           "[Player]\nName=\"\"\nForcedName=x\nFlags=x\n",
                           true, true));
    cases.push_back(single("status words",
                           "[Reference]\nTitle=A\nState=Running\n[Reference]\nTitle=B\nState=Paused\n"
                           "[Reference]\nTitle=C\nState=\"Running\"\n[Reference]\nTitle=D\nState=running\n"));
    // Clients and players where their fixed lines are, and where they are not.
    cases.push_back(single("clients", "[Reference]\nTitle=T\nState=Lobby\n"
                                      "[Client]\nID=0\nActivated=false\nName=\"Erster\"\nNick=x\n"
                                      "[Client]\nID=1\nActivated=true\nName=\"Zweiter\"\nXCUID=1\n"
                                      "[Client]\nID=2\nName=\"Dritter\"\nActivated=true\n"
                                      "[Client]\nID=3\nActivatedX\nObserver=true\nName=\"Vierter\"\nCUID=5\n"
                                      "[Client]\nID=4\nActivated=true\nObserver=\nName=\"F\\374nfter\"\n"
                                      "[Client]\nID=5\nActivated=true\n"));
    cases.push_back(single("players", "[Reference]\nTitle=T\nState=Lobby\n"
                                      "[Player]\nName=\"A\"\nFilename=\"A.c4p\"\nID=7\nTeam=1\n"
                                      "[Player]\nName=\"B\"\nFilename=\"B.c4p\"\nFlags=Joined|Removed\nID=12a\n"
                                      "[Player]\nName=\"C\"\nFilename=\"C.c4p\"\nFlags=J\nID=99999999999x\n"
                                      "[Player]\nName=\"D\"\nFilename=\"D.c4p\"\nFlags=J\nID=$10\n"
                                      "[Player]\nName=\"E\"\nFilename=\"E.c4p\"\n\n\n"
                                      "[Player]\nName=\"F\"\nForcedName=\"F (2)\"\nFilename=\"F.c4p\"\nFlags=J\nID=4\n"
                                      "[Player]\nName=\"G\"\nID=12x\nType=Script\n[Client]\nFlags=nicht G\n"
                                      "[Player]\nName=\"H\"\nForcedName=x\nFilename=\"H.c4p\"\nID=5\n[Player]\n"
                                      "Flags=Fremd\n[Player]\nName=\"I\"\nFilename=i\nFilename=j\nID=\n"));
    // Resources: their keys count up to the next "[Resource]" or "[PlayerInfos]", past any other header.
    cases.push_back(single("resources", "[Reference]\nTitle=T\nState=Lobby\n"
                                        "[Resource]\nType=A\nFileSize=1\nLoadable=0\nLoadable=TRUE\nFilename=a\n"
                                        "[Client]\nAuthor=aus dem Client\n[Resource]\n[Resource]\nFileSize=$ff\n"
                                        "Loadable=false\n[PlayerInfos]\nType=nicht\n"));
    cases.push_back(single("resource reaching into the next game",
                           "[Reference]\nTitle=A\nState=Lobby\n[Resource]\nType=R\n" + game("B", "Type=von B\n") +
                               game("C", "[PlayerInfos]\nAuthor=nicht\n")));
    cases.push_back(
        single("resource reaching a bad size in the next game",
               "[Reference]\nTitle=A\nState=Lobby\n[Resource]\nType=R\n" + game("B", "FileSize=gross\n") + game("C")));
    // Values that do not convert drop their game; which message counts decides the order of the steps.
    cases.push_back(single(
        "bad numbers", kHead + game("A") + game("B", "MaxPlayers=viele\n") + game("C", "[Resource]\nFileSize=12 KB\n") +
                           game("D", "[Resource]\nLoadable=\"vielleicht\"\n") + game("E", "PasswordNeeded=ja\n") +
                           game("F", "OfficialServer=\"\"\n") + game("G", "[Player]\nName=P\nFilename=F\nID=sieben\n") +
                           game("H", "AddressCount=2x\n") + game("I")));
    cases.push_back(single("bad values in every step",
                           game("A", "[Player]\nName=P\nFilename=F\nID=x\n[Resource]\nFileSize=y\n"
                                     "[Clonk Rage]\nVersion=mitten\nMaxPlayers=z\n") +
                               game("B", "[Player]\nName=P\nFilename=F\nID=x\n[Resource]\nLoadable=y\n") +
                               game("C", "[Client]\nID=0\nActivated=true\nName=C2\n[Resource]\nFileSize=1\n"
                                         "[Player]\nName=P\nFilename=F\nID=1\nFileSize=2x\n") +
                               game("D")));
    cases.push_back(single("bad value after a version",
                           kHead + game("A", "[Clonk Rage]\nV=2\nMaxPlayers=x\n") + game("B", "[Clonk Rage]\nV=3\n")));
    cases.push_back(single("version texts", "[Clonk Rage]\n[Clonk Rage]\nVersion=1\n" + game("A", "[Clonk Rage]\n") +
                                                "[Clonk Rage]\nVersion=" + std::string(5000, 'v') + "\n"));
    cases.push_back(single("overlong values", "[Reference]\nIcon=1\nTitle=\"" + std::string(5000, 'T') +
                                                  "\"\nState=Lobby\nComment=" + std::string(4100, 'c') +
                                                  "\nVersion=" + std::string(4097, 'v') +
                                                  "\nMaxPlayers=" + std::string(5000, '1') + "\n"));
    cases.push_back(single("many players", kHead + game("A", manyPlayers(1001, "")) + game("B")));
    cases.push_back(single("many players, a bad ID past the limit",
                           kHead + game("A", manyPlayers(1001, "[Player]\nName=P\nFilename=F\nID=x\n")) + game("B")));
    cases.push_back(single("many resources, a bad size past the limit",
                           kHead + game("A", manyResources(1002, "FileSize=x\n")) + game("B", manyResources(3, ""))));
    cases.push_back(single("many addresses", "[Reference]\nAddressCount=100000\nAddress=A:B:C\n[Reference]\n"
                                             "Address=" +
                                                 replaceAll(std::string(100, ','), ",", "T:h:1,") + "\n"));

    cases.push_back(single("control characters inside values",
                           "[Reference]\nIcon=1\nTitle=\"A\tB\x01"
                           "C\x7f\"\nState=Lo\x1f"
                           "bby\nComment=x\ty\n"
                           "[Player]\nName=\"N\x02N\"\nFilename=\"F\tF\"\nID=1\n",
                           true));
    // Where a reply ends inside a section, every scan of it ends there too.
    cases.push_back(single("title found last", "[Reference]\nIcon=0\nState=Lobby\nTitle=\"Ende\""));
    cases.push_back(single("moved player last", "[Reference]\nTitle=T\nState=Lobby\n[Player]\nName=N\nID=5"));
    cases.push_back(single("observing host last", "[Reference]\nTitle=T\nState=Lobby\n[Client]\nID=0\n"
                                                  "Activated=true\nObserver=true\nName=\"X\""));
    cases.push_back(single("resource last", "[Reference]\nTitle=T\nState=Lobby\n[Resource]\nType=A\nFileSize=7"));
    // Long runs of blanks, and line breaks on every side of sixty-four bytes.
    std::string blanks = "[Clonk Rage]\nVersion=1" + std::string(100, ' ') + "\n" + std::string(130, ' ') + "\n" +
                         std::string(70, '\t') + "[Reference]" + std::string(70, ' ') + "\n";
    for (int length = 58; length < 70; ++length)
        blanks += "Comment=" + std::string(static_cast<std::size_t>(length), 'c') + (length % 2 ? "\r\n" : "\r");
    blanks += "Title=T\r\n\r\n\n\r\r\n";
    cases.push_back(single("blanks and breaks at block edges", blanks));
    cases.push_back(single("many resources", kHead + game("A", manyResources(1001, "FileSize=1\n")) + game("B")));
    // Games dropped for a bad value, in every kind of line end: the games after them are read as before.
    const std::string dropped = kHead + game("A") + game("B", "MaxPlayers=viele\n") +
                                game("C", "[Resource]\nFileSize=12 KB\n") + game("D", "[Clonk Rage]\nV=2\n") +
                                game("E", "[Player]\nName=P\nFilename=F\nID=sieben\n") + game("F");
    cases.push_back(single("dropped games, crlf", replaceAll(dropped, "\n", "\r\n")));
    cases.push_back(single("dropped games, cr", replaceAll(dropped, "\n", "\r")));
    cases.push_back(single("dropped games, padded", replaceAll(dropped, "\n", " \n\t ")));

    // Values long enough to be looked through in blocks, with something to decode at every place in them.
    std::string longValues = "[Reference]\nIcon=1\nTitle=T\nState=Lobby\n";
    for (std::size_t at = 0; at < 36; ++at) {
        for (const char* special : {"\\101", "\x01", "<b>x</b>"}) {
            std::string value(40, 'v');
            value.insert(at, special);
            longValues += "[Player]\nName=\"" + value + "\"\nFilename=f\nID=1\n";
        }
    }
    cases.push_back(single("long values, tags off", longValues));
    cases.push_back(single("long values, tags on", longValues, true));
    // Address entries quoted every which way, without a count: every entry counts.
    cases.push_back(single("address quoting", "[Reference]\nAddress=TCP:\"a:1\",UDP:\"[::1]:2\",TCP:\"x\"y\":3,TCP:\","
                                              "TCP:\"\",\"TCP\":\"h\":4,T:[v6]x:5,T:]\"a\"[:6,:,\",noport,"
                                              "T:\"[unclosed:7\"\n"));
    // A NUL just after a line break, on either side of a 64-byte edge.
    for (std::size_t pad = 40; pad < 48; ++pad) {
        for (const auto& [end, name] : {std::pair{"\r\n", "CR LF"}, {"\n", "LF"}, {"\r", "CR"}, {"", "no break"}}) {
            cases.push_back(single("nul after " + std::to_string(pad) + " and " + name,
                                   "[Reference]\nTitle=" + std::string(pad, 'x') + end + std::string("\0", 1) +
                                       "\nState=danach\n"));
        }
    }

    // Several replies of one refresh share the pending game; a callback's error ends the refresh.
    ReadingCase shared;
    shared.name = "replies share the pending game";
    shared.replies = {kHead + game("A") + game("B"),
                      "[Player]\nName=\"Nachz\\374gler\"\nFilename=\"n.c4p\"\nID=4\nComment=\"nicht B\"\n"
                      "[Client]\nID=9\nActivated=true\nName=N\n[Resource]\nType=spaet\n"
                      "[Clonk Rage]\nVersion=4.9.10.7,330\n" +
                          game("C"),
                      "",
                      "[Resource]\nFileSize=x\n",
                      "[Reference]\nTitle=D\n[Resource]\nType=1\n",
                      "[PlayerInfos]\nType=2\n[Player]\nName=Q\n"};
    cases.push_back(shared);
    for (int at : {0, 1, 3}) {
        ReadingCase failing = shared;
        failing.name = "callback fails at record " + std::to_string(at);
        failing.throwAtRecord = at;
        cases.push_back(failing);
    }
    return cases;
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) ADD_FAILURE() << "cannot read " << path;
    return text.str();
}

std::vector<ReadingCase> fileCases()
{
    std::vector<ReadingCase> cases;
    const std::filesystem::path source = QUINTOR_SOURCE_DIR;
    const std::string sample = fileText(source / "samples" / "sample-reply.txt");
    cases.push_back(single("sample reply", sample));
    cases.push_back(single("sample reply, tags and aliases", sample, true, true));
    ReadingCase thirds = single("sample reply in three parts", "");
    thirds.replies = {sample.substr(0, sample.size() / 3), sample.substr(sample.size() / 3, sample.size() / 3),
                      sample.substr(2 * (sample.size() / 3))};
    cases.push_back(thirds);

    // The fuzz seeds, read the way the fuzz target reads them.
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(source / "tests" / "fuzz" / "corpus" / "fuzz_reader"))
        seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    for (const auto& seed : seeds) {
        const std::string data = fileText(seed);
        if (data.size() < 2) continue;
        ReadingCase reading =
            single("fuzz seed " + seed.filename().string(), "", (data[0] & 1) != 0, (data[0] & 2) != 0);
        const std::string input = data.substr(2);
        const std::size_t split = input.size() * static_cast<unsigned char>(data[1]) / 255;
        reading.replies = {input.substr(0, split), input.substr(split)};
        cases.push_back(reading);
    }
    return cases;
}

std::string simulatedReply(std::uint32_t seed, int games, int steps, bool newerServer, bool hostile)
{
    sim::SimWorld world(seed, games);
    world.setNewerServer(newerServer);
    if (hostile) world.addHostileGame();
    for (int i = 0; i < steps; ++i)
        world.step();
    return sim::generateReply(world);
}

std::vector<ReadingCase> simulatedCases()
{
    std::vector<ReadingCase> cases;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const int steps = static_cast<int>(seed % 4) * 3;
        const bool newer = seed % 2 == 0, hostile = seed % 3 == 0;
        ReadingCase reading = single("league " + std::to_string(seed), simulatedReply(seed, 3, steps, newer, hostile),
                                     seed % 5 == 0, seed % 4 == 0);
        cases.push_back(reading);
    }
    // Two servers of one refresh: the second reply's games follow the first's pending one.
    ReadingCase twoServers = single("two leagues", simulatedReply(20, 4, 2, true, true), true, true);
    twoServers.replies.push_back(simulatedReply(21, 4, 5, false, false));
    cases.push_back(twoServers);
    return cases;
}

// A simulated reply mangled as a broken or hostile server might send it: lines lost, doubled, moved, headers and
// keys where they do not belong, bad numbers and escapes, other line ends, cut at any byte into several replies.
ReadingCase mangledCase(std::uint32_t seed)
{
    sim::SimRandom random(seed * 7919u + 17u);
    const std::string reply = simulatedReply(seed, 2, static_cast<int>(seed % 3), seed % 2 == 0, seed % 7 == 0);
    std::vector<std::string> lines;
    for (std::string_view line : splitLines(reply))
        lines.emplace_back(line);
    static const std::vector<std::string> inserted = {"[Reference]",
                                                      "[Reference]x",
                                                      "[reference]",
                                                      "[Clonk Rage]",
                                                      "[Client]",
                                                      "[Resource]",
                                                      "[PlayerInfos]",
                                                      "[Player]",
                                                      "  [Resource]  ",
                                                      "Activated=true",
                                                      "MaxPlayers=x1",
                                                      "AddressCount=3",
                                                      "Address=T:h:1",
                                                      "FileSize=12 KB",
                                                      "Loadable=vielleicht",
                                                      "ID=x",
                                                      "ID=5",
                                                      "Filename=f",
                                                      "Title=\"<b>x</b>\"",
                                                      "State=Paused",
                                                      "Observer=true",
                                                      "CUID=\"1\"",
                                                      "Comment=\\",
                                                      "PasswordNeeded=1",
                                                      "OfficialServer=nein",
                                                      "League=\\x41<i>",
                                                      "Name=\"Ha\"",
                                                      "Flags=Joined",
                                                      "StartTime=",
                                                      "Type=\\400"};
    const int edits = random.between(1, 12);
    for (int i = 0; i < edits && !lines.empty(); ++i) {
        const auto at = static_cast<std::size_t>(random.below(static_cast<int>(lines.size())));
        switch (random.below(6)) {
        case 0:
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 1:
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]);
            break;
        case 2: {
            const std::string moved = lines[at];
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            lines.insert(lines.begin() + random.below(static_cast<int>(lines.size()) + 1), moved);
            break;
        }
        case 3:
        case 4:
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), random.pick(inserted));
            break;
        default:
            if (const auto equals = lines[at].find('='); equals != std::string::npos)
                lines[at] = lines[at].substr(0, equals + 1) + random.pick(inserted);
            break;
        }
    }
    static const std::vector<std::string> breaks = {"\n", "\r\n", "\r", "\n\r"};
    const int style = random.below(5); // one kind of line end throughout, or a mix
    std::string text;
    for (const std::string& line : lines)
        text += line + (style < 4 ? breaks[static_cast<std::size_t>(style)] : random.pick(breaks));
    if (random.chance(10)) text[static_cast<std::size_t>(random.below(static_cast<int>(text.size())))] = '\0';

    ReadingCase reading = single("mangled league " + std::to_string(seed), "", random.chance(30), random.chance(30));
    std::vector<std::size_t> cuts = {0, text.size()};
    for (int parts = random.below(3); parts > 0; --parts)
        cuts.push_back(static_cast<std::size_t>(random.below(static_cast<int>(text.size()) + 1)));
    std::sort(cuts.begin(), cuts.end());
    reading.replies.clear();
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        reading.replies.push_back(text.substr(cuts[i], cuts[i + 1] - cuts[i]));
    return reading;
}

std::vector<ReadingCase> mangledCases()
{
    std::vector<ReadingCase> cases;
    for (std::uint32_t seed = 1; seed <= 60; ++seed)
        cases.push_back(mangledCase(seed));
    return cases;
}

std::vector<ReadingCase> allCases()
{
    std::vector<ReadingCase> cases;
    for (auto group : {handMadeCases, fileCases, simulatedCases, mangledCases}) {
        for (ReadingCase& reading : group())
            cases.push_back(std::move(reading));
    }
    return cases;
}

// FNV-1a over the case's inputs, so that a changed input (say, of the simulator) is told from a changed result.
std::string inputDigest(const ReadingCase& reading)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    auto mix = [&](std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001b3ull;
        }
        hash ^= 0xff; // marks the end of one part
        hash *= 0x100000001b3ull;
    };
    for (const std::string& reply : reading.replies)
        mix(reply);
    for (int i = 0; i < reading.aliases.count(); ++i)
        mix(reading.aliases.line(i));
    mix(std::to_string(reading.tagparse) + ' ' + std::to_string(reading.throwAtRecord));
    std::ostringstream text;
    text << std::hex << hash;
    return text.str();
}

const char* const kGoldenFile = QUINTOR_READER_GOLDEN;
constexpr std::string_view kCaseMark = "=== ";

struct GoldenCase {
    std::string digest, transcript;
};

std::map<std::string, GoldenCase> loadGolden()
{
    std::map<std::string, GoldenCase> golden;
    std::ifstream in(kGoldenFile, std::ios::binary);
    std::string line;
    GoldenCase* current = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with(kCaseMark)) {
            const std::size_t space = line.find(' ', kCaseMark.size());
            current = &golden[line.substr(space + 1)];
            current->digest = line.substr(kCaseMark.size(), space - kCaseMark.size());
        } else if (current) {
            current->transcript += line + '\n';
        }
    }
    return golden;
}

void writeGolden(const std::vector<ReadingCase>& cases)
{
    std::ofstream out(kGoldenFile, std::ios::binary);
    for (const ReadingCase& reading : cases)
        out << kCaseMark << inputDigest(reading) << ' ' << reading.name << '\n' << readingTranscript(reading);
}

// The first line where the two transcripts part, with the record it belongs to.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream left(expected), right(actual);
    std::string a, b, record = "(before the first record)";
    for (int number = 1;; ++number) {
        const bool moreLeft = static_cast<bool>(std::getline(left, a));
        const bool moreRight = static_cast<bool>(std::getline(right, b));
        if (!moreLeft && !moreRight) return {};
        if (!moreLeft) a = "(end)";
        if (!moreRight) b = "(end)";
        if (a != b) {
            return "line " + std::to_string(number) + ", " + record + "\n  expected: " + a + "\n  actual:   " + b;
        }
        if (a.starts_with("game ")) record = a;
    }
}

TEST(ReaderGolden, EveryResultAsTheReaderKnownGoodGaveIt)
{
    const std::vector<ReadingCase> cases = allCases();
    if (std::getenv("QUINTOR_WRITE_READER_GOLDEN")) {
        writeGolden(cases);
        GTEST_SKIP() << "wrote " << kGoldenFile;
    }
    const std::map<std::string, GoldenCase> golden = loadGolden();
    ASSERT_FALSE(golden.empty()) << "cannot read " << kGoldenFile;
    std::map<std::string, int> names;
    for (const ReadingCase& reading : cases) {
        ASSERT_EQ(++names[reading.name], 1) << "two cases are named " << reading.name;
        const auto found = golden.find(reading.name);
        if (found == golden.end()) {
            ADD_FAILURE() << "no transcript for the case " << reading.name;
            continue;
        }
        if (found->second.digest != inputDigest(reading)) {
            ADD_FAILURE() << "the input of the case " << reading.name << " changed since its transcript was written";
            continue;
        }
        // The single pass, and the stepwise reader it hands unusual games to, each on the whole reply.
        for (const bool stepwiseOnly : {false, true}) {
            const std::string difference =
                firstDifference(found->second.transcript, readingTranscript(reading, stepwiseOnly));
            EXPECT_TRUE(difference.empty())
                << reading.name << (stepwiseOnly ? " (stepwise only)" : "") << ": " << difference;
        }
    }
    EXPECT_EQ(golden.size(), cases.size()) << "the transcript file holds cases the test no longer reads";
}

TEST(ReaderGolden, TheCasesReachEveryKindOfResult)
{
    // A corpus that stopped reaching the reader's rarer outcomes would keep passing while proving less.
    std::string all;
    for (const ReadingCase& reading : allCases())
        all += readingTranscript(reading);
    for (const char* outcome :
         {"\nskipped ", "\nthrow\n", "\nabandoned\n", "\nversion ", "\nPlayer ", "\nResource ", "\nIPs ",
          "\nStartTime ", "\nHoster ", "\nEmptys ", "\nPasswordNeeded ", "\nServer s2\n", "\nLeague "}) {
        EXPECT_NE(all.find(outcome), std::string::npos) << "no case gives " << outcome;
    }
}

} // namespace
