// The running program without a window: start-up, ticks and shut-down through fake ports, and the rule
// that nothing a tick raises waits for the user.
#include "monitor/monitor.h"
#include "refresh/refreshcycle.h"
#include "support/fakes.h"
#include "support/replies.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

using namespace quintor;

namespace {

const std::string server = "http://league.example/league/server";

// Answers each address from a table: a body, or a failure.
class TableHttp : public HttpClient {
public:
    std::map<std::string, std::string> bodies;
    std::map<std::string, std::string> failures;
    std::string get(const std::string& url, const HttpOptions&) override
    {
        if (const auto failure = failures.find(url); failure != failures.end())
            throw HttpError("HTTP request for " + url + " failed", HttpError::Kind::Connect, failure->second);
        return bodies.at(url);
    }
};

class SilentNotifier : public Notifier {
public:
    std::vector<std::string> balloons;
    std::vector<std::optional<std::string>> games; // what each balloon offers to join
    bool seen = true;                              // the tray icon is shown
    bool balloonsSeen() const override { return seen; }
    void balloon(const std::string&, const std::string& text, const std::optional<std::string>& game) override
    {
        balloons.push_back(text);
        games.push_back(game);
    }
    void click(const std::string& game) const { joinClicked(game); }
    void playSound(const std::string&) override {}
};

std::string reply(const std::vector<std::string>& titles)
{
    std::string text = test::replyHeader();
    for (const auto& title : titles)
        text += test::referenceBlock({.title = title});
    return text;
}

std::vector<std::string> lobbies(int count)
{
    std::vector<std::string> titles;
    for (int i = 1; i <= count; ++i)
        titles.push_back("Lobby " + std::to_string(i));
    return titles;
}

class MonitorTest : public ::testing::Test {
protected:
    void start()
    {
        monitor = std::make_unique<Monitor>(
            MonitorSetup{folder.path(), http, clock, starter, server, "", "", "", std::nullopt, &errors});
        monitor->attach({dialogs, presenter, notifier, list, view});
        monitor->startUp();
        monitor->finishStartUp();
    }
    // One tick, a few seconds after the last on both clocks.
    void tick()
    {
        clock.time.second += 30;
        if (clock.time.second >= 60) {
            clock.time.second -= 60;
            ++clock.time.minute;
        }
        monitor->requestTick();
    }
    // A filter of the lobbies with these action rows (field, act, text).
    void lobbyFilter(const std::string& actions, bool once = false)
    {
        folder.write("filter.txt", "grp0=Beispiele\r\ngrp0fil0=Lobbys\r\n");
        folder.write("grp0fil0.txt", std::string("active=True\r\n") + (once ? "once=True\r\n" : "") +
                                         "typ=0\r\nfield0=5\r\nact0=1\r\nedit0=Lobby\r\n");
        folder.write("grp0fil0_act.txt", actions);
    }
    std::vector<std::string> captions(bool stale) const
    {
        std::vector<std::string> found;
        for (const auto& game : monitor->state().games.all())
            if (game.Stale == stale) found.push_back(game.Title);
        return found;
    }

    test::TempFolder folder;
    TableHttp http;
    test::FixedClock clock;
    test::RecordingStarter starter;
    test::ScriptedDialogs dialogs;
    test::ScriptedPresenter presenter;
    SilentNotifier notifier;
    test::RecordingListView list;
    test::RecordingMainView view;
    std::ostringstream errors;
    std::unique_ptr<Monitor> monitor;
};

} // namespace

