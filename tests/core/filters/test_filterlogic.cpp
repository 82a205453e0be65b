#include "filters/filterlogic.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

TEST(Combination, EmptyAndMixedFlags)
{
    const std::vector<bool> none, mixed{true, false}, yes{true, true}, no{false, false};
    EXPECT_TRUE(allTrue(none));
    EXPECT_FALSE(anyTrue(none));
    EXPECT_TRUE(noneTrue(none));
    EXPECT_FALSE(allTrue(mixed));
    EXPECT_TRUE(anyTrue(mixed));
    EXPECT_FALSE(noneTrue(mixed));
    EXPECT_TRUE(allTrue(yes));
    EXPECT_TRUE(noneTrue(no));
    EXPECT_TRUE(combineConditions(CombineRule(0), yes));
    EXPECT_TRUE(combineConditions(CombineRule(1), mixed));
    EXPECT_TRUE(combineConditions(CombineRule(2), no));
    EXPECT_FALSE(combineConditions(CombineRule(3), none));
    EXPECT_FALSE(combineConditions(CombineRule(-1), yes));
}

struct Comparison {
    const char* datum;
    const char* code;
    const char* text;
    bool holds;
};

class ConditionRow : public testing::TestWithParam<Comparison> {};

TEST_P(ConditionRow, Holds)
{
    const Comparison& c = GetParam();
    EXPECT_EQ(conditionHolds(c.datum, comparisonOf(c.code), c.text), c.holds)
        << "datum '" << c.datum << "' code '" << c.code << "' text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Comparisons, ConditionRow,
    testing::Values(Comparison{"Bobby,Alice", "0", "Bob", true}, Comparison{"Bobby,Alice", "1", "Bob", false},
                    Comparison{"Lobby", "1", "lobby", false}, Comparison{"Lobby", "0", "lobby", false},
                    Comparison{"Lobby", "1", "Lobby", true}, Comparison{"anything", "0", "", false},
                    Comparison{"", "0", "", false}, Comparison{"", "1", "", true}, Comparison{"x", "1", "", false},
                    Comparison{"Lobby", "", "Lobby", false}, Comparison{"Lobby", "-1", "Lobby", false},
                    Comparison{"Lobby", "01", "Lobby", false}, Comparison{"Lobby", " 1", "Lobby", false},
                    Comparison{"Gr\xFCn", "0", "\xFC", true}));

TEST(GameDatum, ContainsDecidesAsTheComparisonDoesOnceTheBytePairsTakePart)
{
    GameRecord game;
    game.Title = "Gro\xDF"
                 "e Schlacht am Wipfelberg";
    game.Players = {{"Hansi", "", "", 1}, {"Zo\xEB", "", "", 2}};
    const char* const texts[] = {"Schlacht",      "schlacht", "Gro\xDF", "g",    "Wipfelberg",
                                 "Wipfelberge",   "lt a",     "",        "\xEB", "Hansi,Zo",
                                 "Hansi,Zo\xEB,", "Zo\xEB",   "at"};
    GameData data(game);
    // Each field is searched many times: after the first search its byte pairs rule texts out.
    for (int round = 0; round < 3; ++round) {
        for (const char* text : texts) {
            for (const ConditionField field : {ConditionField::title, ConditionField::participants}) {
                EXPECT_EQ(data.contains(field, text, BytePairs::of(text)),
                          conditionHolds(fieldDatum(game, field), comparisonOf("0"), text))
                    << text;
            }
        }
    }
    EXPECT_FALSE(data.contains(ConditionField(12), "x", BytePairs::of("x")));
}

TEST(GameDatum, EveryFieldAndVariableCode)
{
    GameRecord game;
    game.Title = "Titel";
    game.Hoster = "Host";
    game.Game = "Clonk Rage";
    game.Status = "Laufend";
    game.League = "Liga";
    game.OfficialServer = true;
    game.Players = {{"Bobby", "", "", 1}, {"Alice", "", "", 2}};
    const std::vector<std::string> fields{"Titel",   "Bobby,Alice", "Host", "",    "Clonk Rage",
                                          "Laufend", "Ja",          "Nein", "Liga"};
    GameData data(game);
    for (int code = 0; code < 9; ++code) {
        EXPECT_EQ(fieldDatum(game, ConditionField(code)), fields[static_cast<std::size_t>(code)]) << code;
        EXPECT_EQ(data.field(ConditionField(code)), fields[static_cast<std::size_t>(code)]) << code;
    }
    EXPECT_EQ(fieldDatum(game, ConditionField(9)), "");
    EXPECT_EQ(fieldDatum(game, ConditionField(-1)), "");
    for (int code = 0; code < 4; ++code)
        EXPECT_EQ(variableValue(game, ActionVariable(code)), fields[static_cast<std::size_t>(code)]);
    EXPECT_EQ(variableValue(game, ActionVariable(4)), "");
    EXPECT_EQ(data.variable(ActionVariable(4)), "");
    EXPECT_EQ(data.variable(ActionVariable(6)), ""); // variable codes stop at 3, unlike field codes

    game.Resources = {{"Objects.c4d", "", "", 0, false}, {"Melee.c4s", "", "", 0, false}};
    EXPECT_EQ(resourceList(game), "Objects.c4d,Melee.c4s");
    game.Players.clear();
    EXPECT_EQ(participantList(game), "");
}

TEST(Colours, NamesAreComparedByteForByte)
{
    EXPECT_EQ(colourOf("Blau"), 0xFF0000u);
    EXPECT_EQ(colourOf("Grau"), 0x808080u);
    EXPECT_EQ(colourOf("Rot"), 0x0000FFu);
    EXPECT_EQ(colourOf("Gelb"), 0x00FFFFu);
    EXPECT_EQ(colourOf("Orange"), 0x0080FFu);
    EXPECT_EQ(colourOf("Gr\xFCn"), 0x008000u);
    EXPECT_EQ(colourOf("gr\xFCn"), 0u);
    EXPECT_EQ(colourOf("blau"), 0u);
    EXPECT_EQ(colourOf("Gr\xC3\xBCn"), 0u); // UTF-8 is not the system's code page
    EXPECT_EQ(colourOf("Rot "), 0u);
    EXPECT_EQ(colourOf(""), 0u);
}

} // namespace
