// Masterservers that fail for a while: one question per outage, the status bar, the last good list,
// the built-in server's fallback and the way back from offline mode.
#include "refresh/refreshcycle.h"
#include "support/fakes.h"
#include "support/replies.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace quintor;

namespace {

const std::string serverA = "http://a.example/league/server";
const std::string serverB = "http://b.example/league/server";
const std::string builtIn = "http://builtin.example:84/league/server";
const std::string fallback = "http://builtin.example:80/league/server";
const std::string flood = "Flood protection, max. of 700 backend requests per 3600 second(s) reached";

std::string reply(std::initializer_list<std::string> titles)
{
    std::string text = test::replyHeader();
    for (const auto& title : titles) {
        test::GameSpec game;
        game.title = title;
        text += test::referenceBlock(game);
    }
    return text;
}

// Answers each address from a table: a body, or a failure with its reason.
class ScriptedHttp : public HttpClient {
public:
    struct Answer {
        std::string body;
        std::string failure; // not empty: the request fails with this reason
    };
    std::map<std::string, Answer> answers;
    std::vector<std::string> asked;

    std::string get(const std::string& url, const HttpOptions& options) override
    {
        asked.push_back(url);
        EXPECT_TRUE(options.onlyStatus200) << "a list comes only with status 200";
        const Answer& answer = answers.at(url);
        if (!answer.failure.empty())
            throw HttpError("HTTP request for " + url + " failed", HttpError::Kind::Other, answer.failure);
        return answer.body;
    }
};

class CountingFilter : public GameFilter {
public:
    std::vector<RowHandle> evaluated, stale;
    FilterMatches matches; // of every game
    void beginTick() override {}
    FilterMatches evaluateFilters(RowHandle row) override
    {
        evaluated.push_back(row);
        return matches;
    }
    FilterMatches filterStale(RowHandle row) override
    {
        stale.push_back(row);
        return matches;
    }
};

class RefreshOutageTest : public ::testing::Test {
protected:
    RefreshOutageTest() { state.appFolder = folder.path(); }

    void tickAt(int hour, int minute, int second, int day = 8)
    {
        clock.time = {2026, 12, day, hour, minute, second, 0};
        filter.evaluated.clear();
        filter.stale.clear();
        refresh.runTick();
    }
    std::vector<std::string> titles(bool stale) const
    {
        std::vector<std::string> found;
        for (const auto& game : state.games.all())
            if (game.Stale == stale) found.push_back(game.Title);
        return found;
    }
    std::size_t questions() const { return prompts.raised.size(); }

    test::TempFolder folder;
    MonitorState state;
    test::RecordingListView list;
    test::RecordingMainView view;
    test::RecordingPrompts prompts;
    test::FixedClock clock;
    ScriptedHttp http;
    CountingFilter filter;
    RefreshCycle refresh{state, RefreshPorts{list, view, prompts, http, clock, builtIn, nullptr, &filter, fallback}};
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(RefreshOutageTest, AFailingServerIsAskedOnceAndItsLastGoodGamesStayStale)
{
    state.servers.add(serverA);
    state.servers.add(serverB);
    http.answers = {{serverA, {reply({"A1", "A2"}), ""}}, {serverB, {reply({"B1"}), ""}}};
    tickAt(17, 0, 0);
    ASSERT_EQ(titles(false), (Strings{"A1", "A2", "B1"}));

    // The league's flood text is a failure: one question that names it and starts on "Nein".
    http.answers[serverA] = {flood, ""};
    filter.matches = {std::make_shared<const std::vector<std::string>>(1, "Farbe von G / F"), {0}};
    tickAt(17, 0, 30);
    const auto asked = prompts.texts();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Keine Verbindung zu Server " + serverA + "! Das ist gar nicht gut!\r\r" + flood +
                            "\r\rSoll dieser Server aus der Liste entfernt werden?");
    EXPECT_EQ(prompts.raised[0].prompt.defaultButton, DefaultButton::no);
    // A2 was completed while B's reply was read, yet it is A's game.
    EXPECT_EQ(titles(false), Strings{"B1"});
    EXPECT_EQ(titles(true), (Strings{"A1", "A2"}));
    EXPECT_EQ(view.labels[Label::openGames], "Spiele offen: 1");
    EXPECT_EQ(filter.evaluated.size(), 1u); // no event action for the kept games
    EXPECT_EQ(filter.stale.size(), 2u);
    for (const auto& row : list.rows)
        EXPECT_EQ(row.toolTip, row.caption == "B1" ? "Farbe von G / F" : "Stand: 17:00:00\nFarbe von G / F")
            << row.caption;
    EXPECT_EQ(view.statusTexts.back(),
              "Quintor Velmar 2.02 Beta [84] - Bereit - Server " + serverA + " nicht erreichbar seit 17:00:30");