TEST_F(MonitorTest, StartsTicksThreeTimesAndWritesEveryFileAtShutDown)
{
    folder.write("server.txt", server + "\r\n");
    folder.write("syno.txt", "Lobby 1=Erste Lobby\r\n");
    folder.write("config.txt", "Column1=Status\r\n");
    lobbyFilter("field0=5\r\nact0=0\r\nedit0=Neu: %s\r\n", true);
    http.bodies[server] = reply({"Lobby 1"});
    start();
    EXPECT_EQ(monitor->filters().value("grp0fil0"), "Lobbys");

    tick();
    http.bodies[server] = reply({"Lobby 1", "Lobby 2"});
    tick();
    tick();
    EXPECT_EQ(list.captions(), (std::vector<std::string>{"Erste Lobby", "Lobby 2"}));
    EXPECT_EQ(view.labels[Label::openGames], "Spiele offen: 2");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(presenter.presented.empty());

    bool quitNow = false;
    monitor->requestQuit(ShutdownCause::user, [&] { quitNow = true; });
    ASSERT_TRUE(quitNow);
    EXPECT_TRUE(monitor->shutDown(640, 480, 10, 20, {}));
    EXPECT_EQ(folder.read("server.txt"), server + "\r\n");
    EXPECT_EQ(folder.read("syno.txt"), "Lobby 1=Erste Lobby\r\n");
    const std::string config = folder.read("config.txt");
    for (const char* line : {"Column1=Status", "width=640", "height=480", "top=10", "left=20"})
        EXPECT_NE(config.find(line), std::string::npos) << line;
    // Each lobby logged once: the filter reports a game once.
    const std::string log = folder.read("log.txt");
    EXPECT_NE(log.find("Filter \"Lobbys\"] Neu: Lobby 1\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Filter \"Lobbys\"] Neu: Lobby 2\r\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
    EXPECT_TRUE(folder.exists("history.txt"));
    EXPECT_TRUE(errors.str().empty());
}

TEST_F(MonitorTest, TicksWaitForTheStartUpToFinish)
{
    folder.write("server.txt", server + "\r\n");
    http.bodies[server] = reply({"Greed Arena"});
    monitor = std::make_unique<Monitor>(MonitorSetup{folder.path(), http, clock, starter, server});
    monitor->attach({dialogs, presenter, notifier, list, view});
    monitor->startUp();
    monitor->requestTick(); // the window shows before the feed and the filters are there
    EXPECT_TRUE(list.rows.empty());
    monitor->finishStartUp();
    EXPECT_EQ(list.captions(), std::vector<std::string>{"Greed Arena"});
}

TEST_F(MonitorTest, AnUnansweredOutageQuestionStopsNoTick)
{
    folder.write("server.txt", server + "\r\n");
    http.bodies[server] = reply({"Greed Arena", "Goldmine"});
    start();
    tick();
    http.failures[server] = "Keine Antwort vom Server";
    tick();
    ASSERT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(presenter.presented[0].kind, PromptKind::errorQuestion);
    EXPECT_NE(presenter.presented[0].text.find("Soll dieser Server aus der Liste entfernt werden?"), std::string::npos);
    // The question was put up after the tick had listed the kept games.
    EXPECT_EQ(captions(true), (std::vector<std::string>{"Greed Arena", "Goldmine"}));

    // Three more ticks while it stands: each runs in full, nothing is asked twice.
    for (int i = 0; i < 3; ++i) {
        const std::string before = view.labels[Label::updateTime];
        tick();
        EXPECT_NE(view.labels[Label::updateTime], before);
        EXPECT_EQ(captions(true), (std::vector<std::string>{"Greed Arena", "Goldmine"}));
    }
    EXPECT_EQ(presenter.presented.size(), 1u);
    EXPECT_TRUE(presenter.standing());
    EXPECT_TRUE(dialogs.shown.empty());

    presenter.answer(false); // keep it
    EXPECT_EQ(monitor->state().servers.count(), 1);
}

TEST_F(MonitorTest, SixtyMessagesQueueFiftyAndTheLastSaysHowManyWereLeftOut)
{
    folder.write("server.txt", server + "\r\n");
    lobbyFilter("field0=0\r\nact0=0\r\nedit0=Offen: %s\r\n");
    http.bodies[server] = reply(lobbies(60));
    start();
    tick();
    ASSERT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(monitor->promptsWaiting(), 49u);
    EXPECT_EQ(presenter.presented[0].text, "Offen: Lobby 1");

    // The next tick raises the same filter and games again: none of them is queued twice.
    tick();
    EXPECT_EQ(monitor->promptsWaiting(), 49u);

    for (int i = 1; i < 50; ++i)
        presenter.answer(true);
    ASSERT_EQ(presenter.presented.size(), 50u);
    EXPECT_EQ(presenter.presented.back().text, "Offen: Lobby 50\r\n\r\n\x85 und 10 weitere Meldungen");
    presenter.answer(true);
    EXPECT_FALSE(presenter.standing());
}

TEST_F(MonitorTest, AJoinAnsweredAfterTheGameLeftStartsNothing)
{
    folder.write("server.txt", server + "\r\n");
    folder.write("Clonk.exe", "");
    folder.write("config.txt", "crdir=" + folder.path() + "\r\n");
    lobbyFilter("field0=3\r\nact0=4\r\nedit0=\r\n");
    http.bodies[server] = reply({"Greed Arena"});
    start();
    tick();
    ASSERT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(presenter.presented[0].text, "Dem Spiel \"Greed Arena\" von Host0 beitreten?");

    http.bodies[server] = reply({"Goldmine"});
    tick(); // Goldmine asks too, after the first question
    presenter.answer(true);
    EXPECT_TRUE(starter.started.empty());
    ASSERT_EQ(presenter.presented.size(), 2u);
    EXPECT_EQ(presenter.presented[1].text, "Dem Spiel \"Goldmine\" von Host0 beitreten?");
    presenter.answer(true); // this one is still listed
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].arguments.back(), "/join:198.51.100.7");
    ASSERT_EQ(presenter.presented.size(), 3u);
    EXPECT_EQ(presenter.presented[2].text, "Das Spiel ist nicht mehr in der Liste.");
}

