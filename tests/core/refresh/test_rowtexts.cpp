#include "reference/gamestore.h"
#include "refresh/detailtexts.h"
#include "refresh/rank.h"
#include "refresh/rowbuilder.h"
#include "refresh/rowtexts.h"
#include "refresh/statistic.h"
#include "settings/translate.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

GameRecord game(std::string status, bool official)
{
    GameRecord e;
    e.Status = std::move(status);
    e.OfficialServer = official;
    return e;
}

} // namespace

TEST(Rank, LobbiesFirstThenPausedOfficialAboveOthers)
{
    EXPECT_EQ(rank(game("Lobby", true)), 23);
    EXPECT_EQ(rank(game("Lobby", false)), 20);
    EXPECT_EQ(rank(game("Pause", true)), 13);
    EXPECT_EQ(rank(game("Pause", false)), 10);
    EXPECT_EQ(rank(game("Laufend", true)), 3);
    EXPECT_EQ(rank(game("Laufend", false)), 0);
    EXPECT_EQ(rank(game("lobby", false)), 0);  // exact comparison
    EXPECT_EQ(rank(game("Paused", false)), 0); // only the mapped text counts
}

TEST(Rank, InsertPositionKeepsArrivalOrderWithinARank)
{
    const std::vector<int> ranks = {23, 20, 20, 10, 0, 0};
    EXPECT_EQ(rankInsertPosition(ranks, 20), 3u); // after the other lobbies
    EXPECT_EQ(rankInsertPosition(ranks, 23), 1u);
    EXPECT_EQ(rankInsertPosition(ranks, 0), 6u);
    EXPECT_EQ(rankInsertPosition(ranks, 13), 3u);
    EXPECT_EQ(rankInsertPosition({}, 3), 0u);
}

TEST(RowTexts, EveryColumnShowsItsText)
{
    GameRecord e;
    e.Title = "Titel";
    e.Status = "Lobby";
    e.Hoster = "Hans";
    e.PlayerCount = 2;
    e.MaxPlayers = 8;
    e.Emptys = 1;
    e.Clients = 3;
    e.Game = "Clonk Rage";
    e.ControlRate = "2";
    e.Version = "4,9,10,7";
    e.Comment = "Kein Kommentar";
    e.PasswordNeeded = true;
    e.League = "Keine";
    TextList aliases({"Hans=Der Hans", "Clonk Rage=CR", "2=zwei"});
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Szenario", "Titel"},     {"Status", "Lobby"},     {"Hoster", "Der Hans"},
        {"Spieler", "2 / 8"},      {"Emptys", "1 / 3"},     {"Spiel", "Clonk Rage"}, // no alias for the game
        {"Kontrollrate", "2"},     {"Version", "4,9,10,7"}, {"Kommentar", "Kein Kommentar"},
        {"Passwort", "Ja"},        {"Liga", "Keine"},       {"Offizieller Server", "Nein"},
        {"spieler", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [name, text] : cases)
        EXPECT_EQ(columnText(name, e, aliases), text) << name;
}

TEST(RowTexts, SubItemsFollowTheColumnSettingsAndKeepTheirPlace)
{
    GameRecord e;
    e.Status = "Lobby";
    e.PlayerCount = 1;
    e.MaxPlayers = 4;
    TextList config({"Column1=Spieler", "Column2=Bogus", "Column3=Status"});
    EXPECT_EQ(rowSubItems(e, config, {}, 4), (std::vector<std::string>{"1 / 4", "", "Lobby"}));
    EXPECT_TRUE(rowSubItems(e, config, {}, 1).empty());

    // The texts of one row are written over those of the row before: nothing of it stays.
    const std::vector<ColumnKind> columns{ColumnKind::comment, ColumnKind::none, ColumnKind::status};
    std::vector<std::string> texts{"vom Spiel davor", "x", "y", "z"};
    rowSubItems(e, columns, {}, texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"Kein Kommentar", "", "Lobby"}));
}

TEST(RowTexts, TheGamesFixedValuesAreTurnedOnlyWhereShownAndAnAliasWins)
{
    ASSERT_TRUE(useCatalogFile(QUINTOR_BUILD_CATALOG));
    struct German {
        ~German() { useGermanTexts(); }
    } german;
    GameRecord e;
    e.Comment = "Kein Kommentar";
    e.League = "Keine";
    e.Players.push_back({});
    e.Players.back().Flags = "Keine";
    const TextList aliases({"Pause=Halt"});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Laufend", "Running"}, {"Lobby", "Lobby"}, {"Pause", "Halt"}, {"laufend", "laufend"}, {"", ""}};
    for (const auto& [status, shown] : cases) {
        e.Status = status;
        EXPECT_EQ(columnText("Status", e, aliases), shown) << status;
    }
    EXPECT_EQ(columnText("Kommentar", e, aliases), "No comment");
    EXPECT_EQ(columnText("Liga", e, aliases), "None");
    EXPECT_EQ(playerTable(e).rows.at(0).at(3), "None");
    EXPECT_EQ(e.Comment, "Kein Kommentar"); // what filters compare stays as the game list gave it
}

