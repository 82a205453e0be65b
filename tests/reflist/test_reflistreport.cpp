#include "reflistreport.h"
#include "settings/fileio.h"
#include "support/replies.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;
using nlohmann::json;

namespace {

std::string sample()
{
    return readWholeFile(QUINTOR_SAMPLES "/sample-reply.txt");
}

} // namespace

TEST(Inspection, SampleReplyWithoutAnApplicationFolder)
{
    const json out = inspect({std::nullopt, {sample()}, {}});
    EXPECT_EQ(out["version"], "4,9,10,7,330");
    EXPECT_EQ(out["references"], 3);
    EXPECT_EQ(out["players"], 3);
    EXPECT_EQ(out["clients"], 4);
    EXPECT_EQ(out["emptys"], 2);
    EXPECT_TRUE(out["error"].is_null());
    EXPECT_EQ(out["skipped"], json::array());
    EXPECT_EQ(out["labels"]["empcount"], "Emptys: 2 / 4 (50 %)");

    const json& games = out["games"];
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0]["Title"], "Mars\u00E4 Melee");
    // Escaped quotes and a digit escaped after an umlaut read as the host typed them.
    EXPECT_EQ(games[0]["Comment"], "Neue Spieler willkommen \"Anf\u00E4nger\"");
    EXPECT_EQ(games[0]["Hoster"], "Zo\u00EB1");
    EXPECT_EQ(games[0]["IPs"], json({"198.51.100.140", "198.51.100.140", "192.168.1.20"}));
    EXPECT_EQ(games[0]["Resources"][1]["SizeText"], "N/L");
    EXPECT_EQ(games[0]["Resources"][0]["SizeText"], "1800 KB");
    EXPECT_EQ(games[0]["Players"][1]["Name"], "M\u00FCller");
    EXPECT_EQ(games[0]["Rank"], 23);
    EXPECT_EQ(games[1]["Status"], "Laufend");
    EXPECT_EQ(games[1]["PasswordNeeded"], true);
    EXPECT_EQ(games[1]["Players"][0]["Flags"], "Joined");
    EXPECT_EQ(games[2]["Title"], "Schlo\u00DF der Tr\u00E4ume");
    EXPECT_EQ(games[2]["Status"], "Pause");
    EXPECT_EQ(games[2]["Hoster"], "Tr\u00E4umer");
    EXPECT_EQ(games[2]["Row"], json({"Schlo\u00DF der Tr\u00E4ume"}));
    EXPECT_EQ(out["order"], json({0, 2, 1}));
    EXPECT_EQ(games[0]["Actions"], json::array());
    EXPECT_TRUE(games[0]["FilterError"].is_null());
}

TEST(Inspection, SettingsAndAliasesOfTheApplicationFolder)
{
    test::TempFolder folder;
    folder.write("config.txt", "Column1=Hoster\r\nColumn2=Unbekannt\r\nColumn3=Spieler\r\ntagparse=True\r\n");
    folder.write("syno.txt", "Sven=Der Sven\r\n");
    test::GameSpec tagged;
    tagged.title = "<b>Fett</b> und <i>schr\\344g</i>";
    std::string reply = test::replyHeader() + test::referenceBlock(tagged);
    const json out = inspect({folder.path(), {readWholeFile(QUINTOR_SAMPLES "/sample-reply.txt"), reply}, {}});

    ASSERT_EQ(out["games"].size(), 4u);
    EXPECT_EQ(out["games"][1]["Row"], json({"Gold Rush", "Der Sven", "", "1 / 6"}));
    EXPECT_EQ(out["games"][3]["Title"], "Fett und schr\u00E4g");
    EXPECT_EQ(out["order"], json({0, 3, 2, 1}));
}