TEST_F(MonitorTest, AnAnswerThatArrivesDuringATickWaitsForItsEnd)
{
    folder.write("server.txt", server + "\r\n" + "http://second.example/league/server\r\n");
    http.bodies[server] = reply({"Greed Arena"});
    http.failures["http://second.example/league/server"] = "Verbindung abgelehnt";
    start();
    tick();
    ASSERT_TRUE(presenter.standing());
    // The user answers while the next tick waits for a server (the window's event loop runs then).
    http.bodies[server] = reply({"Goldmine"});
    view.whileTicking = [&] {
        view.whileTicking = nullptr;
        presenter.answer(true);
        EXPECT_EQ(monitor->state().servers.count(), 2) << "removed in the middle of the tick";
    };
    tick();
    EXPECT_EQ(monitor->state().servers.lines(), std::vector<std::string>{server});
}

TEST_F(MonitorTest, FriendsAreAnnouncedAndTheBalloonsJoinTheirGame)
{
    folder.write("server.txt", server + "\r\n");
    folder.write("Clonk.exe", "");
    folder.write("config.txt", "crdir=" + folder.path() + "\r\n");
    folder.write("friends.txt", "Anna\r\nclan-*\r\n");
    const auto games = [](const std::string& annasGame) {
        std::string text = test::replyHeader();
        for (const std::string title : {"Greed Arena", "Goldmine"}) {
            test::GameSpec game{.title = title};
            game.playerNames = {title == annasGame ? "Anna" : "Otto"};
            text += test::referenceBlock(game);
        }
        return text;
    };
    http.bodies[server] = games("Greed Arena");
    start();
    notifier.seen = false; // the window is open: no balloon would be seen
    tick();
    EXPECT_TRUE(notifier.balloons.empty());
    EXPECT_EQ(view.labels[Label::friendsOnline], "Freunde online: 1");
    EXPECT_EQ(view.trayLine, "Freunde online: Anna");
    // In the tray: who is already online, in one balloon.
    notifier.seen = true;
    tick();
    ASSERT_EQ(notifier.balloons, std::vector<std::string>{"Anna ist in \x84Greed Arena\x93 (Lobby)"});

    tick(); // she stays
    ASSERT_EQ(notifier.balloons.size(), 1u);
    http.bodies[server] = games("Goldmine");
    tick(); // she moves
    ASSERT_EQ(notifier.balloons.size(), 2u);
    EXPECT_EQ(notifier.balloons[1], "Anna ist jetzt in \x84Goldmine\x93 (Lobby)");
    const std::optional<std::string> greedArena = notifier.games[0], goldmine = notifier.games[1];
    ASSERT_TRUE(goldmine && greedArena);

    // "Beitreten": the game starts as the list's "Beitreten" starts it, without a question.
    notifier.click(*goldmine);
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].arguments.back(), "/join:198.51.100.7");
    // A click during a tick waits for its end.
    view.whileTicking = [&] {
        view.whileTicking = nullptr;
        notifier.click(*goldmine);
        EXPECT_EQ(starter.started.size(), 1u) << "joined in the middle of the tick";
    };
    tick();
    EXPECT_EQ(starter.started.size(), 2u);

    // A game that has left the list only says so, in the status bar.
    http.bodies[server] = test::replyHeader() + test::referenceBlock({.title = "Greed Arena"});
    tick();
    notifier.click(*goldmine);
    EXPECT_EQ(starter.started.size(), 2u);
    ASSERT_FALSE(view.statusTexts.empty());
    EXPECT_TRUE(view.statusTexts.back().ends_with(" - Das Spiel ist nicht mehr in der Liste."))
        << view.statusTexts.back();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(presenter.presented.empty());
    EXPECT_EQ(view.labels[Label::friendsOnline], "Freunde online: 0");
    EXPECT_EQ(view.trayLine, "");

    // "Freunde melden" off: tracked, not announced.
    monitor->setFriendNotify(false);
    http.bodies[server] = games("Greed Arena");
    tick();
    EXPECT_EQ(notifier.balloons.size(), 2u);
    EXPECT_EQ(view.labels[Label::friendsOnline], "Freunde online: 1");

    monitor->state().friends.add("Bert");
    bool quitNow = false;
    monitor->requestQuit(ShutdownCause::user, [&] { quitNow = true; });
    ASSERT_TRUE(quitNow);
    EXPECT_TRUE(monitor->shutDown(640, 480, 10, 20, {}));
    EXPECT_EQ(folder.read("friends.txt"), "Anna\r\nclan-*\r\nBert\r\n");
    EXPECT_NE(folder.read("config.txt").find("friendnotify=False\r\n"), std::string::npos);
}

