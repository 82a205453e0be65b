#include "settings/encoding.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(Encoding, Windows1252ToUtf8)
{
    EXPECT_EQ(windows1252ToUtf8("Gr\xFCn"), "Gr\u00FCn");
    EXPECT_EQ(windows1252ToUtf8("\x80\x8A\x9F\xA0\xFF"), "\u20AC\u0160\u0178\u00A0\u00FF");
    // The five undefined bytes keep their value as code points.
    EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(windows1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Encoding, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

TEST(Encoding, Utf8ToWindows1252)
{
    EXPECT_EQ(utf8ToWindows1252("Stra\u00DFe \u20AC"), "Stra\xDF"
                                                       "e \x80");
    EXPECT_EQ(utf8ToWindows1252("\u4E2D"), "?");       // not in the code page
    EXPECT_EQ(utf8ToWindows1252("\U0001F600x"), "?x"); // four-byte sequence
    EXPECT_EQ(utf8ToWindows1252("a\xFC"
                                "b"),
              "a\xFC"
              "b");                               // stray byte taken as it is
    EXPECT_EQ(utf8ToWindows1252("\xC3"), "\xC3"); // cut-off sequence
}
