#include "filters/filterengine.h"

#include "filtertestsupport.h"
#include "support/fakes.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace quintor;
using test::actionsText;
using test::conditionsText;
using test::Performed;
using test::Row;

namespace {

class FilterEngineTest : public testing::Test {
protected:
    test::TempFolder folder;
    TextList filters;
    GameStore games;
    test::RecordingActions actions{games};
    std::vector<std::string> errors;
    FilterEngine engine{filters, games, folder.path(), actions,
                        [this](const std::string& message) { errors.push_back(message); }};

    void filter(int group, int index, const std::string& name, const std::optional<std::string>& conditions,
                const std::optional<std::string>& actionRows)
    {
        test::addFilter(folder, filters, group, index, name, conditions, actionRows);
    }
    // A filter whose one action logs its name for every game that passes it.
    void logging(int index, const std::string& name, const std::vector<Row>& conditions, const std::string& typ = "0")
    {
        filter(0, index, name, conditionsText(conditions, typ), actionsText({{"5", "4", name}}));
    }
    RowHandle game(GameRecord entry)
    {
        entry.Item = ++lastRow_;
        games.append(std::move(entry));
        return lastRow_;
    }
    RowHandle titled(const std::string& title)
    {
        GameRecord entry;
        entry.Title = title;
        return game(std::move(entry));
    }
    void tick()
    {
        engine.beginTick();
        for (const auto& record : std::vector<GameRecord>(games.all()))
            engine.evaluateFilters(record.Item);
    }
    // The filters whose actions ran for a row, in order.
    std::vector<std::string> passedBy(RowHandle row) const
    {
        std::vector<std::string> names;
        for (const auto& p : actions.performed)
            if (p.row == row) names.push_back(p.filter);
        return names;
    }

private:
    RowHandle lastRow_ = 100;
};

TEST_F(FilterEngineTest, WithoutConditionRowsTypZeroAndTwoMatchEveryGameAndOneNone)
{
    logging(0, "alle", {}, "0");
    logging(1, "eine", {}, "1");
    logging(2, "keine", {}, "2");
    logging(3, "sieben", {}, "7");
    const RowHandle a = titled("A"), b = titled("B");
    tick();
    EXPECT_EQ(passedBy(a), (std::vector<std::string>{"alle", "keine"}));
    EXPECT_EQ(passedBy(b), (std::vector<std::string>{"alle", "keine"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterEngineTest, ComparisonsOnTheGameData)
{
    logging(0, "leeres enthaelt", {{"0", "0", ""}});
    logging(1, "ohne Definitionen", {{"3", "1", ""}});
    logging(2, "Bob", {{"1", "0", "Bob"}});
    logging(3, "lobby", {{"5", "1", "lobby"}});
    logging(4, "offiziell", {{"6", "1", "Ja"}});
    logging(5, "eine von zwei", {{"0", "1", "Melee"}, {"2", "1", "Sven"}}, "1");
    logging(6, "keine von zwei", {{"0", "1", "Melee"}, {"2", "1", "Sven"}}, "2");

    GameRecord bobby;
    bobby.Title = "Melee";
    bobby.Status = "Lobby";
    bobby.OfficialServer = true;
    bobby.Players = {{"Bobby", "", "", 1}, {"Alice", "", "", 2}};
    bobby.Resources = {{"Objects.c4d", "", "", 0, false}};
    const RowHandle first = game(bobby);
    GameRecord plain;
    plain.Title = "Siedeln";
    plain.Hoster = "Sven";
    const RowHandle second = game(plain);
    GameRecord neither;
    neither.Title = "Rennen";
    const RowHandle third = game(neither);
    tick();

    EXPECT_EQ(passedBy(first), (std::vector<std::string>{"Bob", "offiziell", "eine von zwei"}));
    EXPECT_EQ(passedBy(second), (std::vector<std::string>{"ohne Definitionen", "eine von zwei"}));
    EXPECT_EQ(passedBy(third), (std::vector<std::string>{"ohne Definitionen", "keine von zwei"}));
}

// Many filters over many games in one refresh, as a long filter list is evaluated after its first game: each game
// passes exactly the filters its title satisfies under their rule (all, one or none of two words, or no condition),
// in list order, across more filters than one word of bits holds.
TEST_F(FilterEngineTest, EveryRuleDecidesEveryGameAcrossALongFilterList)
{
    const std::vector<std::string> words = {"Burg", "Lava", "Wipf", "Gold", "Eis"};
    const int filterCount = 70;
    const auto wordsOf = [&](int n) { return std::pair(n % 5, (n / 5 + 1) % 5); };
    for (int n = 0; n < filterCount; ++n) {
        const auto [first, second] = wordsOf(n);
        const std::string typ = std::to_string(n % 3);
        if (n % 11 == 0)
            logging(n, "f" + std::to_string(n), {}, typ);
        else
            logging(n, "f" + std::to_string(n), {{"0", "0", words[first]}, {"0", "0", words[second]}}, typ);
    }
    std::vector<RowHandle> rows;
    for (int mask = 0; mask < 32; ++mask) {
        std::string title = "Spiel";
        for (int w = 0; w < 5; ++w)
            if (mask & (1 << w)) title += " " + words[w];
        rows.push_back(titled(title));
    }
    tick();
    for (int mask = 0; mask < 32; ++mask) {
        std::vector<std::string> expected;
        for (int n = 0; n < filterCount; ++n) {
            const auto [first, second] = wordsOf(n);
            const int held = n % 11 == 0 ? 0 : ((mask >> first) & 1) + ((mask >> second) & 1);
            const int rows = n % 11 == 0 ? 0 : 2;
            const bool passes = n % 3 == 0 ? held == rows : n % 3 == 1 ? held > 0 : held == 0;
            if (passes) expected.push_back("f" + std::to_string(n));
        }
        EXPECT_EQ(passedBy(rows[static_cast<std::size_t>(mask)]), expected) << "words " << mask;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterEngineTest, InactiveFiltersNeedOnlyTheirActiveFlag)
{
    filter(0, 0, "aus", conditionsText({{"0", "0", "x"}}, "0", "False"), std::nullopt); // no actions file
    filter(0, 1, "nur active", std::string("active=False\r\n"), std::nullopt);
    filter(0, 2, "aus mit kaputtem typ", conditionsText({{"kaputt", "0", ""}}, "alle", "0"), std::nullopt);
    filter(0, 7, "aus mit kaputtem once", conditionsText({}, "0", "False") + "once=kaputt\r\n", std::nullopt);
    filter(0, 3, "leere Aktionen", conditionsText({}), std::string());
    // "Neuer Filter" closed without saving: both files empty, or only blank lines in an editor's copy.
    filter(0, 4, "neu", std::string(), std::string());
    filter(0, 5, "neu, Leerzeilen", std::string("\r\n\r\n"), std::nullopt);
    logging(6, "danach", {});
    const RowHandle row = titled("x");
    tick();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(passedBy(row), (std::vector<std::string>{"danach"}));
}

TEST_F(FilterEngineTest, ActionTextsAreFormattedWithTheVariable)
{
    filter(0, 0, "Texte", conditionsText({}),
           actionsText({{"5", "0", "50%"},
                        {"5", "0", "50%%"},
                        {"5", "2", "Spiel von %s"},
                        {"5", "4", "Neu: %s"},
                        {"5", "1", "[%-8.5s]"},
                        {"5", "5", "50% %d"},
                        {"3", "0", "%s"},
                        {"9", "0", "unbekannt %s"}}));
    GameRecord entry;
    entry.Title = "Titelkampf";
    entry.Hoster = "Sven";
    entry.Players = {{"Bobby", "", "", 1}, {"Alice", "", "", 2}};
    const RowHandle row = game(entry);
    tick();
    EXPECT_EQ(actions.performed, (std::vector<Performed>{{row, "Texte", ActionKind(5), "50"},
                                                         {row, "Texte", ActionKind(5), "50%"},
                                                         {row, "Texte", ActionKind(5), "Spiel von Sven"},
                                                         {row, "Texte", ActionKind(5), "Neu: "},
                                                         {row, "Texte", ActionKind(5), "[Bobby   ]"},
                                                         {row, "Texte", ActionKind(5), "50% %d"},
                                                         {row, "Texte", ActionKind(3), "Titelkampf"},
                                                         {row, "Texte", ActionKind(9), "unbekannt Titelkampf"}}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterEngineTest, ColoursTheRecordInTheStoreAndTheLastFilterWins)
{
    filter(0, 0, "gruen", conditionsText({{"0", "0", "a"}}), actionsText({{"4", "4", "Gr\xFCn"}}));
    filter(0, 1, "blau", conditionsText({{"0", "0", "b"}}), actionsText({{"4", "4", "Blau"}}));
    filter(0, 2, "klein", conditionsText({{"0", "0", "c"}}), actionsText({{"4", "4", "gr\xFCn"}}));
    const RowHandle a = titled("a"), ab = titled("ab"), bc = titled("bc");
    tick();
    EXPECT_EQ(games.find(a)->Color, 0x008000u);
    EXPECT_EQ(games.find(ab)->Color, 0xFF0000u);
    EXPECT_EQ(games.find(bc)->Color, 0u); // lower-case "grün" paints black, after "Blau"
}

struct Broken {
    const char* what;
    std::optional<std::string> conditions;
    std::optional<std::string> actions;
    std::size_t performedBeforeFailure; // actions of the broken filter kept for the first game
    const char* reasonPart;
};

void PrintTo(const Broken& b, std::ostream* out)
{
    *out << b.what;
}

class BrokenFilter : public FilterEngineTest, public testing::WithParamInterface<Broken> {};

TEST_P(BrokenFilter, IsReportedOnceSkippedForTheTickAndTheOthersGoOn)
{
    const Broken& b = GetParam();
    logging(0, "davor", {});
    filter(0, 1, "Kaputt", b.conditions, b.actions);
    logging(2, "danach", {});
    const RowHandle first = titled("eins"), second = titled("zwei");

    tick();
    ASSERT_EQ(errors.size(), 1u) << b.what;
    EXPECT_EQ(errors[0].rfind("Filter \"Kaputt\": ", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find(b.reasonPart), std::string::npos) << errors[0];
    std::vector<std::string> expectedFirst{"davor"};
    expectedFirst.insert(expectedFirst.end(), b.performedBeforeFailure, "Kaputt");
    expectedFirst.push_back("danach");
    EXPECT_EQ(passedBy(first), expectedFirst) << b.what;
    EXPECT_EQ(passedBy(second), (std::vector<std::string>{"davor", "danach"})) << b.what;

    tick(); // the same error once more in the next refresh, as long as the file stays broken
    EXPECT_EQ(errors.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenFilter,
    testing::Values(
        Broken{"missing conditions file", std::nullopt, actionsText({}), 0, "grp0fil1.txt"},
        Broken{"conditions file without active", std::string("typ=0\r\n"), actionsText({}), 0, "''"},
        Broken{"active not a truth value", conditionsText({}, "0", "ja"), actionsText({}), 0, "'ja'"},
        Broken{"once not a truth value", conditionsText({}) + "once=ja\r\n", actionsText({}), 0, "'ja'"},
        Broken{"missing actions file of an active filter", conditionsText({}), std::nullopt, 0, "grp0fil1_act.txt"},
        Broken{"typ not a number", conditionsText({}, "alle"), actionsText({}), 0, "'alle'"},
        Broken{"field not a number", conditionsText({{"Szenario", "0", "x"}}), actionsText({}), 0, "'Szenario'"},
        Broken{"variable code not a number", conditionsText({}),
               actionsText({{"5", "4", "Kaputt"}, {"5", "", "Kaputt"}}), 1, "''"},
        Broken{"template with a second %s", conditionsText({}),
               actionsText({{"5", "4", "Kaputt"}, {"5", "4", "Kaputt"}, {"5", "0", "%s und %s"}}), 2, "%s und %s"},
        Broken{"percent and blank", conditionsText({}), actionsText({{"0", "0", "50 % mehr"}}), 0, "50 % mehr"},
        Broken{"action code not a number", conditionsText({}), actionsText({{"5", "4", "Kaputt"}, {"x1", "4", ""}}), 1,
               "'x1'"}),
    [](const testing::TestParamInfo<Broken>& info) { return "case" + std::to_string(info.index); });

TEST_F(FilterEngineTest, TheRecordNamesTheFiltersAGamePassedAndTheirExplanation)
{
    filter(0, 0, "Offene Lobbys", conditionsText({{"5", "1", "Lobby"}}), actionsText({{"4", "4", "Blau"}}));
    filter(0, 1, "Alles", conditionsText({}), actionsText({{"5", "4", "x"}}));
    filter(1, 0, "Burgen", conditionsText({{"0", "0", "Burg"}}), actionsText({{"4", "4", "Rot"}, {"5", "4", "y"}}));
    GameRecord lobby;
    lobby.Title = "Burgfest";
    lobby.Status = "Lobby";
    const RowHandle row = game(lobby);
    engine.beginTick();
    EvaluationRecord record;
    engine.evaluateFilters(row, FilterActionMode::perform, &record);
    EXPECT_EQ(matchExplanation(record), "Farbe von Gruppe 0 / Offene Lobbys\nPasst zu Gruppe 0 / Alles\n"
                                        "Farbe von Gruppe 1 / Burgen");
    EXPECT_EQ(actions.performed.size(), 4u);

    // Without actions the same filters are found, and nothing runs.
    actions.performed.clear();
    EvaluationRecord quiet;
    engine.evaluateFilters(row, FilterActionMode::none, &quiet);
    EXPECT_EQ(matchExplanation(quiet), matchExplanation(record));
    EXPECT_TRUE(actions.performed.empty());
    EXPECT_EQ(matchExplanation({}), "");
}

TEST_F(FilterEngineTest, ABrokenActionRowOfAFilterThatNoGamePassesIsNeverMet)
{
    filter(0, 0, "selten", conditionsText({{"0", "1", "niemand"}}), actionsText({{"5", "0", "%d"}}));
    titled("x");
    tick();
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterEngineTest, FilesAreReadOncePerTickAndChangesCountFromTheNextTick)
{
    logging(0, "Melee", {{"0", "0", "Melee"}});
    const RowHandle first = titled("Melee"), second = titled("Melee 2");

    engine.beginTick();
    engine.evaluateFilters(first);
    // Within the tick the files as first read still count, even when one is gone meanwhile.
    std::remove(folder.file("grp0fil0.txt").c_str());
    folder.write("grp0fil0_act.txt", "kaputt=ja\r\n");
    engine.evaluateFilters(second);
    EXPECT_EQ(passedBy(second), (std::vector<std::string>{"Melee"}));
    EXPECT_TRUE(errors.empty());

    folder.write("grp0fil0.txt", conditionsText({{"0", "0", "2"}}));
    actions.performed.clear();
    tick();
    EXPECT_TRUE(passedBy(first).empty());
    EXPECT_TRUE(passedBy(second).empty()); // the actions file now has no rows
    EXPECT_TRUE(errors.empty());
}

// Files unchanged for a few seconds are kept from tick to tick and looked at again only when they may have changed,
// whichever way that happened: in place, saved over, through a link to them or through another name of the same file;
// and also after the tick began (while it waits for a reply), as long as the filter was not read yet.
TEST_F(FilterEngineTest, AFileKeptFromAnEarlierTickIsReadAgainAfterAnyChange)
{
    namespace fs = std::filesystem;
    test::TempFolder elsewhere;
    const std::vector<Row> melee{{"0", "0", "Melee"}};
    for (int index = 0; index < 5; ++index)
        logging(index, "Filter " + std::to_string(index), melee);
    fs::remove(folder.file("grp0fil1.txt"));
    elsewhere.write("ziel.txt", conditionsText(melee));
    fs::create_symlink(elsewhere.file("ziel.txt"), folder.file("grp0fil1.txt"));
    fs::create_hard_link(folder.file("grp0fil2.txt"), elsewhere.file("zweiter-name.txt"));
    const RowHandle row = titled("Melee");
    std::this_thread::sleep_for(std::chrono::milliseconds(3500)); // the files settle: kept after their first read
    tick();
    // A second name that the file gets after it was read: what is written through it tells the folder nothing.
    fs::create_hard_link(folder.file("grp0fil4.txt"), elsewhere.file("spaeter.txt"));
    actions.performed.clear();
    tick();
    const std::vector<std::string> all{"Filter 0", "Filter 1", "Filter 2", "Filter 3", "Filter 4"};
    ASSERT_EQ(passedBy(row), all);

    actions.performed.clear();
    engine.beginTick();
    const std::string other = conditionsText({{"0", "0", "Anderes"}});
    folder.write("grp0fil0.txt", other);
    elsewhere.write("ziel.txt", other);
    elsewhere.write("zweiter-name.txt", other);
    folder.write("neu.tmp", other);
    fs::rename(folder.file("neu.tmp"), folder.file("grp0fil3.txt"));
    elsewhere.write("spaeter.txt", other);
    engine.evaluateFilters(row);
    for (const std::string& name : passedBy(row))
        EXPECT_EQ(name, "Filter 4");
    // That one counts a few ticks late, but it counts.
    for (int ticks = 0; ticks < 10 && !passedBy(row).empty(); ++ticks) {
        actions.performed.clear();
        tick();
    }
    EXPECT_TRUE(passedBy(row).empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterEngineTest, TheFilterListIsReadAtTheStartOfEachTick)
{
    logging(0, "erster", {});
    const RowHandle row = titled("x");
    tick();
    filters.setValue("grp0fil0", "umbenannt");
    tick();
    EXPECT_EQ(passedBy(row), (std::vector<std::string>{"erster", "umbenannt"}));
}

TEST_F(FilterEngineTest, ARowWithoutARecordIsLeftAlone)
{
    logging(0, "alle", {});
    engine.beginTick();
    engine.evaluateFilters(4711);
    EXPECT_TRUE(actions.performed.empty());
}

TEST(FilterEngine, TwoMessageBoxesInFilterOrderAndALogLineThroughTheProgramsActions)
{
    test::TempFolder folder;
    TextList filters;
    LogLines logLines;
    GameStore games;
    test::RecordingPrompts prompts;
    test::FixedClock clock;
    struct NoNotifier : Notifier {
        void balloon(const std::string&, const std::string&, const std::optional<std::string>&) override {}
        void playSound(const std::string&) override {}
    } notifier;
    PlatformFilterActions actions(prompts, notifier, clock, games, logLines);
    FilterEngine engine(filters, games, folder.path(), actions, nullptr);

    test::addFilter(folder, filters, 0, 0, "Erster", conditionsText({}), actionsText({{"0", "0", "Erst %s"}}));
    test::addFilter(folder, filters, 1, 0, "Ligaspiele", conditionsText({}),
                    actionsText({{"0", "2", "Dann %s"}, {"5", "0", "Neu: %s"}}));
    GameRecord entry;
    entry.Title = "Titelkampf";
    entry.Hoster = "Sven";
    entry.Item = 1;
    games.append(std::move(entry));
    engine.beginTick();
    engine.evaluateFilters(1);

    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Erst Titelkampf", "Dann Sven"}));
    ASSERT_EQ(logLines.count(), 1);
    EXPECT_EQ(logLines.line(0), "[Quintor Velmar 2.02 Beta [84] - 08.12.2026 17:02:06 - Filter \"Ligaspiele\"] "
                                "Neu: Titelkampf");
}

} // namespace
