// Filters across refreshes: event actions for games that start to match, the colour at every refresh, and
// the join question.
#include "filters/filterengine.h"

#include "filtertestsupport.h"
#include "settings/convert.h"
#include "support/fakes.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace quintor;
using test::actionsText;
using test::conditionsText;

namespace {

// A game as one refresh lists it.
struct Listed {
    std::string title = "Lobby";
    std::string server = "A";
    std::string players = "Bob";
    std::string startTime = "100";
};

struct Refresh {
    Refresh(std::vector<Listed> listed, std::vector<std::string> unread = {}, bool file = false)
        : games(std::move(listed)), unreadServers(std::move(unread)), fromFile(file)
    {
    }
    std::vector<Listed> games;
    std::vector<std::string> unreadServers;
    bool fromFile = false; // "Aus Datei laden..."
};

struct OnceCase {
    const char* what;
    bool once;
    std::vector<Refresh> refreshes;
    std::vector<int> fired; // log lines per refresh
};

void PrintTo(const OnceCase& c, std::ostream* out)
{
    *out << c.what;
}

class FilterOnceTest : public testing::Test {
protected:
    test::TempFolder folder;
    TextList filters;
    GameStore games;
    test::RecordingActions actions{games};
    std::vector<std::string> errors;
    FilterEngine engine{filters, games, folder.path(), actions,
                        [this](const std::string& message) { errors.push_back(message); }};
    RowHandle lastRow = 0;

