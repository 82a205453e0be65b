// The simulated league and its reply text: determinism, life of the games, escapes and the
// shape of the text that real league servers write.
#include "masterserver-sim/replygen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quintor::sim {
namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::size_t indentOf(const std::string& line)
{
    return line.find_first_not_of(' ');
}

bool isHeader(const std::string& line)
{
    std::size_t at = indentOf(line);
    return at != std::string::npos && line[at] == '[' && line.back() == ']';
}

std::string trimmed(const std::string& line)
{
    std::size_t at = indentOf(line);
    return at == std::string::npos ? "" : line.substr(at);
}

// Reads an escaped value body back: letter escapes and 1 to 3 octal digits.
std::string unescape(const std::string& body)
{
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            out += body[i];
            continue;
        }
        char next = body.at(++i);
        if (next >= '0' && next <= '7') {
            int value = 0;
            std::size_t digits = 0;
            while (digits < 3 && i < body.size() && body[i] >= '0' && body[i] <= '7') {
                value = value * 8 + (body[i] - '0');
                ++i;
                ++digits;
            }
            --i;
            out += static_cast<char>(value);
            continue;
        }
        static const std::map<char, char> letters = {{'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'a', '\a'}, {'b', '\b'},
                                                     {'f', '\f'}, {'v', '\v'}, {'"', '"'},  {'\\', '\\'}};
        out += letters.at(next);
    }
    return out;
}

TEST(EscapeValue, FollowsTheLeagueEscapes)
{
    struct Case {
        std::string raw;
        std::string escaped;
    };
    const std::vector<Case> cases = {
        {"\xE4", "\\344"},
        {"Zo\xEB"
         "1",
         "Zo\\353\\61"},
        {"\xE4"
         "12a3",
         "\\344\\61\\62a3"},
        {"x1", "x1"},
        {"Say \"hi\"", "Say \\\"hi\\\""},
        {"Melees.c4f\\Greed.c4s", "Melees.c4f\\\\Greed.c4s"},
        {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {std::string("\x01"
                     "7",
                     2),
         "\\1\\67"},
        {"\x7F", "\\177"},
        {"\x80\xFF", "\\200\\377"},
        {"\\1", "\\\\1"}, // a backslash escape is not numeric: the digit stays
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapeValue(c.raw), c.escaped) << c.raw;
}

TEST(EscapeValue, EveryByteReadsBackUnchanged)
{
    // A reader that takes up to three octal digits must get the original back, which fails as
    // soon as a digit after a numeric escape is left bare.
    for (int b = 1; b < 256; ++b) {
        for (const char* tail : {"", "0", "7", "9", "x"}) {
            std::string raw = std::string(1, static_cast<char>(b)) + tail;
            EXPECT_EQ(unescape(escapeValue(raw)), raw) << "byte " << b << " tail " << tail;
        }
    }
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(unescape(escapeValue(all)), all);
}

// Splits a reply into one list of lines per [Reference] block.
std::vector<std::vector<std::string>> referenceBlocks(const std::vector<std::string>& all)
{
    std::vector<std::vector<std::string>> blocks;
    for (const std::string& line : all) {
        if (line == "[Reference]") blocks.emplace_back();
        if (!blocks.empty() && !line.empty()) blocks.back().push_back(line);
    }
    return blocks;
}

std::string valueOf(const std::string& line)
{
    return line.substr(line.find('=') + 1);
}

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// Sections of a block: the trimmed lines from one header to the next.
std::vector<std::vector<std::string>> sections(const std::vector<std::string>& block)
{
    std::vector<std::vector<std::string>> out;
    for (const std::string& line : block) {
        if (isHeader(line)) out.emplace_back();
        out.back().push_back(trimmed(line));
    }
    return out;
}

int countPrefix(const std::vector<std::string>& lines, std::string_view prefix)
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return startsWith(l, prefix); }));
}

