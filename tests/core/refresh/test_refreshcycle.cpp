#include "refresh/refreshcycle.h"
#include "settings/errors.h"
#include "support/fakes.h"
#include "support/loopbackserver.h"
#include "support/replies.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quintor;
using quintor::test::GameSpec;

namespace {

const std::string offlineMessage = "Kein Server erreichhar / Keiner in der Liste. Automatisches Holen der "
                                   "Referenzliste wird deaktiviert. Quintor ist nun im Offline-Modus!";

std::string reply(std::initializer_list<GameSpec> games)
{
    std::string text = test::replyHeader();
    for (const auto& g : games)
        text += test::referenceBlock(g);
    return text;
}

GameSpec titled(std::string title, std::string state = "Lobby")
{
    GameSpec g;
    g.title = std::move(title);
    g.state = std::move(state);
    return g;
}

// Records the order in which the filters saw the games, and what the row looked like then.
class RecordingFilter : public GameFilter {
public:
    explicit RecordingFilter(test::RecordingListView& list) : list_(list) {}
    int ticks = 0;
    std::vector<RowHandle> rows;
    std::vector<std::string> captionsSeen;
    std::vector<std::vector<std::string>> unreadAtEnd; // per ended tick
    void beginTick() override { ++ticks; }
    void endTick(const std::vector<std::string>& unreadServers, bool) override { unreadAtEnd.push_back(unreadServers); }
    FilterMatches evaluateFilters(RowHandle row) override
    {
        rows.push_back(row);
        const auto* own = list_.find(row);
        captionsSeen.push_back(own ? own->caption : "(no row)");
        return {};
    }

private:
    test::RecordingListView& list_;
};

class RefreshCycleTest : public ::testing::Test {
protected:
    RefreshCycleTest() { state.appFolder = folder.path(); }

    RefreshCycle cycle(const std::string& defaultServer = "http://127.0.0.1:9/league/server")
    {
        RefreshPorts ports{list, view, prompts, *http, clock, defaultServer, [this] { ++noticeBoardBuilds; }, &filter};
        ports.serversRead = [this](const ParseCounters& counts) { serversRead.push_back(counts); };
        return RefreshCycle(state, std::move(ports));
    }

    test::TempFolder folder;
    MonitorState state;
    test::RecordingListView list;
    test::RecordingMainView view;
    test::RecordingPrompts prompts;
    test::FixedClock clock;
    std::unique_ptr<HttpClient> http = makeCurlHttpClient();
    RecordingFilter filter{list};
    int noticeBoardBuilds = 0;
    std::vector<ParseCounters> serversRead; // per tick that read a masterserver
};

} // namespace

