#include "settings/convert.h"
#include "settings/errors.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(Convert, IntegerAcceptsWhatTheReaderAccepts)
{
    struct Case {
        std::string text;
        std::optional<std::int32_t> value;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"42", 42},
        {"  42", 42}, // leading blanks
        {"+7", 7},
        {"-12", -12},
        {"007", 7},
        {"$1F", 31},
        {"0x1f", 31},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$FFFFFFFF", -1}, // hexadecimal uses all 32 bits
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"12 ", std::nullopt}, // trailing characters
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {"abc", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseInt(c.text), c.value) << "text: '" << c.text << "'";
    }
}

TEST(Convert, ConversionErrorsNameTheText)
{
    try {
        strToInt("abc");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' ist kein g\xFCltiger Integerwert");
    }
    try {
        strToBool("ja");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'ja' ist kein g\xFCltiger Boolescher Wert");
    }
    EXPECT_EQ(strToIntDef("abc", 100), 100);
    // A huge value is named by its beginning only.
    try {
        strToInt(std::string(5'000'000, 'x'));
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(100, 'x') + "...' ist kein g\xFCltiger Integerwert");
    }
    EXPECT_EQ(strToIntDef("80", 100), 80);
}

TEST(Convert, BooleanTakesWordsInAnyCaseAndNumbers)
{
    struct Case {
        std::string text;
        std::optional<bool> value;
    };
    const std::vector<Case> cases = {
        {"True", true},          {"TRUE", true},     {"true", true},        {"False", false},
        {"fAlSe", false},        {"1", true},        {"0", false},          {"-3", true},
        {"$0", false},           {"", std::nullopt}, {"yes", std::nullopt}, {"True ", std::nullopt},
        {" true", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseBool(c.text), c.value) << "text: '" << c.text << "'";
    }
    EXPECT_EQ(boolToStr(true), "True");
    EXPECT_EQ(boolToStr(false), "False");
}

TEST(Convert, ShortenedCutsAtTheLengthOrTheLineLimitAndMarksTheCut)
{
    struct Case {
        std::string text;
        std::size_t length, lines;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"kurz", 10, 3, "kurz"},
        {"genau zehn", 10, 3, "genau zehn"},
        {"elf Zeichen", 10, 3, "elf Zeiche\x85"},
        {"a\r\nb\r\nc", 100, 3, "a\r\nb\r\nc"},
        {"a\r\nb\r\nc\r\nd", 100, 3, "a\r\nb\r\nc\x85"},
        {"a\nb\nc\nd", 100, 2, "a\nb\x85"},
        {"a\r\n\r\nb", 100, 1, "a\x85"},
        {"\nx", 100, 1, "\x85"},
        {"eins\nzwei\ndrei", 6, 3, "eins\nz\x85"}, // the length comes first
    };
    for (const auto& c : cases)
        EXPECT_EQ(shortened(c.text, c.length, c.lines), c.shown) << c.text;
    EXPECT_EQ(shortened(std::string(5'000'000, 'x'), 1000), std::string(1000, 'x') + "\x85");
}