void checkBlock(const std::vector<std::string>& block)
{
    const std::vector<std::vector<std::string>> parts = sections(block);
    const std::vector<std::string>& reference = parts.front();
    SCOPED_TRACE(block.size() > 2 ? block[1] + " / " + block[2] : "short block");

    EXPECT_EQ(countPrefix(reference, "Game="), 1);
    EXPECT_EQ(countPrefix(reference, "Title=\""), 1);
    ASSERT_EQ(countPrefix(reference, "State="), 1);
    std::string state = valueOf(*std::find_if(reference.begin(), reference.end(),
                                              [](const std::string& l) { return startsWith(l, "State="); }));
    EXPECT_TRUE(state == "Lobby" || state == "Running" || state == "Paused") << state;
    for (const char* omitted : {"Icon=0", "PasswordNeeded=false", "Comment=\"\"", "JoinAllowed=true"})
        EXPECT_EQ(countPrefix(reference, omitted), 0) << omitted;
    if (!startsWith(reference[1], "Icon=") && startsWith(reference[1], "Title=")) {
        EXPECT_TRUE(startsWith(reference[2], "State="));
    }

    // AddressCount only with the old, unquoted form, and then equal to the number of entries.
    auto address = std::find_if(reference.begin(), reference.end(),
                                [](const std::string& l) { return startsWith(l, "Address="); });
    ASSERT_NE(address, reference.end());
    std::string list = valueOf(*address);
    int entries = 1 + static_cast<int>(std::count(list.begin(), list.end(), ','));
    EXPECT_GE(entries, 2);
    bool quotedForm = list.find('"') != std::string::npos;
    auto count = std::find_if(reference.begin(), reference.end(),
                              [](const std::string& l) { return startsWith(l, "AddressCount="); });
    EXPECT_EQ(count == reference.end(), quotedForm) << list;
    if (count != reference.end()) {
        EXPECT_LT(count, address) << "AddressCount comes before Address";
        EXPECT_EQ(std::stoi(valueOf(*count)), entries) << list;
    }
    static const std::regex entry(R"((TCP|UDP):("(\d+\.\d+\.\d+\.\d+|\[[0-9a-f:]+\]):\d+"|\d+\.\d+\.\d+\.\d+:\d+))");
    std::stringstream entryList(list);
    for (std::string one; std::getline(entryList, one, ',');)
        EXPECT_TRUE(std::regex_match(one, entry)) << one;

    bool playerInfosSeen = false;
    for (std::size_t p = 1; p < parts.size(); ++p) {
        const std::vector<std::string>& part = parts[p];
        const std::string& name = part.front();
        if (name == "[PlayerInfos]") playerInfosSeen = true;
        if (name == "[Scenario]" || name == "[Resource]") {
            bool unloadable = countPrefix(part, "Loadable=false") == 1;
            EXPECT_EQ(countPrefix(part, "Loadable=true"), 0);
            EXPECT_EQ(countPrefix(part, "FileSize="), unloadable ? 0 : 1);
            if (countPrefix(part, "Type=System")) {
                EXPECT_TRUE(unloadable);
            }
            EXPECT_EQ(countPrefix(part, "Filename=\""), 1);
        }
        if (name == "[Player]") {
            ASSERT_GE(part.size(), 3u);
            EXPECT_TRUE(startsWith(part[1], "Name=\""));
            EXPECT_EQ(countPrefix(part, "ID="), 1);
            bool computer = countPrefix(part, "Type=Script") == 1;
            EXPECT_EQ(countPrefix(part, "Filename="), computer ? 0 : 1);
            bool plain = !computer && countPrefix(part, "Flags=") == 0 && countPrefix(part, "ForcedName=") == 0;
            if (plain) {
                EXPECT_TRUE(startsWith(part[3], "ID=")) << part[1];
            }
        }
        if (name == "[Client]" && !playerInfosSeen) ADD_FAILURE() << "client before [PlayerInfos]";
        if (name == "[Client]" && countPrefix(part, "Nick=")) { // the client list, not [PlayerInfos]/[Client]
            EXPECT_TRUE(startsWith(part[1], "ID="));
            EXPECT_EQ(countPrefix(part, "Activated=false"), 0);
            EXPECT_EQ(countPrefix(part, "Observer=false"), 0);
            if (countPrefix(part, "Activated=")) {
                EXPECT_EQ(part[2], "Activated=true");
            }
        }
        for (const std::string& line : part) {
            std::string value = line.find('=') == std::string::npos ? "" : valueOf(line);
            if (startsWith(line, "Address=") || startsWith(line, "League=") || value.empty() || value.front() != '"')
                continue;
            ASSERT_GE(value.size(), 2u) << line;
            EXPECT_EQ(value.back(), '"') << line;
            std::string body = value.substr(1, value.size() - 2);
            for (unsigned char c : body)
                EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "raw byte in quoted value: " << line;
            EXPECT_EQ(escapeValue(unescape(body)), body) << line;
        }
    }

    // The league's own lines close the block, unindented.
    const std::vector<std::string>& last = parts.back();
    std::size_t end = last.size();
    bool league = startsWith(last[end - 1], "League=");
    if (league) {
        static const std::regex leagueList(R"re(League="(Melee|Settle)"(,"(Melee|Settle)")*)re");
        EXPECT_TRUE(std::regex_match(last[end - 1], leagueList)) << last[end - 1];
        --end;
    }
    ASSERT_GE(end, 3u);
    EXPECT_TRUE(startsWith(last[end - 1], "GameId=") || startsWith(last[end - 1], "Seed=")) << last[end - 1];
    EXPECT_TRUE(last[end - 2] == "OfficialServer=true" || last[end - 2] == "OfficialServer=false");
    EXPECT_EQ(indentOf(block.back()), 0u);
}