TEST_F(RefreshCycleTest, AnEmptyServerListGetsTheDefaultAddress)
{
    test::LoopbackServer server({{"/league/server", reply({titled("Alpha")})}});
    auto c = cycle(server.url("/league/server"));
    c.runTick();
    EXPECT_EQ(state.servers.lines(), std::vector<std::string>{server.url("/league/server")});
    EXPECT_EQ(list.captions(), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(noticeBoardBuilds, 1);
    EXPECT_EQ(view.labels[Label::gameVersion], "Clonk-Version: 4,9,10,7,330");
    EXPECT_EQ(view.labels[Label::updateTime], "Aktualisierung: 17:02:06 Uhr");
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit");
    EXPECT_NE(std::find(view.statusTexts.begin(), view.statusTexts.end(), "Liste wird geladen...Bereit"),
              view.statusTexts.end());
}

TEST_F(RefreshCycleTest, TwoServersAreReadInOrderThroughOneParse)
{
    GameSpec full = titled("Beta");
    full.activatedClients = 4; // one with a user ID, three without
    test::LoopbackServer first({{"/a", reply({titled("Alpha")})}});
    test::LoopbackServer second({{"/b", reply({full, titled("Gamma")})}});
    state.servers.add(first.url("/a"));
    state.servers.add(second.url("/b"));
    cycle().runTick();

    ASSERT_EQ(state.games.size(), 3u);
    EXPECT_EQ(state.games.all()[0].Title, "Alpha");
    EXPECT_EQ(state.games.all()[1].Title, "Beta");
    EXPECT_EQ(state.games.all()[2].Title, "Gamma");
    EXPECT_EQ(view.labels[Label::openGames], "Spiele offen: 3");
    EXPECT_EQ(view.labels[Label::playersOnline], "Spieler online: 3");
    EXPECT_EQ(view.labels[Label::emptySlots], "Emptys: 3 / 6 (50 %)");
    // Each record's row is the row the filters were given, and the caption came after the filters.
    EXPECT_EQ(filter.ticks, 1);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(state.games.all()[i].Item, filter.rows[i]);
    EXPECT_EQ(filter.captionsSeen, (std::vector<std::string>{"", "", ""}));
}

TEST_F(RefreshCycleTest, AFailingServerIsDroppedOnlyWhenTheUserSaysYes)
{
    test::LoopbackServer good({{"/ok", reply({titled("Alpha")})}});
    const std::string bad = good.url("/missing");
    for (bool drop : {false, true}) {
        SCOPED_TRACE(drop);
        state.servers.clear();
        state.servers.add(bad);
        state.servers.add(good.url("/ok"));
        state.outages = ServerOutages{}; // each round a first failure, which asks
        prompts.raised.clear();
        auto refresh = cycle();
        refresh.runTick();

        // The tick asks and goes on: the answer comes after it.
        const auto asked = prompts.texts();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(prompts.raised[0].prompt.kind, PromptKind::errorQuestion);
        EXPECT_EQ(prompts.raised[0].prompt.defaultButton, DefaultButton::no);
        EXPECT_EQ(asked[0].rfind("Keine Verbindung zu Server " + bad + "! Das ist gar nicht gut!\r\r", 0), 0u);
        EXPECT_NE(asked[0].find("HTTP-Status 404"), std::string::npos) << asked[0];
        EXPECT_TRUE(asked[0].ends_with("\r\rSoll dieser Server aus der Liste entfernt werden?"));
        EXPECT_EQ(list.captions(), std::vector<std::string>{"Alpha"});
        EXPECT_EQ(state.servers.count(), 2);
        prompts.answer(0, drop);
        EXPECT_EQ(state.servers.count(), drop ? 1 : 2);
        EXPECT_TRUE(state.online);
    }
}

TEST_F(RefreshCycleTest, GamesKeepTheirServerAndTheTickEndsNamingTheServersNotRead)
{
    test::LoopbackServer server({{"/a", reply({titled("Alpha"), titled("Beta")})}, {"/b", reply({titled("Gamma")})}});
    state.servers.add(server.url("/a"));
    state.servers.add(server.url("/missing"));
    state.servers.add(server.url("/b"));
    cycle().runTick();

    // Beta is completed only by Gamma's header in the last reply, and still belongs to the first server.
    ASSERT_EQ(state.games.size(), 3u);
    EXPECT_EQ(state.games.all()[1].Server, server.url("/a"));
    EXPECT_EQ(state.games.all()[2].Server, server.url("/b"));
    EXPECT_EQ(filter.unreadAtEnd, std::vector<std::vector<std::string>>{{server.url("/missing")}});
}

TEST_F(RefreshCycleTest, DroppingTheLastServerEntersOfflineMode)
{
    test::LoopbackServer server(test::LoopbackServer::Bodies{});
    state.servers.add(server.url("/gone"));
    auto refresh = cycle();
    refresh.runTick();
    ASSERT_EQ(prompts.raised.size(), 1u);
    prompts.answer(0, true);

    ASSERT_EQ(prompts.raised.size(), 2u);
    EXPECT_EQ(prompts.raised[1].prompt.kind, PromptKind::error);
    EXPECT_EQ(prompts.raised[1].prompt.text, offlineMessage);
    EXPECT_FALSE(state.online);
    EXPECT_TRUE(view.timerStopped);
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Offline-Modus");
    EXPECT_EQ(state.servers.count(), 0);

    // Later ticks still run in full with the default address, and say nothing more.
    prompts.raised.clear();
    server.setBody("/league/server", reply({titled("Alpha")}));
    cycle(server.url("/league/server")).runTick();
    EXPECT_TRUE(prompts.raised.empty());
    EXPECT_EQ(list.captions(), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Offline-Modus");
}

TEST_F(RefreshCycleTest, EmptyCountKeepsItsLabelWhenNoClientLacksAnId)
{
    test::LoopbackServer server({{"/s", reply({titled("A")})}});
    state.servers.add(server.url("/s"));
    view.labels[Label::emptySlots] = "Emptys: 1 / 8 (12 %)";
    cycle().runTick();
    EXPECT_EQ(view.labels[Label::emptySlots], "Emptys: 1 / 8 (12 %)");
}

TEST_F(RefreshCycleTest, ColumnsComeFromTheSettingsAndWidthsAreWrittenBack)
{
    GameSpec g = titled("Alpha");
    g.players = 2;
    g.maxPlayers = 6;
    test::LoopbackServer server({{"/s", reply({g})}});
    state.servers.add(server.url("/s"));

    cycle().runTick();
    ASSERT_EQ(list.columns.size(), 1u); // first start: only "Szenario"
    EXPECT_EQ(list.columns[0].caption, "Szenario");
    EXPECT_EQ(list.columns[0].width, 100);
    EXPECT_TRUE(list.rows[0].subItems.empty());

    state.config.add("Column1=Spieler");
    state.config.add("Column2=Status");
    state.config.add("Column3=Hoster");
    state.config.add("ColumnWidth2=120");
    list.columns[0].width = 150; // the user widened the first column
    cycle().runTick();
    EXPECT_EQ(state.config.value("ColumnWidth0"), "150");
    ASSERT_EQ(list.columns.size(), 4u);
    EXPECT_EQ(list.columns[0].width, 150);
    EXPECT_EQ(list.columns[1].width, 80);
    EXPECT_EQ(list.columns[2].width, 120);
    EXPECT_EQ(list.columns[3].width, 80);
    EXPECT_EQ(list.rows[0].subItems, (std::vector<std::string>{"2 / 6", "Lobby", "Host0"}));

    cycle().runTick();
    EXPECT_EQ(state.config.value("ColumnWidth3"), "80");
}

TEST_F(RefreshCycleTest, BadWidthSettings)
{
    test::LoopbackServer server({{"/s", reply({titled("Alpha")})}});
    state.servers.add(server.url("/s"));
    state.config.add("ColumnWidth0=breit");
    cycle().runTick();
    EXPECT_EQ(list.columns[0].width, 100);

    list.columns.clear();
    state.config.clear();
    state.config.add("Column1=Status");
    state.config.add("ColumnWidth1=abc");
    EXPECT_THROW(cycle().runTick(), ConversionError);
    EXPECT_TRUE(list.rows.empty());
}

TEST_F(RefreshCycleTest, LoadingAFileTakesThePlaceOfTheServersForOneTick)
{
    test::LoopbackServer server({{"/s", reply({titled("Online")})}});
    folder.write("server.txt", server.url("/s") + "\r\n");
    state.servers.add(server.url("/s"));
    state.servers.add("http://unsaved.invalid/"); // not in "server.txt": lost by a file load
    folder.write("saved.txt", reply({titled("Aus der Datei"), titled("Zweites")}));
    state.pendingLoadFile = folder.file("saved.txt");

    cycle().runTick();
    EXPECT_EQ(list.captions(), (std::vector<std::string>{"Aus der Datei", "Zweites"}));
    EXPECT_EQ(state.servers.lines(), std::vector<std::string>{server.url("/s")});
    EXPECT_TRUE(state.pendingLoadFile.empty());
    EXPECT_TRUE(server.paths().empty());

    // A file that has grown past the limit since it was chosen is not read.
    std::filesystem::resize_file(folder.file("saved.txt"), RefreshCycle::maxLoadFileBytes + 1);
    state.pendingLoadFile = folder.file("saved.txt");
    cycle().runTick();
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(state.pendingLoadFile.empty());

    // A file that is gone by then gives an empty list; without "server.txt" the list stays empty.
    folder.write("server.txt", "");
    std::filesystem::remove(folder.file("server.txt"));
    state.pendingLoadFile = folder.file("gone.txt");
    cycle().runTick();
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(state.servers.count(), 0);
}

TEST_F(RefreshCycleTest, AGameWithABadValueIsLeftOutQuietly)
{
    // One broken game between good ones: the others are listed and counted, no box, the bar says how many went.
    std::string broken = reply({titled("Erstes"), titled("Kaputt"), titled("Drittes")});
    broken.replace(broken.find("MaxPlayers=4", broken.find("Kaputt")), 12, "MaxPlayers=viele");
    folder.write("broken.txt", broken);
    state.pendingLoadFile = folder.file("broken.txt");

    cycle().runTick();
    EXPECT_EQ(list.captions(), (std::vector<std::string>{"Erstes", "Drittes"}));
    EXPECT_EQ(filter.rows.size(), 2u);
    EXPECT_TRUE(prompts.raised.empty());
    EXPECT_EQ(view.labels[Label::openGames], "Spiele offen: 2");
    EXPECT_EQ(view.labels[Label::playersOnline], "Spieler online: 2");
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit - 1 Spiel mit fehlerhaften Daten \xFC"
                                       "bersprungen");

    // Counted per tick: two bad games say so in the plural; a clean tick gives the bar back.
    broken.replace(broken.find("MaxPlayers=4", broken.find("Drittes")), 12, "MaxPlayers=?");
    folder.write("broken.txt", broken);
    state.pendingLoadFile = folder.file("broken.txt");
    cycle().runTick();
    EXPECT_EQ(list.captions(), std::vector<std::string>{"Erstes"});
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit - 2 Spiele mit fehlerhaften Daten \xFC"
                                       "bersprungen");

    folder.write("broken.txt", reply({titled("Erstes")}));
    state.pendingLoadFile = folder.file("broken.txt");
    cycle().runTick();
    EXPECT_EQ(view.statusTexts.back(), "Quintor Velmar 2.02 Beta [84] - Bereit");
}

