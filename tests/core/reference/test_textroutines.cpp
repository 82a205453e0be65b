#include "reference/escapes.h"
#include "reference/textroutines.h"
#include "settings/errors.h"

#include "core/reference/cleanvalue_oracle.h"

#include <gtest/gtest.h>

#include <random>

using namespace quintor;

namespace {

struct Case {
    std::string input;
    std::string expected;
};

std::string indexed(std::string text)
{
    decodeEscapesIndexed(text);
    return text;
}

} // namespace

TEST(Cleanvalue, QuotesAndEscapes)
{
    const std::vector<Case> cases = {
        {"\"Hello\"", "Hello"},
        {"'Hello", "Hello"}, // a quote on one side only goes alone
        {"Hello\"", "Hello"},
        {"\"Hello'", "Hello"},
        {"''x''", "'x'"}, // one quote per side
        {"\"", ""},
        {"\"\"", ""},
        {"", ""},
        {"\\374ab", "\374ab"},          // 374 octal is 252
        {"\\374a", "\\374a"},           // four characters after the backslash: unchanged
        {"Titel \\374", "Titel \\374"}, // at the very end: unchanged
        {"Gr\\374ne Wiese", "Gr\xFCne Wiese"},
        {"\"Zo\\353\\61\"", "Zo\xEB\\61"},    // the short escape is left once the long one shrank the text
        {"Zo\\353\\61.c4p", "Zo\xEB/61.c4p"}, // "61." is no number: the backslash becomes a slash
        {"Melees.c4f\\\\Greed.c4s", "Melees.c4f//Greed.c4s"},
        {"\\abcde", "/abcde"}, // letters: a slash
        {"\\abcd", "\\abcd"},
        {"\\128abc", "Xabc"},    // 8 and 9 count as digits: 128 gives 88
        {"\\999abc", "\221abc"}, // 657 modulo 256 is 145
        {"\\-12abc", "Jabc"},    // a signed code: -182, low byte 74
        {"\\$1Fabc", "\036abc"}, // a hexadecimal code: -738, low byte 30
        {"\\ 12abc", "\nabc"},   // a code with a leading blank: -1014, low byte 10
        {"\\0x1abc", "Aabc"},    // 0x1 is a whole number too: 577, low byte 65
        {"\\12abcd", "/12abcd"},
        {"\\101xx\\101", "AxxA"}, // every occurrence, the short tail included
        {"\\101 \\102 \\101!", "A B A!"},
        {"\\134134xyz", "\\xyz"}, // 134 decodes to a backslash, which is decoded again
        {"\\134134134tail!", "/tail!"},
        {"a\\b\\c\\d\\efgh", "a/b/c/d\\efgh"},
        {"\\000abc", std::string("\0abc", 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cleanvalue(c.input, false), c.expected) << "input: " << c.input;
        EXPECT_EQ(oracle::cleanvalue(c.input, false), c.expected) << "oracle, input: " << c.input;
    }
}

TEST(Cleanvalue, TagsAfterEscapes)
{
    EXPECT_EQ(cleanvalue("\"<c ff0000>Rot</c> Titel\"", true), "Rot Titel");
    EXPECT_EQ(cleanvalue("\"<c ff0000>Rot</c> Titel\"", false), "<c ff0000>Rot</c> Titel");
    // Escaped "<" and ">" are tags once decoded.
    EXPECT_EQ(cleanvalue("\\074b\\076Fett", true), "Fett");
    EXPECT_EQ(cleanvalue("\\074b\\076Fett", false), "<b>Fett");
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
        EXPECT_EQ(striptags(c.input, true), c.expected) << "input: " << c.input;
        EXPECT_EQ(striptags(c.input, false), c.input);
    }
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
    EXPECT_EQ(gsyno("Hans", hansiFirst), "Der Hansi");
    EXPECT_EQ(gsyno("Han", hansiFirst), "Der Hansi");

    const TextList hansFirst({"Hans=Der Hans", "Hansi=Der Hansi"});
    EXPECT_EQ(gsyno("Hans", hansFirst), "Der Hans");
    EXPECT_EQ(gsyno("Hansi", hansFirst), "Der Hansi");
    EXPECT_EQ(gsyno("Han", hansFirst), "Der Hans");

    EXPECT_EQ(gsyno("hans", hansFirst), "hans"); // letter case counts
    EXPECT_EQ(gsyno("Fritz", hansFirst), "Fritz");
    EXPECT_EQ(gsyno("", hansFirst), "");
    EXPECT_EQ(gsyno("", TextList({"=leer"})), "");

    // A line without "=" gives the line without its first character; "=" in the alias stays.
    EXPECT_EQ(gsyno("To", TextList({"Tommy"})), "ommy");
    EXPECT_EQ(gsyno("a", TextList({"a=b=c"})), "b=c");
}