TEST(RowTexts, ARowsCaptionIsItsTitleOrTheTitlesAlias)
{
    test::RecordingListView list;
    GameStore games;
    const TextList config, aliases({"Burg=Die Burg"});
    for (const char* title : {"Burg", "Bur", ""}) {
        GameRecord game;
        game.Title = title;
        completeRecord(std::move(game), games, config, aliases, list, nullptr);
    }
    EXPECT_EQ(list.captions(), (std::vector<std::string>{"Die Burg", "Die Burg", ""})); // an alias line begins so
}

// The filters hear of the games in runs, in the order they were listed, a failing server's kept games after the games
// listed before them; each row gets its texts after its filters, and none is left without them, not even when the
// builder goes before it was asked to show them (a tick that ends early).
TEST(RowTexts, FiltersHearOfEveryGameInTheOrderItWasListed)
{
    struct HeardFilter : GameFilter {
        explicit HeardFilter(const test::RecordingListView& list) : list(list) {}
        const test::RecordingListView& list;
        std::vector<std::string> heard; // title, "kept " for a kept game, "(shown)" when its row had texts already
        void note(RowHandle row, const std::string& kind)
        {
            const auto* own = list.find(row);
            heard.push_back(kind + std::to_string(row) + (own->caption.empty() ? "" : " (shown)"));
        }
        void beginTick() override {}
        FilterMatches evaluateFilters(RowHandle row) override
        {
            note(row, "");
            return {};
        }
        FilterMatches filterStale(RowHandle row) override
        {
            note(row, "kept ");
            return {};
        }
    };
    for (const bool endsEarly : {false, true}) {
        SCOPED_TRACE(endsEarly);
        test::RecordingListView list;
        GameStore games;
        const TextList config, aliases;
        HeardFilter filter(list);
        std::vector<std::string> expected;
        {
            RowBuilder rows(games, config, aliases, list, &filter);
            const auto listed = [&](int count) {
                for (int i = 0; i < count; ++i) {
                    GameRecord game;
                    game.Title = "Spiel " + std::to_string(list.rows.size() + 1);
                    expected.push_back(std::to_string(rows.complete(std::move(game))));
                }
            };
            listed(150);
            rows.showCompleted();
            listed(3);
            GameRecord kept;
            kept.Title = "Alt";
            expected.push_back("kept " + std::to_string(rows.listStale(std::move(kept), "Stand: 17:00:00")));
            listed(70);
            if (!endsEarly) rows.showCompleted();
        }
        EXPECT_EQ(filter.heard, expected);
        ASSERT_EQ(list.rows.size(), 224u);
        for (const auto& row : list.rows)
            EXPECT_FALSE(row.caption.empty()) << row.handle;
    }
}

TEST(Statistic, PercentageRoundsHalfToEven)
{
    struct Case {
        long long emptys, clients, percent;
    };
    for (const Case& c : std::vector<Case>{{1, 8, 12},
                                           {3, 8, 38},
                                           {1, 3, 33},
                                           {2, 3, 67},
                                           {1, 200, 0},
                                           {3, 200, 2},
                                           {5, 200, 2},
                                           {7, 200, 4},
                                           {8, 8, 100}}) {
        EXPECT_EQ(percentHalfToEven(c.emptys, c.clients), c.percent) << c.emptys << "/" << c.clients;
    }
    ParseCounters counters{5, 9, 8, 1};
    const StatisticTexts texts = statisticTexts(counters);
    EXPECT_EQ(texts.openGames, "Spiele offen: 5");
    EXPECT_EQ(texts.playersOnline, "Spieler online: 9");
    EXPECT_EQ(texts.emptySlots, "Emptys: 1 / 8 (12 %)");
    EXPECT_FALSE(statisticTexts({1, 1, 8, 0}).emptySlots);
    EXPECT_FALSE(statisticTexts({0, 0, 0, 0}).emptySlots);
}

TEST(DetailTexts, SizeText)
{
    struct Case {
        std::int32_t size;
        bool loadable;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{{1023, true, "0 KB"},
                                           {1024, true, "1 KB"},
                                           {0, true, "N/L"},
                                           {5000000, false, "N/L"},
                                           {-1, true, "4194303 KB"}}) { // read as unsigned 32 bits
        Resource r;
        r.FileSize = c.size;
        r.Loadable = c.loadable;
        EXPECT_EQ(sizeText(r), c.text) << c.size;
    }
}

TEST(GameStore, FindsTheRecordOfARowNotOfAPosition)
{
    GameStore store;
    GameRecord a, b, c;
    a.Title = "A";
    a.Item = 7;
    b.Title = "B";
    b.Item = 3;
    c.Title = "C";
    c.Item = 7; // a later record of the same row wins
    store.append(std::move(a));
    store.append(std::move(b));
    store.append(std::move(c));
    // The same answers as the plain scan over the records.
    for (RowHandle row : {3u, 7u, 99u})
        EXPECT_EQ(findGameOfRow(store.all(), row), store.find(row));
    EXPECT_EQ(store.find(7)->Title, "C");
}