TEST_F(RefreshCycleTest, AHiddenWindowOnlyRebuildsTheNoticeBoard)
{
    view.visible = false;
    state.games.append(GameRecord{});
    cycle().runTick();
    EXPECT_EQ(noticeBoardBuilds, 1);
    EXPECT_EQ(state.games.size(), 1u);
    EXPECT_TRUE(view.statusTexts.empty());
    EXPECT_EQ(state.servers.count(), 0);
}

TEST_F(RefreshCycleTest, AnAbandonedRequestEndsTheTickWithoutAQuestion)
{
    test::CancellingHttpClient abandoning;
    state.servers.add("http://127.0.0.1:9/");
    RefreshCycle c(state, RefreshPorts{list, view, prompts, abandoning, clock, "", nullptr, nullptr});
    EXPECT_THROW(c.runTick(), HttpError);
    EXPECT_TRUE(prompts.raised.empty());
    EXPECT_EQ(state.servers.count(), 1);
}

TEST_F(RefreshCycleTest, OnlyATickThatReadAServerReportsItsCounts)
{
    GameSpec crowded = titled("Voll");
    crowded.players = 3;
    test::LoopbackServer server({{"/s", reply({titled("Alpha"), crowded})}});
    folder.write("server.txt", server.url("/s") + "\r\n");
    state.servers.add(server.url("/missing")); // not read, yet the tick read another
    state.servers.add(server.url("/s"));
    cycle().runTick();
    ASSERT_EQ(serversRead.size(), 1u);
    EXPECT_EQ(serversRead[0].references, 2);
    EXPECT_EQ(serversRead[0].players, 4);

    // A file load reads no server; nor does a tick whose only server fails.
    folder.write("saved.txt", reply({titled("Aus der Datei")}));
    state.pendingLoadFile = folder.file("saved.txt");
    cycle().runTick();
    EXPECT_EQ(list.captions(), std::vector<std::string>{"Aus der Datei"});
    state.servers.clear();
    state.servers.add(server.url("/missing"));
    cycle().runTick();
    EXPECT_EQ(view.labels[Label::openGames], "Spiele offen: 0"); // the tick ran to its end
    EXPECT_EQ(serversRead.size(), 1u);
}