TEST(Inspection, ColourRunsOfTitlesAndNamesOnlyWhenTagsAreStripped)
{
    test::GameSpec coloured;
    coloured.title = "<c FF8000>Feuer</c><i>land";
    std::string reply = test::replyHeader() + test::referenceBlock(coloured);
    reply.replace(reply.find("\"Spieler1\""), 10, "\"<i>Spieler1</i>\"");
    reply.replace(reply.find("\"Host0\""), 7, "\"<c 00ff00>Host0\"");
    test::TempFolder folder;
    folder.write("config.txt", "tagparse=True\r\n");
    const json out = inspect({folder.path(), {reply}, {}});
    ASSERT_EQ(out["games"].size(), 1u);
    const json& game = out["games"][0];
    EXPECT_EQ(game["Title"], "Feuerland");
    EXPECT_EQ(game["TitleSpans"], json::parse(R"([{"start":0,"length":5,"color":"#ff8000","italic":false},
                                                  {"start":5,"length":4,"color":null,"italic":true}])"));
    EXPECT_EQ(game["HosterSpans"], json::parse(R"([{"start":0,"length":5,"color":"#00ff00","italic":false}])"));
    EXPECT_EQ(game["Players"][0]["NameSpans"], json::parse(R"([{"start":0,"length":8,"color":null,"italic":true}])"));

    // Kept tags colour nothing, and the keys are left out.
    const json raw = inspect({std::nullopt, {reply}, {}});
    EXPECT_EQ(raw["games"][0]["Title"], "<c FF8000>Feuer</c><i>land");
    EXPECT_FALSE(raw["games"][0].contains("TitleSpans"));
    EXPECT_FALSE(raw["games"][0].contains("HosterSpans"));
    EXPECT_FALSE(raw["games"][0]["Players"][0].contains("NameSpans"));
}

TEST(Inspection, AGameWithABadValueIsSkippedAndTheOthersStay)
{
    std::string broken = sample();
    broken.replace(broken.find("MaxPlayers=6"), 12, "MaxPlayers=x6");
    const json out = inspect({std::nullopt, {broken}, {}});
    EXPECT_TRUE(out["error"].is_null());
    EXPECT_EQ(out["skipped"],
              json::parse(R"([{"Title":"Gold Rush","error":"'x6' ist kein g\u00FCltiger Integerwert"}])"));
    ASSERT_EQ(out["games"].size(), 2u);
    EXPECT_EQ(out["games"][1]["Title"], "Schlo\u00DF der Tr\u00E4ume");
    // The statistic as if the game had not been there.
    EXPECT_EQ(out["references"], 2);
    EXPECT_EQ(out["players"], 2);
    EXPECT_EQ(out["labels"]["gamecount"], "Spiele offen: 2");
}

TEST(Inspection, BadTagParseSettingIsReportedAsTheError)
{
    test::TempFolder folder;
    folder.write("config.txt", "tagparse=vielleicht\r\n");
    const json out = inspect({folder.path(), {sample()}, {}});
    EXPECT_EQ(out["error"], "'vielleicht' ist kein g\u00FCltiger Boolescher Wert");
    EXPECT_TRUE(out["games"].empty());
}

namespace {

void writeFilter(const test::TempFolder& folder, const std::string& key, const std::string& conditions,
                 const std::string& actions)
{
    folder.write(key + ".txt", conditions);
    folder.write(key + "_act.txt", actions);
}

} // namespace

TEST(Inspection, FiltersOfTheApplicationFolderColourAndRecordTheirActions)
{
    test::TempFolder folder;
    folder.write("filter.txt", "grp0=Liga\r\ngrp0fil0=Alle\r\ngrp0fil1=Sch\xF6n\r\ngrp1=Zwei\r\ngrp1fil0=Passwort\r\n");
    writeFilter(folder, "grp0fil0", "typ=0\r\nactive=True\r\n", "field0=5\r\nact0=0\r\nedit0=Neu: %s\r\n");
    // "Schön": field 0 "enthält" "Schlo" -> green row and a balloon with the hoster.
    writeFilter(folder, "grp0fil1", "field0=0\r\nact0=0\r\nedit0=Schlo\r\ntyp=0\r\nactive=True\r\n",
                "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\nfield1=1\r\nact1=2\r\nedit1=Von %s\r\n");
    writeFilter(folder, "grp1fil0", "field0=7\r\nact0=1\r\nedit0=Ja\r\ntyp=0\r\nactive=True\r\n",
                "field0=4\r\nact0=4\r\nedit0=Blau\r\n");
    const json out = inspect({folder.path(), {sample()}, {}});

    const json& games = out["games"];
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0]["Actions"], json::parse(R"([{"filter":"Alle","action":5,"text":"Neu: Mars\u00E4 Melee"}])"));
    EXPECT_EQ(games[0]["Color"], 0);
    EXPECT_EQ(games[1]["Color"], 0xFF0000);
    EXPECT_EQ(games[2]["Color"], 0x008000);
    EXPECT_EQ(games[2]["Actions"], json::parse(R"([
        {"filter":"Alle","action":5,"text":"Neu: Schlo\u00DF der Tr\u00E4ume"},
        {"filter":"Sch\u00F6n","action":4,"text":"Gr\u00FCn"},
        {"filter":"Sch\u00F6n","action":1,"text":"Von Tr\u00E4umer"}])"));
    for (const auto& game : games)
        EXPECT_TRUE(game["FilterError"].is_null());
    EXPECT_TRUE(out["error"].is_null());
}