TEST(GeneratedReply, HasTheLayoutOfLeagueReplies)
{
    for (std::uint32_t seed : {1u, 2u, 99u}) {
        SimWorld world(seed, 150);
        world.setNewerServer(seed != 2);
        for (int step = 0; step < 3; ++step, world.step()) {
            const std::string text = generateReply(world);
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            ASSERT_EQ(text.find('\r'), std::string::npos);
            ASSERT_EQ(text.back(), '\n');
            const std::vector<std::string> all = lines(text);
            EXPECT_EQ(all[0], seed != 2 ? "[LegacyClonk]" : "[Clonk Rage]");
            if (seed != 2) {
                EXPECT_EQ(all[1], "Version=4.9.10.7,330");
            }
            auto header = std::find(all.begin(), all.end(), "[Clonk Rage]");
            ASSERT_NE(header, all.end());
            EXPECT_EQ(*(header + 1), "Version=4,9,10,7,330");
            EXPECT_TRUE(startsWith(*(header + 2), "MOTD="));

            // One blank line before every header, two before every game but the first.
            bool firstGame = true;
            for (std::size_t i = 1; i < all.size(); ++i) {
                if (!isHeader(all[i])) continue;
                bool laterGame = all[i] == "[Reference]" && !firstGame;
                if (all[i] == "[Reference]") firstGame = false;
                ASSERT_GE(i, laterGame ? 3u : 2u);
                EXPECT_TRUE(all[i - 1].empty()) << "line " << i << ": " << all[i];
                EXPECT_EQ(all[i - 2].empty(), laterGame) << "line " << i << ": " << all[i];
                if (laterGame) {
                    EXPECT_FALSE(all[i - 3].empty()) << "line " << i;
                }
            }

            // Keys stand at their own header's indentation, except the league's closing lines.
            const std::map<std::string, std::size_t> sectionIndent = {
                {"[Reference]", 0}, {"[Scenario]", 2}, {"[Resource]", 2}, {"[PlayerInfos]", 2},
                {"[Teams]", 2},     {"[Team]", 4},     {"[Player]", 6}};
            std::string outer;
            std::string section;
            std::size_t indent = 0;
            for (const std::string& line : all) {
                if (line.empty()) continue;
                if (isHeader(line)) {
                    section = trimmed(line);
                    indent = indentOf(line);
                    if (section == "[Client]") {
                        EXPECT_EQ(indent, outer == "[PlayerInfos]" ? 4u : 2u) << line;
                    } else if (sectionIndent.count(section)) {
                        EXPECT_EQ(indent, sectionIndent.at(section)) << line;
                    }
                    if (indent == 2 && section != "[Client]") outer = section;
                    if (indent == 2 && section == "[Client]") outer = "clients";
                    continue;
                }
                bool leagueLine = startsWith(line, "OfficialServer=") || startsWith(line, "GameId=") ||
                                  startsWith(line, "Seed=") || startsWith(line, "League=");
                if (leagueLine && indentOf(line) == 0 && outer == "clients") continue;
                EXPECT_EQ(indentOf(line), indent) << section << ": " << line;
            }

            const std::vector<std::vector<std::string>> blocks = referenceBlocks(all);
            ASSERT_EQ(blocks.size(), world.games().size());
            for (const std::vector<std::string>& block : blocks)
                checkBlock(block);
        }
    }
}

