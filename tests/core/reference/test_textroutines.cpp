#include "reference/textroutines.h"
#include "settings/errors.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace quintor;

namespace {

struct Case {
    std::string input;
    std::string expected;
};

} // namespace

TEST(Cleanvalue, QuotesAndEscapes)
{
    const std::vector<Case> cases = {
        // quotes: one per side, each side on its own
        {"\"Hello\"", "Hello"},
        {"'Hello", "Hello"},
        {"Hello\"", "Hello"},
        {"\"Hello'", "Hello"},
        {"''x''", "'x'"},
        {"\"", ""},
        {"\"\"", ""},
        {"", ""},
        // a backslash and a quote, backslash, apostrophe or question mark give that character
        {"\"Die \\\"Gro\\337e\\\" Schlacht\"", "Die \"Gro\xDF"
                                               "e\" Schlacht"},
        {"Melees.c4f\\\\Greed.c4s", "Melees.c4f\\Greed.c4s"},
        {"\\'\\?", "'?"},
        // letters of C's control characters: decoded, then blanked like every code below 32
        {"a\\ab\\bc\\fd\\ne\\rf\\tg\\vh", "a b c d e f g h"},
        {"Zeile eins\\nZeile zwei", "Zeile eins Zeile zwei"},
        // one to three octal digits, as many as stand there; the value modulo 256
        {"Gr\\374ne Wiese", "Gr\xFCne Wiese"},
        {"\\374ab", "\xFC"
                    "ab"},
        {"Titel \\374", "Titel \xFC"}, // at the very end too
        {"\"Zo\\353\\61\"", "Zo\xEB"
                            "1"},
        {"Zo\\353\\61.c4p", "Zo\xEB"
                            "1.c4p"},
        {"\\1011", "A1"}, // at most three digits
        {"\\777", "\xFF"},
        {"\\400x", " x"}, // 256 is byte 0, a blank
        {"\\000abc", " abc"},
        {"\\128abc", " 8abc"}, // 8 is no octal digit: \12 is a line break
        {"\\8", "\\8"},
        // x and one or two hexadecimal digits
        {"\\x41", "A"},
        {"\\x414", "A4"},
        {"\\xfF", "\xFF"},
        {"\\x9", " "},
        {"\\xg", "\\xg"},
        {"\\x", "\\x"},
        // anything else, or nothing, leaves the backslash
        {"\\Zabcd", "\\Zabcd"},
        {"\\-12abc", "\\-12abc"},
        {"abc\\", "abc\\"},
        {"\"\\\"", "\\"},
        // a decoded character is never read again
        {"\\\\101", "\\101"},
        {"\\\\x41", "\\x41"},
        {"\\134134xyz", "\\134xyz"},
        {"\\\\\\\\", "\\\\"},
        // control characters that arrive raw are blanked as well
        {std::string("a\tb\0c", 5), "a b c"},
        // long values, whose plain runs are looked through sixteen bytes at a time and moved in one piece
        {"Ein langer Titel ohne ein Escape bis hier: Gr\\374n", "Ein langer Titel ohne ein Escape bis hier: Gr\xFCn"},
        {"\\101 und danach ein langer Rest ohne jede Besonderheit \\102 und \\x43",
         "A und danach ein langer Rest ohne jede Besonderheit B und C"},
        {"Sechzehn Zeichen!\x01 und noch ein Tab\tmitten darin\\",
         "Sechzehn Zeichen!  und noch ein Tab mitten darin\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeValue(c.input, false), c.expected) << "input: " << c.input;
}

TEST(Cleanvalue, TagsAfterEscapes)
{
    EXPECT_EQ(decodeValue("\"<c ff0000>Rot</c> Titel\"", true), "Rot Titel");
    EXPECT_EQ(decodeValue("\"<c ff0000>Rot</c> Titel\"", false), "<c ff0000>Rot</c> Titel");
    // Escaped "<" and ">" are tags once decoded.
    EXPECT_EQ(decodeValue("\\074b\\076Fett", true), "Fett");
    EXPECT_EQ(decodeValue("\\074b\\076Fett", false), "<b>Fett");
}

TEST(Striptags, Table)
{
    const std::vector<Case> cases = {
        {"<b>x</b> und <i>y</i>", "x und y"},
        {"a>b<c>d", "a>b<c>d"}, // first ">" before first "<": all tags stay
        {"a<b", "a<b"},         // unclosed
        {"a<b>c<d", "ac<d"},
        {"<<a>>", ">"},
        {"<>", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stripTags(c.input, true), c.expected) << "input: " << c.input;
        EXPECT_EQ(stripTags(c.input, false), c.input);
        TextSpans spans;
        EXPECT_EQ(stripTagsWithSpans(c.input, spans), c.expected) << "input: " << c.input;
    }
}

TEST(Striptags, ColourAndItalicRuns)
{
    struct SpanCase {
        std::string input;
        std::string text;
        TextSpans spans;
    };
    const std::vector<SpanCase> cases = {
        {"<c ff8000>Feuer</c>land", "Feuerland", {{0, 5, 0xFF8000}}},
        // hex digits and tag names in either letter case
        {"<c 00FF00>Gr\xFCn</C> <C aBcDeF>x", "Gr\xFCn x", {{0, 4, 0x00FF00}, {5, 1, 0xABCDEF}}},
        {"<i>schr\xE4g</I> gerade", "schr\xE4g gerade", {{0, 6, std::nullopt, true}}},
        // nesting: the inner colour wins while it lasts; italics inside a colour keep the colour
        {"<c ff0000>a<c 0000ff>b</c>c</c>d", "abcd", {{0, 1, 0xFF0000}, {1, 1, 0x0000FF}, {2, 1, 0xFF0000}}},
        {"<c ff0000>a<i>b</i></c><i>c", "abc", {{0, 1, 0xFF0000}, {1, 1, 0xFF0000, true}, {2, 1, std::nullopt, true}}},
        {"<i><i>a</i>b</i>c", "abc", {{0, 2, std::nullopt, true}}},
        // a run left open ends with the text
        {"<c ff0000>offen", "offen", {{0, 5, 0xFF0000}}},
        // closers without an opener, and colours without six hex digits, colour nothing and are removed
        {"</c>allein</i>", "allein", {}},
        {"<c 12345>kurz</c>", "kurz", {}},
        {"<c ff0000>a<c 12345>b</c>c", "abc", {{0, 2, 0xFF0000}}},
        {"<c ff0000 >a<c #ff0000>b<c ff00000>c<cff0000>d", "abcd", {}},
        // other tags are removed and colour nothing; touching runs of one style are one run
        {"<b>fett</b><c 00ff00>x", "fettx", {{4, 1, 0x00FF00}}},
        {"<c ff0000>a</c><c ff0000>b</c>", "ab", {{0, 2, 0xFF0000}}},
        {"<c ff0000></c>", "", {}},
        {"<c ff0000>Pro</c> &amp; <b>Zeile</b>", "Pro &amp; Zeile", {{0, 3, 0xFF0000}}},
        // the stripping's own rules hold: a ">" before the first "<" keeps every tag, an unclosed "<" stays
        {"a>b<c ff0000>d", "a>b<c ff0000>d", {}},
        {"<c ff0000>a<b", "a<b", {{0, 3, 0xFF0000}}},
        {"<<c ff0000>>x", ">x", {}},
    };
    for (const auto& c : cases) {
        TextSpans spans;
        EXPECT_EQ(stripTagsWithSpans(c.input, spans), c.text) << "input: " << c.input;
        EXPECT_EQ(stripTags(c.input, true), c.text) << "input: " << c.input;
        EXPECT_EQ(spans, c.spans) << "input: " << c.input;
    }
}

TEST(Striptags, DeeplyNestedColoursCloseInnermostFirst)
{
    // Twelve colours, one character each, then each closed with one character after it: 1..12, 11..1, plain.
    std::string markup;
    TextSpans expected;
    for (std::uint32_t depth = 1; depth <= 12; ++depth) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "<c %06x>x", static_cast<unsigned>(depth));
        markup += tag;
        expected.push_back({depth - 1, 1, depth});
    }
    for (std::uint32_t depth = 12; depth >= 1; --depth) {
        markup += "</c>x";
        if (depth > 1) expected.push_back({24 - depth, 1, depth - 1});
    }
    TextSpans spans;
    EXPECT_EQ(stripTagsWithSpans(markup, spans), std::string(24, 'x'));
    EXPECT_EQ(spans, expected);
}