TEST(GameStore, ASnapshotKeepsTheRecordsAsTheyWereWhateverTheStoreDoesLater)
{
    GameStore store;
    const auto add = [&store](const char* title, RowHandle row) {
        GameRecord game;
        game.Title = title;
        game.Item = row;
        store.append(std::move(game));
    };
    add("A", 1);
    add("B", 2);
    const auto snapshot = store.snapshot();
    EXPECT_EQ(snapshot.get(), &store.all()); // shared, not copied
    store.find(1)->Color = 0xFF;             // a change through the store
    add("C", 3);
    store.removeRows({2});
    ASSERT_EQ(snapshot->size(), 2u);
    EXPECT_EQ((*snapshot)[0].Color, 0u);
    EXPECT_EQ((*snapshot)[1].Title, "B");
    EXPECT_EQ(store.find(1)->Color, 0xFFu);
    EXPECT_EQ(store.positionOf(3), std::optional<std::size_t>(1));
    EXPECT_EQ(store.positionOf(2), std::nullopt);
    const auto second = store.snapshot();
    store.clear();
    EXPECT_EQ(second->size(), 2u);
    EXPECT_EQ(store.size(), 0u);
}

// Refreshes whose last list is let go of while the next one fills, or after it is complete, with fewer games or more:
// the store holds exactly the new records each time, and a snapshot keeps its own.
TEST(GameStore, ListsLetGoOfWhileTheNextFillsLeaveEveryListWhole)
{
    GameStore store;
    RowHandle row = 0;
    const auto fill = [&](int count, const std::string& name) {
        for (int i = 0; i < count; ++i) {
            GameRecord game;
            game.Title = name + std::to_string(i) + " mit einem Titel, der nicht in den Text selbst passt";
            game.Players = {{"Spieler " + name, name + ".c4p", "", i}};
            game.Item = ++row;
            store.append(std::move(game));
        }
    };
    const auto titles = [](const std::vector<GameRecord>& games) {
        std::string all;
        for (const GameRecord& game : games)
            all += game.Title.substr(0, game.Title.find(' ')) + game.Players.front().Name.substr(8) + ",";
        return all;
    };
    fill(3, "a");
    store.finishList();
    auto held = store.snapshot();
    store.clear();
    fill(1, "b");
    held.reset(); // the last list goes while the next fills
    fill(4, "c");
    store.finishList();
    EXPECT_EQ(titles(store.all()), "b0b,c0c,c1c,c2c,c3c,");
    held = store.snapshot();
    store.clear();
    held.reset();
    fill(2, "d"); // fewer than the last: the rest of it goes with finishList
    store.finishList();
    EXPECT_EQ(titles(store.all()), "d0d,d1d,");
    held = store.snapshot();
    store.clear();
    fill(3, "e");
    store.finishList();
    EXPECT_EQ(titles(*held), "d0d,d1d,");
    held.reset(); // after the list is complete: at once
    store.clear();
    fill(2, "f");
    EXPECT_EQ(titles(store.all()), "f0f,f1f,");
    EXPECT_EQ(store.find(row)->Title.substr(0, 2), "f1");
}

TEST(ColumnSpans, OnlyTheGamesOwnTextsKeepTheHostsColoursAndAFilterColourWins)
{
    GameRecord e;
    e.Title = "Feuerland";
    e.TitleSpans = {{0, 5, 0xFF8000}, {5, 4, std::nullopt, true}};
    e.Hoster = "Zo\xEB";
    e.HosterSpans = {{0, 3, 0x00FF00}};
    e.Comment = "Profis";
    e.CommentSpans = {{0, 6, std::nullopt, true}};
    e.Status = "Lobby";

    EXPECT_EQ(columnSpans("Szenario", "Feuerland", e), e.TitleSpans);
    EXPECT_EQ(columnSpans("Hoster", "Zo\xEB", e), e.HosterSpans);
    EXPECT_EQ(columnSpans("Kommentar", "Profis", e), e.CommentSpans);
    // An alias or an in-place edit shows another text; other columns have no runs.
    EXPECT_EQ(columnSpans("Szenario", "Mein Feuerland", e), TextSpans());
    EXPECT_EQ(columnSpans("Status", "Lobby", e), TextSpans());

    // The user's colour (a filter's, black too) and the grey of a kept game cover the host's; italics stay.
    const TextSpans italicsOnly = {{5, 4, std::nullopt, true}};
    GameRecord coloured = e;
    coloured.ColorByFilter = true;
    EXPECT_EQ(columnSpans("Szenario", "Feuerland", coloured), italicsOnly);
    EXPECT_EQ(columnSpans("Hoster", "Zo\xEB", coloured), TextSpans());
    GameRecord kept = e;
    kept.Stale = true;
    EXPECT_EQ(columnSpans("Szenario", "Feuerland", kept), italicsOnly);
}