    // "Bob" among the players: a log line and a red row.
    void bobFilter(bool once)
    {
        test::addFilter(folder, filters, 0, 0, "Bob",
                        conditionsText({{"1", "0", "Bob"}}) + "once=" + (once ? "True" : "False") + "\r\n",
                        actionsText({{"5", "0", "Neu: %s"}, {"4", "4", "Rot"}}));
    }
    RowHandle add(const Listed& listed)
    {
        GameRecord entry;
        entry.Title = listed.title;
        entry.Hoster = "Sven";
        entry.Server = listed.server;
        entry.StartTime = listed.startTime;
        if (!listed.players.empty()) entry.Players = {{listed.players, "", "", 1}};
        entry.Item = ++lastRow;
        games.append(std::move(entry));
        return lastRow;
    }
    // One refresh as the refresh cycle runs it; how many actions of `code` it performed.
    int refresh(const Refresh& r, ActionKind code = ActionKind::writeLog)
    {
        games.clear();
        actions.performed.clear();
        engine.beginTick();
        for (const auto& listed : r.games)
            engine.evaluateFilters(add(listed));
        engine.endTick(r.unreadServers, r.fromFile);
        return static_cast<int>(std::count_if(actions.performed.begin(), actions.performed.end(),
                                              [code](const test::Performed& p) { return p.code == code; }));
    }
};

class OnceRefreshes : public FilterOnceTest, public testing::WithParamInterface<OnceCase> {};

TEST_P(OnceRefreshes, FireForNewGamesAndColourAtEveryRefresh)
{
    const OnceCase& c = GetParam();
    bobFilter(c.once);
    ASSERT_EQ(c.refreshes.size(), c.fired.size());
    for (std::size_t i = 0; i < c.refreshes.size(); ++i) {
        const Refresh& r = c.refreshes[i];
        const int matching = static_cast<int>(
            std::count_if(r.games.begin(), r.games.end(), [](const Listed& g) { return g.players == "Bob"; }));
        EXPECT_EQ(refresh(r), c.fired[i]) << "refresh " << i;
        EXPECT_EQ(
            static_cast<int>(std::count_if(actions.performed.begin(), actions.performed.end(),
                                           [](const test::Performed& p) { return p.code == ActionKind::colourRow; })),
            matching)
            << "refresh " << i;
        for (const auto& record : games.all())
            EXPECT_EQ(record.Color, record.Players.empty() ? 0u : 0x0000FFu) << "refresh " << i;
    }
    EXPECT_TRUE(errors.empty());
}

const Listed kLobby;
const Listed kOther{"Siedeln", "B", "Bob", "200"};
Listed withPlayers(std::string players)
{
    Listed game;
    game.players = std::move(players);
    return game;
}
Listed startedAt(std::string startTime)
{
    Listed game;
    game.startTime = std::move(startTime);
    return game;
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, OnceRefreshes,
    testing::Values(
        OnceCase{"a lobby in three refreshes, marked", true, {{{kLobby}}, {{kLobby}}, {{kLobby}}}, {1, 0, 0}},
        OnceCase{"a lobby in three refreshes, unmarked", false, {{{kLobby}}, {{kLobby}}, {{kLobby}}}, {1, 1, 1}},
        OnceCase{
            "a player joins, leaves and joins again", true, {{{kLobby}}, {{withPlayers("")}}, {{kLobby}}}, {1, 0, 1}},
        OnceCase{"a server that cannot be read for one refresh",
                 true,
                 {{{kLobby, kOther}}, {{kOther}, {"A"}}, {{kLobby, kOther}}},
                 {2, 0, 0}},
        OnceCase{"another server that cannot be read keeps nothing of A",
                 true,
                 {{{kLobby}}, {{}, {"B"}}, {{kLobby}}},
                 {1, 0, 1}},
        OnceCase{"two games of one identity in one refresh", true, {{{kLobby, kLobby}}, {{kLobby}}}, {2, 0}},
        OnceCase{"a new start time is a new game", true, {{{startedAt("100")}}, {{startedAt("160")}}}, {1, 1}}),
    [](const testing::TestParamInfo<OnceCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(FilterOnceTest, ClosingTheFilterEditorRunsTwoRefreshesAndTheMarkedFilterFiresOnce)
{
    bobFilter(true);
    // The first refresh is never ended: the next one begins at once.
    engine.beginTick();
    engine.evaluateFilters(add(kLobby));
    games.clear();
    EXPECT_EQ(refresh({{kLobby}}), 0);
    ASSERT_EQ(actions.performed.size(), 1u); // only the colour
    EXPECT_EQ(actions.performed[0].code, ActionKind::colourRow);
}

TEST_F(FilterOnceTest, AFilterThatFailedInTheRefreshBeforeRemembersNothing)
{
    test::addFilter(folder, filters, 0, 0, "Kaputt", conditionsText({}) + "once=True\r\n",
                    actionsText({{"5", "0", "%s"}, {"5", "0", "%d"}}));
    EXPECT_EQ(refresh({{kLobby}}), 1);
    EXPECT_EQ(refresh({{kLobby}}), 1);
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(FilterOnceTest, AGameKeptFromAFailingServerRunsNothingAndIsNotAnnouncedAgainWhenItAnswers)
{
    // The filter comes into use while A fails: only the kept copy of the lobby can tell it about it.
    EXPECT_EQ(refresh({{kLobby}}), 0);
    bobFilter(true);
    games.clear();
    actions.performed.clear();
    engine.beginTick();
    const RowHandle kept = add(kLobby);
    games.find(kept)->Stale = true;
    games.find(kept)->Color = 0x123456u;
    engine.evaluateFilters(kept, FilterActionMode::none);
    engine.endTick({"A"});
    EXPECT_TRUE(actions.performed.empty()); // not even the colour: the record keeps its own
    EXPECT_EQ(games.find(kept)->Color, 0x123456u);

    EXPECT_EQ(refresh({{kLobby}}), 0);
    EXPECT_EQ(refresh({{withPlayers("")}}), 0);
    EXPECT_EQ(refresh({{kLobby}}), 1); // a real new start still counts
    EXPECT_TRUE(errors.empty());
}

TEST_F(FilterOnceTest, EachFilterKeepsItsMemoryThroughAFileLoadAMoveAndAChangedPage)
{
    const auto logFilter = [this](int index, const std::string& name, const std::string& player) {
        test::addFilter(folder, filters, 0, index, name, conditionsText({{"1", "0", player}}) + "once=True\r\n",
                        actionsText({{"5", "0", name + ": %s"}}));
    };
    logFilter(0, "Bob", "Bob");
    logFilter(1, "Alice", "Alice");
    const Refresh servers(
        std::vector<Listed>{{.title = "Eins", .players = "Bob"}, {.title = "Zwei", .players = "Alice"}});
    EXPECT_EQ(refresh(servers), 2);
    EXPECT_EQ(refresh(servers), 0);

    // A file the user loads reads no server: afterwards the servers' games are not news.
    EXPECT_EQ(refresh(Refresh(std::vector<Listed>{{.title = "Aus der Datei", .players = "Bob"}}, {}, true)), 1);
    EXPECT_EQ(refresh(servers), 0);

    // "Alice" moves up: the files swap keys, and each filter's memory goes with it.
    filters = TextList();
    logFilter(0, "Alice", "Alice");
    logFilter(1, "Bob", "Bob");
    engine.filtersMoved({{{"grp0fil0", "grp0fil1"}, {"grp0fil1", "grp0fil0"}}, {}, std::nullopt});
    EXPECT_EQ(refresh(servers), 0);

    // Alice's page is changed and confirmed: she announces what she catches now, Bob stays quiet.
    engine.filtersMoved({{}, {"grp0fil0"}, std::nullopt});
    EXPECT_EQ(refresh(servers), 1);
    ASSERT_EQ(actions.performed.size(), 1u);
    EXPECT_EQ(actions.performed[0].text, "Alice: Zwei");
}

TEST(FilterJoin, AsksOncePerGameAndYesStartsTheGameIfItIsStillListed)
{
    test::TempFolder folder;
    folder.write("Clonk.exe", "");
    TextList filters, config;
    LogLines logLines;
    config.add("crdir=" + folder.path());
    GameStore games;
    test::ScriptedDialogs dialogs;
    test::RecordingPrompts prompts;
    test::FixedClock clock;
    test::RecordingStarter starter;
    struct NoNotifier : Notifier {
        void balloon(const std::string&, const std::string&, const std::optional<std::string>&) override {}
        void playSound(const std::string&) override {}
    } notifier;
    PlatformFilterActions actions(prompts, notifier, clock, games, logLines,
                                  JoinPorts{[&] {
                                                return GameFolderSearch{config, folder.path(), {}, dialogs};
                                            },
                                            starter});
    FilterEngine engine(filters, games, folder.path(), actions, nullptr);
    // Without the mark: the join still asks only for a game that starts to match.
    test::addFilter(folder, filters, 0, 0, "Beitreten", conditionsText({}), actionsText({{"3", "4", ""}}));

    const auto refresh = [&](std::initializer_list<std::string> titles) {
        games.clear();
        engine.beginTick();
        RowHandle row = 0;
        for (const auto& title : titles) {
            GameRecord entry;
            entry.Title = title;
            entry.Hoster = "Sven";
            entry.IPs = {"198.51.100.7"};
            entry.Item = ++row;
            games.append(std::move(entry));
            engine.evaluateFilters(row);
        }
        engine.endTick({});
    };
    refresh({"Melee"});
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Dem Spiel \"Melee\" von Sven beitreten?"});
    EXPECT_EQ(prompts.raised[0].prompt.kind, PromptKind::informationQuestion);
    EXPECT_TRUE(starter.started.empty()); // nothing waits for the answer
    prompts.answer(0, true);
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].program, folder.path() + "Clonk.exe");
    EXPECT_EQ(starter.started[0].arguments, (std::vector<std::string>{"/fullscreen", "/join:198.51.100.7"}));

    refresh({"Melee", "Siedeln"});
    refresh({"Melee", "Siedeln"});
    ASSERT_EQ(prompts.raised.size(), 2u); // only the new game asks
    prompts.answer(1, false);             // "No": nothing starts
    EXPECT_EQ(starter.started.size(), 1u);

    // Answered Yes after the game left the list: nothing starts, and the user is told why.
    refresh({"Kristall"});
    refresh({"Melee"});
    ASSERT_EQ(prompts.raised.size(), 4u); // Kristall, then Melee again as a new game
    prompts.answer(2, true);
    EXPECT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(prompts.raised.back().prompt.text, "Das Spiel ist nicht mehr in der Liste.");

    // A hostile title is cut, so that the question still stands in the box.
    refresh({std::string(5000, 'T') + "\n\n\nEnde"});
    const std::string asked = prompts.raised.back().prompt.text;
    EXPECT_EQ(asked, "Dem Spiel \"" + shortened(std::string(5000, 'T'), 200) + "\" von Sven beitreten?");
    EXPECT_LE(asked.size(), kMaxPromptTextLength);
}

} // namespace