TEST(Cleanvalue, RunsCountTheDecodedCharacters)
{
    TextSpans spans;
    EXPECT_EQ(decodeValueWithSpans("\"\\074i\\076Gr\\374n\\074/i\\076 <c 00ff00>\\374</c>\"", true, spans),
              "Gr\xFCn \xFC");
    EXPECT_EQ(spans, (TextSpans{{0, 4, std::nullopt, true}, {5, 1, 0x00FF00}}));
    EXPECT_EQ(decodeValueWithSpans("\"<c 00ff00>x</c>\"", false, spans), "<c 00ff00>x</c>");
    EXPECT_EQ(spans, TextSpans());
}

TEST(Striptags, RunsWithinACutText)
{
    const TextSpans spans = {{0, 2, 0xFF0000}, {3, 4, std::nullopt, true}, {9, 1, 0x00FF00}};
    EXPECT_EQ(spansWithin(spans, 5, 2), (TextSpans{{2, 2, 0xFF0000}, {5, 2, std::nullopt, true}}));
    EXPECT_EQ(spansWithin(spans, 100), spans);
}

TEST(Octtodec, Table)
{
    const std::vector<Case> cases = {
        {"374", "252"}, {"128", "88"}, {"7", "7"}, {"", "0"}, {"-12", "-182"}, {"$1F", "-738"}, {"000", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(octtodec(c.input), c.expected) << "input: " << c.input;
}

TEST(Gsyno, FirstLineThatBeginsWithTheTextWins)
{
    const TextList hansiFirst({"Hansi=Der Hansi", "Hans=Der Hans"});
    EXPECT_EQ(aliasFor("Hans", hansiFirst), "Der Hansi");
    EXPECT_EQ(aliasFor("Han", hansiFirst), "Der Hansi");

    const TextList hansFirst({"Hans=Der Hans", "Hansi=Der Hansi"});
    EXPECT_EQ(aliasFor("Hans", hansFirst), "Der Hans");
    EXPECT_EQ(aliasFor("Hansi", hansFirst), "Der Hansi");
    EXPECT_EQ(aliasFor("Han", hansFirst), "Der Hans");

    EXPECT_EQ(aliasFor("hans", hansFirst), "hans"); // letter case counts
    EXPECT_EQ(aliasFor("Fritz", hansFirst), "Fritz");
    EXPECT_EQ(aliasFor("", hansFirst), "");
    EXPECT_EQ(aliasFor("", TextList({"=leer"})), "");

    // A line without "=" gives the line without its first character; "=" in the alias stays.
    EXPECT_EQ(aliasFor("To", TextList({"Tommy"})), "ommy");
    EXPECT_EQ(aliasFor("a", TextList({"a=b=c"})), "b=c");
}

TEST(Nicestatus, TranslatesOnlyExactEnglishStates)
{
    const std::vector<Case> cases = {
        {"Running", "Laufend"}, {"Paused", "Pause"}, {"Lobby", "Lobby"},
        {"running", "running"}, {"Init", "Init"},    {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusText(c.input), c.expected);
    EXPECT_EQ(yesNoText(true), "Ja");
    EXPECT_EQ(yesNoText(false), "Nein");
}

TEST(Parseip, TakesTheHostOfEachAddress)
{
    struct IpCase {
        std::string address;
        std::int32_t count;
        std::vector<std::string> ips;
    };
    const std::vector<IpCase> cases = {
        {"A:B:C", 0, {}},
        {"A:B:C", -3, {}},
        {"A:B:C", 1, {"B"}},
        {"A:B:C,D:E:F", 2, {"B", "E"}},
        {"A:B:C,D:E:F", 3, {"B", "E", ""}}, // more than there are: empty elements
        {"TCP:198.51.100.140:11112,UDP:198.51.100.140:11113", 2, {"198.51.100.140", "198.51.100.140"}},
        {"TCP:\"1.2.3.4:11112\"", 1, {"1.2.3.4"}},
        {"TCP:\"[2001:db8::5]:11112\",UDP:\"[2001:db8::5]:11113\"", 2, {"2001:db8::5", "2001:db8::5"}},
        {"TCP:[::1", 1, {"::1"}}, // no "]": the rest
        {"A:B:C:D", 1, {"B:C"}},  // the text before the last ":"
        {"A:B", 2, {"B", ""}},
        {"TCP:\"[2001\"\":db8::5]\":1,UDP:1\"2\"3:4", 2, {"2001:db8::5", "123"}}, // quotes inside go one by one
        {"abc", 1, {"abc"}},
        {"", 1, {""}},
    };
    for (const auto& c : cases) {
        GameRecord entry;
        entry.Address = c.address;
        entry.AddressCount = c.count;
        parseHosts(entry);
        EXPECT_EQ(entry.IPs, c.ips) << c.address << " x" << c.count;
    }
}

TEST(Parseip, WithoutACountEveryEntryCounts)
{
    GameRecord entry;
    entry.Address = "TCP:\"203.0.113.5:11112\",UDP:\"203.0.113.5:11113\",TCP:\"[2001:db8:1::7]:11112\"";
    entry.AddressCount = 1; // not given: ignored
    parseHosts(entry, false);
    EXPECT_EQ(entry.IPs, (std::vector<std::string>{"203.0.113.5", "203.0.113.5", "2001:db8:1::7"}));

    HostList many;
    appendHosts(std::string(500, ','), std::nullopt, many);
    EXPECT_EQ(many.size(), kMaxIPs);
}

TEST(Parseip, AppendsToEarlierPartsAndStopsAtTheLimit)
{
    GameRecord entry;
    entry.IPs = {"alt"};
    entry.Address = "A:B:C";
    entry.AddressCount = 1;
    parseHosts(entry);
    EXPECT_EQ(entry.IPs, (std::vector<std::string>{"alt", "B"}));

    entry.AddressCount = std::numeric_limits<std::int32_t>::max();
    parseHosts(entry);
    ASSERT_EQ(entry.IPs.size(), kMaxIPs);
    EXPECT_EQ(entry.IPs[2], "B");
    EXPECT_EQ(entry.IPs.back(), "");
}

// The hosts are kept in one text, each followed by a ",": an empty host must stay one, and no host none.
TEST(HostList, CountsEmptyHostsAndCutsAHostAtTheSeparator)
{
    const struct {
        HostList list;
        std::vector<std::string> hosts;
    } cases[] = {
        {{}, {}}, {{""}, {""}}, {{"", ""}, {"", ""}}, {{"a", "", "b"}, {"a", "", "b"}}, {{"x,y"}, {"x"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.list, c.hosts);
        EXPECT_EQ(c.list.size(), c.hosts.size());
        EXPECT_EQ(c.list.empty(), c.hosts.empty());
        for (std::size_t i = 0; i < c.hosts.size(); ++i)
            EXPECT_EQ(c.list[i], c.hosts[i]) << i;
        if (!c.hosts.empty()) {
            EXPECT_EQ(c.list.back(), c.hosts.back());
        }
    }
}

TEST(TagparseSetting, EmptyIsOffOtherwiseABooleanText)
{
    EXPECT_FALSE(tagparseSetting(TextList()));
    EXPECT_FALSE(tagparseSetting(TextList({"tagparse="})));
    EXPECT_TRUE(tagparseSetting(TextList({"TagParse=True"})));
    EXPECT_TRUE(tagparseSetting(TextList({"tagparse=1"})));
    EXPECT_FALSE(tagparseSetting(TextList({"tagparse=FALSE"})));
    try {
        tagparseSetting(TextList({"tagparse=vielleicht"}));
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("'vielleicht'"), std::string::npos) << error.what();
    }
}

TEST(Cleanvalue, LongValuesDecodeAndStripInOnePass)
{
    std::string umlauts, expected;
    for (int i = 0; i < 100000; ++i) {
        umlauts += "\\344\\366\\374x";
        expected += "\xE4\xF6\xFCx";
    }
    EXPECT_EQ(decodeValue(umlauts + "12345", false), expected + "12345");

    std::string tags, kept;
    for (int i = 0; i < 100000; ++i) {
        tags += "<b>w</b>";
        kept += "w";
    }
    EXPECT_EQ(stripTags(tags, true), kept);
}