    // A goes on failing (now with a status), B begins to: only B is asked, the bar names the older outage.
    http.answers[serverA] = {"", "HTTP-Status 503"};
    http.answers[serverB] = {"", "Keine Antwort vom Server"};
    tickAt(17, 1, 0);
    ASSERT_EQ(questions(), 2u);
    EXPECT_NE(prompts.texts()[1].find(serverB + "! Das ist gar nicht gut!\r\rKeine Antwort vom Server"),
              std::string::npos);
    EXPECT_EQ(titles(true), (Strings{"A1", "A2", "B1"}));
    EXPECT_EQ(view.statusTexts.back(),
              "Quintor Velmar 2.02 Beta [84] - Bereit - Server " + serverA + " nicht erreichbar seit 17:00:30");

    // Both answer again: the outages end; a later failure is a new outage and asks again.
    http.answers = {{serverA, {reply({"A3"}), ""}}, {serverB, {"", ""}}};
    tickAt(17, 1, 30);
    EXPECT_EQ(titles(false), Strings{"A3"});
    EXPECT_TRUE(titles(true).empty());
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit");
    http.answers[serverA] = {"<html>Wartungsarbeiten</html>", ""};
    tickAt(17, 2, 0);
    EXPECT_EQ(questions(), 3u);
    EXPECT_EQ(titles(true), Strings{"A3"});
}

TEST_F(RefreshOutageTest, LastGoodGamesAreDroppedAfterTenMinutes)
{
    state.servers.add(serverA);
    http.answers = {{serverA, {reply({"A1"}), ""}}};
    tickAt(23, 55, 0, 8);
    http.answers[serverA] = {"", "Verbindung abgelehnt"};
    tickAt(0, 5, 0, 9); // ten minutes, across midnight
    EXPECT_EQ(titles(true), Strings{"A1"});
    tickAt(0, 5, 1, 9);
    EXPECT_TRUE(state.games.all().empty());
    EXPECT_EQ(questions(), 1u);
}

TEST_F(RefreshOutageTest, AgesGoByTheSteadyClockNotTheWallClock)
{
    state.servers.add(serverA);
    http.answers = {{serverA, {reply({"A1"}), ""}}};
    clock.steady = std::chrono::minutes(100);
    tickAt(17, 0, 0);
    // Five minutes later the wall clock is set back an hour (daylight saving ends): the list is still fresh.
    http.answers[serverA] = {"", "Verbindung abgelehnt"};
    clock.steady = std::chrono::minutes(105);
    tickAt(16, 5, 0);
    EXPECT_EQ(titles(true), Strings{"A1"});
    EXPECT_EQ(list.rows.at(0).toolTip, "Stand: 17:00:00"); // the time shown is the wall clock's
    // And a clock set forward a day does not drop it either; eleven steady minutes do.
    clock.steady = std::chrono::minutes(109);
    tickAt(17, 9, 0, 9);
    EXPECT_EQ(titles(true), Strings{"A1"});
    clock.steady = std::chrono::minutes(111);
    tickAt(17, 11, 0, 9);
    EXPECT_TRUE(state.games.all().empty());
}

TEST_F(RefreshOutageTest, AYesThatNoLongerAppliesChangesNothing)
{
    state.servers.add(serverA);
    state.servers.add(serverB);
    http.answers = {{serverA, {reply({"A1"}), ""}}, {serverB, {reply({"B1"}), ""}}};
    tickAt(17, 0, 0);
    http.answers[serverA] = {"", "Verbindung abgelehnt"};
    tickAt(17, 0, 30);
    ASSERT_EQ(questions(), 1u);
    // The server answers again before the user does: the question's premise is gone.
    http.answers[serverA] = {reply({"A2"}), ""};
    tickAt(17, 1, 0);
    prompts.answer(0, true);
    EXPECT_EQ(state.servers.lines(), (Strings{serverA, serverB}));

    // A Yes while the outage goes on removes the server and its kept games at once, not at the next tick.
    http.answers[serverA] = {"", "Verbindung abgelehnt"};
    tickAt(17, 1, 30);
    ASSERT_EQ(questions(), 2u);
    EXPECT_EQ(titles(true), Strings{"A2"});
    prompts.answer(1, true);
    EXPECT_EQ(state.servers.lines(), Strings{serverB});
    EXPECT_TRUE(titles(true).empty());
    EXPECT_EQ(list.captions(), Strings{"B1"});
    EXPECT_TRUE(state.online);
}

TEST_F(RefreshOutageTest, OnlyTheBuiltInServerFallsBack)
{
    state.servers.add(builtIn);
    state.servers.add(serverA);
    http.answers = {{builtIn, {"", "Verbindung abgelehnt"}},
                    {fallback, {reply({"Fallback"}), ""}},
                    {serverA, {"", "Server nicht gefunden"}}};
    tickAt(17, 0, 0);
    EXPECT_EQ(http.asked, (Strings{builtIn, fallback, serverA}));
    ASSERT_EQ(questions(), 1u);
    EXPECT_NE(prompts.texts()[0].find(serverA), std::string::npos);
    EXPECT_EQ(titles(false), Strings{"Fallback"});
    EXPECT_EQ(state.servers.lines(), (Strings{builtIn, serverA})); // the fallback never joins the list
    // The bar says who answers; that note is older than A's outage, which waits behind it.
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit - Server " + builtIn +
                                           " nicht erreichbar \x96 Ersatzserver " + fallback + " antwortet");