TEST(GeneratedReply, ShowsTheVarietyOfRealReplies)
{
    SimWorld world(3, 300);
    for (int step = 0; step < 4; ++step)
        world.step();
    const std::string text = generateReply(world);
    struct Feature {
        const char* what;
        std::string pattern;
    };
    const std::vector<Feature> features = {
        {"icon 0: title on the first line", "[Reference]\nTitle=\""},
        {"newer host: title after the league address", "league.php\"\nTitle=\""},
        {"quoted IPv6 address", "TCP:\"[2001:db8:"},
        {"four addresses", "AddressCount=4\n"},
        {"password", "\nPasswordNeeded=true\n"},
        {"official game", "\nOfficialServer=true\nGameId="},
        {"two leagues", "League=\"Melee\",\"Settle\"\n"},
        {"new game not yet registered", "\nSeed="},
        {"lobby", "State=Lobby\n"},
        {"running", "State=Running\n"},
        {"paused", "State=Paused\n"},
        {"escaped file name", "Filename=\"Melees.c4f\\\\Greed.c4s\""},
        {"scenario among the resources", "[Resource]\n  Type=Scenario\n"},
        {"definitions", "Type=Definitions\n"},
        {"material", "Type=Material\n"},
        {"system", "Type=System\n"},
        {"octal escape with escaped digit", "\"Zo\\353\\61\""},
        {"escaped newline in a comment", "Comment=\"Zeile eins\\nZeile zwei\""},
        {"name clash", "ForcedName=\""},
        {"removed player", "Flags=Joined|Removed\n"},
        {"computer player", "Type=Script\n"},
        {"initial client", "Flags=Initial\n"},
        {"team with a raw umlaut", "Name=Gr\xFCn\n"},
        {"observer", "Activated=true\n  Observer=true\n"},
        {"registered client", "\"\n  CUID=\""},
    };
    for (const Feature& feature : features)
        EXPECT_NE(text.find(feature.pattern), std::string::npos) << feature.what;

    // A lobby player without flags has its ID on the third line.
    EXPECT_TRUE(std::regex_search(text, std::regex("\\[Player\\]\n +Name=\"[^\n]*\"\n +Filename=\"[^\n]*\"\n +ID=")));
    EXPECT_TRUE(std::regex_search(text, std::regex("Activated=true\n  Name=\"[^\n]*\"\n  Nick=")))
        << "activated, no CUID";
    // A computer player has no file name.
    EXPECT_FALSE(std::regex_search(text, std::regex("Filename=[^\n]*\n[^\\[]*Type=Script")));
}

TEST(GeneratedReply, StaticReplyOfAThousandGamesIsAboutAMegabyte)
{
    const std::string text = generateStaticReply(1, 1000);
    std::size_t games = 0;
    for (std::size_t at = text.find("[Reference]\n"); at != std::string::npos; at = text.find("[Reference]\n", at + 1))
        ++games;
    EXPECT_EQ(games, 1000u);
    EXPECT_GT(text.size(), 700'000u);
    EXPECT_LT(text.size(), 2'000'000u);
}

} // namespace
} // namespace quintor::sim