// A column widened after the last tick keeps its width: shut-down stores the widths as a tick does.
// A chosen file longer than any reply may be is refused at once: a file of hundreds of megabytes stood the window
// still for many seconds while it was read whole, and took as much memory again.
TEST_F(MonitorTest, AFileTooLongForAListIsNotLoaded)
{
    folder.write("server.txt", server + "\r\n");
    http.bodies[server] = reply({"Vom Server"});
    start();
    tick();
    folder.write("riesig.txt", reply({"Aus der Datei"}));
    std::filesystem::resize_file(folder.file("riesig.txt"), RefreshCycle::maxLoadFileBytes + 1);
    dialogs.inputs.push_back(folder.file("riesig.txt"));
    monitor->chooseFileToLoad();
    ASSERT_EQ(dialogs.textsOf("error").size(), 1u);
    EXPECT_NE(dialogs.textsOf("error")[0].find("riesig.txt\" ist zu gro\xDF"), std::string::npos);
    EXPECT_TRUE(monitor->state().pendingLoadFile.empty());
    EXPECT_EQ(captions(false), std::vector<std::string>{"Vom Server"});
}

TEST_F(MonitorTest, ShutDownKeepsAColumnWidenedSinceTheLastTick)
{
    folder.write("server.txt", server + "\r\n");
    folder.write("config.txt", "Column1=Status\r\n");
    http.bodies[server] = reply({"Lobby 1"});
    start();
    tick();
    ASSERT_EQ(list.columns.size(), std::size_t(2));
    list.columns[0].width = 240;
    list.columns[1].width = 55;

    bool quitNow = false;
    monitor->requestQuit(ShutdownCause::user, [&] { quitNow = true; });
    ASSERT_TRUE(quitNow);
    EXPECT_TRUE(monitor->shutDown(640, 480, 10, 20, {}));
    const std::string config = folder.read("config.txt");
    for (const char* line : {"ColumnWidth0=240\r\n", "ColumnWidth1=55\r\n"})
        EXPECT_NE(config.find(line), std::string::npos) << config;
}