TEST(Inspection, AFailingFilterKeepsItsEarlierActionsAndIsSkippedForLaterGames)
{
    test::TempFolder folder;
    folder.write("filter.txt", "grp0=G\r\ngrp0fil0=Kaputt\r\ngrp0fil1=Danach\r\ngrp0fil2=Neu\r\n");
    writeFilter(folder, "grp0fil0", "typ=0\r\nactive=True\r\n",
                "field0=5\r\nact0=0\r\nedit0=%s\r\nfield1=5\r\nact1=0\r\nedit1=50 % mehr\r\n");
    writeFilter(folder, "grp0fil1", "typ=0\r\nactive=True\r\n", "field0=4\r\nact0=4\r\nedit0=Rot\r\n");
    folder.write("grp0fil2.txt", ""); // a new filter whose editor was closed without saving
    const json out = inspect({folder.path(), {sample()}, {}});

    const json& games = out["games"];
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0]["Actions"], json::parse(R"([
        {"filter":"Kaputt","action":5,"text":"Mars\u00E4 Melee"},
        {"filter":"Danach","action":4,"text":"Rot"}])"));
    const std::string error = games[0]["FilterError"];
    EXPECT_EQ(error.rfind("Filter \"Kaputt\": ", 0), 0u) << error;
    EXPECT_NE(error.find("50 % mehr"), std::string::npos) << error;
    for (int i : {1, 2}) {
        EXPECT_EQ(games[i]["Actions"], json::parse(R"([{"filter":"Danach","action":4,"text":"Rot"}])"));
        EXPECT_TRUE(games[i]["FilterError"].is_null());
        EXPECT_EQ(games[i]["Color"], 0x0000FF);
    }
    EXPECT_TRUE(out["error"].is_null());
}

TEST(Inspection, AConditionsFileWithoutActiveIsTheFirstGamesFilterErrorAndAnEmptyOneNoError)
{
    test::TempFolder folder;
    folder.write("filter.txt", "grp0=G\r\ngrp0fil0=Neu\r\ngrp0fil1=Halb\r\n");
    writeFilter(folder, "grp0fil0", "", ""); // new and not yet edited: inactive
    writeFilter(folder, "grp0fil1", "typ=0\r\n", "");
    const json out = inspect({folder.path(), {sample()}, {}});
    ASSERT_EQ(out["games"].size(), 3u);
    EXPECT_EQ(out["games"][0]["FilterError"], "Filter \"Halb\": '' ist kein g\u00FCltiger Boolescher Wert");
    EXPECT_TRUE(out["games"][1]["FilterError"].is_null());
}

TEST(Inspection, WithThePreviousRefreshOnlyWhatFiresIsListed)
{
    test::TempFolder folder;
    folder.write("filter.txt", "grp0=G\r\ngrp0fil0=Neu\r\ngrp0fil1=Immer\r\n");
    writeFilter(folder, "grp0fil0", "typ=0\r\nactive=True\r\nonce=True\r\n",
                "field0=5\r\nact0=0\r\nedit0=Neu: %s\r\nfield1=4\r\nact1=4\r\nedit1=Rot\r\n");
    writeFilter(folder, "grp0fil1", "typ=0\r\nactive=True\r\n", "field0=5\r\nact0=2\r\nedit0=%s\r\n");
    // Gold Rush had another title before: it is the one new game.
    std::string previous = sample();
    previous.replace(previous.find("Gold Rush"), 9, "Gold Rusk");
    const json out = inspect({folder.path(), {sample()}, {previous}});

    const json& games = out["games"];
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0]["Identity"], "Mars\u00E4 Melee\nZo\u00EB1\nTCP:198.51.100.140:11112,UDP:198.51.100.140:11113,"
                                    "TCP:192.168.1.20:11112");
    EXPECT_EQ(games[0]["Actions"], json::parse(R"([
        {"filter":"Neu","action":4,"text":"Rot"},
        {"filter":"Immer","action":5,"text":"Zo\u00EB1"}])"));
    EXPECT_EQ(games[1]["Actions"], json::parse(R"([
        {"filter":"Neu","action":5,"text":"Neu: Gold Rush"},
        {"filter":"Neu","action":4,"text":"Rot"},
        {"filter":"Immer","action":5,"text":"Sven"}])"));
    for (const auto& game : games)
        EXPECT_EQ(game["Color"], 0x0000FF);

    // Without the refresh before, every game is new.
    const json alone = inspect({folder.path(), {sample()}, {}});
    EXPECT_EQ(alone["games"][0]["Actions"].size(), 3u);
    EXPECT_EQ(alone["games"][0]["Identity"], games[0]["Identity"]);
}

TEST(Inspection, FriendsOfTheApplicationFolderInPlayerOrderThenTheHost)
{
    test::TempFolder folder;
    folder.write("friends.txt", "m\xDCLLER\r\nzo\xEB*\r\nTR\xC4UMER\r\n");
    const json out = inspect({folder.path(), {sample()}, {}});
    ASSERT_EQ(out["games"].size(), 3u);
    EXPECT_EQ(out["games"][0]["Friends"], json({"Zo\u00EB1", "M\u00FCller"}));
    EXPECT_EQ(out["games"][1]["Friends"], json::array());
    EXPECT_EQ(out["games"][2]["Friends"], json({"Tr\u00E4umer"}));
    // Without an application folder there is no list of friends to report.
    EXPECT_FALSE(inspect({std::nullopt, {sample()}, {}})["games"][0].contains("Friends"));
}