    // When the fallback fails too, the built-in server is the one that failed, for its own reason.
    http.answers[fallback] = {flood, ""};
    tickAt(17, 0, 30);
    ASSERT_EQ(questions(), 2u);
    EXPECT_NE(prompts.texts()[1].find(builtIn + "! Das ist gar nicht gut!\r\rVerbindung abgelehnt"), std::string::npos);
    EXPECT_EQ(titles(true), Strings{"Fallback"});
}

TEST_F(RefreshOutageTest, GoingBackOnlineRestoresTheServerList)
{
    folder.write("server.txt", serverA + "\r\n" + serverB + "\r\n");
    state.servers.add(serverA);
    http.answers = {{serverA, {"", "Keine Antwort vom Server"}}, {serverB, {reply({"B1"}), ""}}};
    tickAt(17, 0, 0);
    prompts.answer(0, true);
    ASSERT_FALSE(state.online);

    http.answers[serverA] = {reply({"A1"}), ""};
    clock.time.second = 30;
    refresh.leaveOfflineMode();
    EXPECT_TRUE(state.online);
    EXPECT_TRUE(view.timerStarted);
    EXPECT_EQ(state.servers.lines(), (Strings{serverA, serverB}));
    EXPECT_EQ(titles(false), (Strings{"A1", "B1"}));
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit");
}