TEST(Nicestatus, TranslatesOnlyExactEnglishStates)
{
    const std::vector<Case> cases = {
        {"Running", "Laufend"}, {"Paused", "Pause"}, {"Lobby", "Lobby"},
        {"running", "running"}, {"Init", "Init"},    {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nicestatus(c.input), c.expected);
    EXPECT_EQ(nicebooltostr(true), "Ja");
    EXPECT_EQ(nicebooltostr(false), "Nein");
}

TEST(Parseip, TakesTheMiddlePartOfEachAddress)
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
        {"abc", 1, {""}},
        {"A:B", 2, {"", ""}},
        {"", 1, {""}},
    };
    for (const auto& c : cases) {
        TGameEntry entry;
        entry.Address = c.address;
        entry.AddressCount = c.count;
        parseip(entry);
        EXPECT_EQ(entry.IPs, c.ips) << c.address << " x" << c.count;
    }
}

TEST(Parseip, AppendsToEarlierPartsAndStopsAtTheLimit)
{
    TGameEntry entry;
    entry.IPs = {"alt"};
    entry.Address = "A:B:C";
    entry.AddressCount = 1;
    parseip(entry);
    EXPECT_EQ(entry.IPs, (std::vector<std::string>{"alt", "B"}));

    entry.AddressCount = std::numeric_limits<std::int32_t>::max();
    parseip(entry);
    ASSERT_EQ(entry.IPs.size(), kMaxIPs);
    EXPECT_EQ(entry.IPs[2], "B");
    EXPECT_EQ(entry.IPs.back(), "");
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

// The decoder must give the literal loop's result; escapes that decode to a backslash or that change the code of a
// backslash just before them are where a shortcut would go wrong.
TEST(CleanvalueDifferential, MatchesTheLiteralLoopOnGeneratedValues)
{
    const std::vector<std::string> pieces = {
        "\\", "\\", "\\", "134", "1", "3",     "4",     "0",     "7",     "9",   "374", "-12", "$1F", " 12", "0x1", "a",
        "Z",  "<",  ">",  "\"",  "'", "\\134", "\\101", "\\374", "\\061", "\\0", "12",  "$",   "-",   " ",   "x",
    };
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int round = 0; round < 60000; ++round) {
        const int count = round < 50000 ? static_cast<int>(random() % 14) : static_cast<int>(random() % 400);
        std::string input;
        for (int k = 0; k < count; ++k)
            input += pieces[pick(random)];
        for (bool tags : {false, true}) {
            ASSERT_EQ(cleanvalue(input, tags), oracle::cleanvalue(input, tags)) << "input: " << input;
        }
        ASSERT_EQ(indexed(input), oracle::decodeEscapes(input)) << "input: " << input;
        ASSERT_EQ(striptags(input, true), oracle::striptags(input, true)) << "input: " << input;
    }
}

TEST(CleanvalueDifferential, MatchesTheLiteralLoopOnEveryShortValue)
{
    // Every text of up to 7 characters over an alphabet that forms numeric, backslash-producing and bad codes.
    const std::string alphabet = "\\1340x";
    std::string input;
    std::vector<std::size_t> digits;
    for (std::size_t length = 0; length <= 7; ++length) {
        digits.assign(length, 0);
        for (;;) {
            input.clear();
            for (std::size_t d : digits)
                input += alphabet[d];
            const std::string expected = oracle::decodeEscapes(input);
            ASSERT_EQ(cleanvalue(input, false), expected) << "input: " << input; // no quotes in the alphabet
            ASSERT_EQ(indexed(input), expected) << "input: " << input;
            std::size_t k = 0;
            while (k < length && ++digits[k] == alphabet.size())
                digits[k++] = 0;
            if (k == length) break;
        }
    }
}

TEST(CleanvalueDifferential, LongHostileValuesDecodeInOnePass)
{
    // Literally this takes one round per "134" over the whole text; here it has to finish at once.
    std::string chain = "\\";
    for (int i = 0; i < 200000; ++i)
        chain += "134";
    EXPECT_EQ(cleanvalue(chain + "tail!", false), "/tail!");
    EXPECT_EQ(indexed(chain + "tail!"), "/tail!");

    std::string umlauts, expected;
    for (int i = 0; i < 100000; ++i) {
        umlauts += "\\344\\366\\374x";
        expected += "\xE4\xF6\xFCx";
    }
    EXPECT_EQ(cleanvalue(umlauts + "12345", false), expected + "12345");
    EXPECT_EQ(indexed(umlauts + "12345"), expected + "12345");

    std::string tags, kept;
    for (int i = 0; i < 100000; ++i) {
        tags += "<b>w</b>";
        kept += "w";
    }
    EXPECT_EQ(striptags(tags, true), kept);
}
