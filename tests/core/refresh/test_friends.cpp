// Friends: which names match, what a row and the tray show of them, and what is announced from tick to tick.
#include "refresh/friends.h"
#include "refresh/friendtracker.h"
#include "refresh/rowbuilder.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

GameRecord game(const std::string& title, std::vector<std::string> players, const std::string& host = "Host",
                RowHandle row = 0)
{
    GameRecord record;
    record.Title = title;
    record.Hoster = host;
    record.Status = "Laufend";
    record.Item = row;
    for (auto& name : players)
        record.Players.push_back({std::move(name), "", "", 0});
    return record;
}

FriendList friendsOf(std::vector<std::string> lines)
{
    return FriendList(TextList(std::move(lines)));
}

struct MatchCase {
    const char* line;
    const char* name;
    bool matches;
};

} // namespace

TEST(FriendList, MatchesNamesCaseBlindWithoutTagsAndByPrefix)
{
    const MatchCase cases[] = {
        {"Bob", "bob", true},
        {"Bob", "BOB", true},
        {"Bob", "Bobby", false},
        {"Bob", "Bo", false},
        {"\xC4rger", "\xE4RGER", true},            // the Windows-1252 letters as the filters compare them
        {"Bob", "<c ff0000>B</c><i>ob</i>", true}, // the record keeps the tags while "Tags rausparsen" is off
        {"  Bob\t", "Bob", true},                  // blanks around a line count for nothing
        {"Clan-*", "clan-Anna", true},
        {"Clan-*", "Clan-", true},
        {"Clan-*", "Clan", false},
        {"Clan-*", "Ein Clan-Mitglied", false},
        {"*", "Jeder", false}, // a lone star would make everyone a friend
        {"", "", false},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(friendsOf({c.line}).matches(c.name), c.matches) << c.line << " / " << c.name;
}

TEST(FriendList, FindsPlayersInTheirOrderThenTheHostEachOnce)
{
    const FriendList friends = friendsOf({"Zoe", "anna", "Clan-*", "Host"});
    const GameRecord record = game("Arena", {"Zoe", "Otto", "<c 00ff00>Anna</c>", "clan-Max", "ZOE"}, "Host");
    EXPECT_EQ(friends.in(record), (std::vector<std::string>{"Zoe", "Anna", "clan-Max", "Host"}));
    // A host who also plays is named once.
    EXPECT_EQ(friends.in(game("Arena", {"host"}, "Host")), (std::vector<std::string>{"host"}));
    EXPECT_TRUE(friendsOf({}).in(record).empty());
}

TEST(FriendList, APlayerIsRememberedWithoutTagsAndForgottenOnlyByHisOwnLine)
{
    TextList friends({"Clan-*", " anna ", "Otto"});
    EXPECT_EQ(friendLine("<c ff0000>Bert</c>\r\nZwei"), "Bert  Zwei");
    EXPECT_TRUE(namesFriend(friends, "<i>Anna</i>"));
    EXPECT_FALSE(namesFriend(friends, "Clan-Max")); // only through the star
    forgetFriend(friends, "ANNA");
    forgetFriend(friends, "Clan-Max");
    EXPECT_EQ(friends.lines(), (std::vector<std::string>{"Clan-*", "Otto"}));
}

TEST(FriendList, CountsEachFriendOnceAcrossGamesAndTheTrayNamesFive)
{
    const FriendList friends = friendsOf({"S*"});
    const std::vector<GameRecord> games = {game("A", {"S1", "S2", "S3"}), game("B", {"s2", "S4", "S5", "S6", "S7"})};
    const std::vector<std::string> online = friendsOnline(games, friends);
    EXPECT_EQ(online, (std::vector<std::string>{"S1", "S2", "S3", "S4", "S5", "S6", "S7"}));
    EXPECT_EQ(friendsOnlineLabel(online.size()), "Freunde online: 7");
    EXPECT_EQ(trayFriendsText(online), "Freunde online: S1, S2, S3, S4, S5 und 2 weitere");
    EXPECT_EQ(trayFriendsText({"S1", "S2"}), "Freunde online: S1, S2");
    EXPECT_EQ(trayFriendsText({}), "");
}

TEST(FriendRows, AGameWithAFriendIsMarkedAndItsTooltipNamesThem)
{
    test::RecordingListView list;
    GameStore games;
    const TextList config, aliases;
    const FriendList friends = friendsOf({"Anna", "Host"});
    completeRecord(game("Mit", {"Otto", "anna"}, "Host"), games, config, aliases, list, nullptr, &friends);
    completeRecord(game("Ohne", {"Otto"}, "Jemand"), games, config, aliases, list, nullptr, &friends);
    listStaleRecord(game("Alt", {"Anna"}, "Jemand"), games, config, aliases, list, nullptr, "Stand: 17:00:00",
                    &friends);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_TRUE(list.rows[0].friends);
    EXPECT_EQ(list.rows[0].toolTip, "Freunde: anna, Host");
    EXPECT_FALSE(list.rows[1].friends);
    EXPECT_EQ(list.rows[1].toolTip, "");
    EXPECT_TRUE(list.rows[2].friends);
    EXPECT_EQ(list.rows[2].toolTip, "Stand: 17:00:00\nFreunde: Anna");
}

class FriendTrackerTest : public testing::Test {
protected:
    FriendList friends = friendsOf({"Anna", "Bert"});
    FriendTracker tracker;
    RowHandle nextRow = 0;

    GameRecord listed(const std::string& title, std::vector<std::string> players, bool kept = false)
    {
        GameRecord record = game(title, std::move(players), "Host", ++nextRow);
        record.Stale = kept;
        return record;
    }
    // Who is new in a game, as "name@title"; at the first tick, who is online.
    std::vector<std::string> tick(const std::vector<GameRecord>& games, bool first = false)
    {
        const std::vector<FriendArrival> arrivals = tracker.update(games, friends);
        if (first) {
            EXPECT_TRUE(arrivals.empty());
        }
        std::vector<std::string> said;
        for (const FriendArrival& arrival : first ? friendsInGames(games, friends) : arrivals) {
            for (const GameRecord& record : games)
                if (record.Item == arrival.row) said.push_back(arrival.name + "@" + record.Title);
        }
        return said;
    }
};

TEST_F(FriendTrackerTest, AnnouncesAppearingAndMovingFriendsButNotThoseWhoStay)
{
    using Said = std::vector<std::string>;
    EXPECT_EQ(tick({listed("Arena", {"Anna", "Otto"}), listed("Mine", {"Otto"})}, true), Said{"Anna@Arena"});
    EXPECT_EQ(tick({listed("Arena", {"Anna"}), listed("Mine", {"bert"})}), Said{"bert@Mine"});         // appears
    EXPECT_EQ(tick({listed("Arena", {"Otto"}), listed("Mine", {"bert", "Anna"})}), Said{"Anna@Mine"}); // moves
    EXPECT_EQ(tick({listed("Mine", {"Bert"})}), Said{});                                               // leaves
    EXPECT_EQ(tick({listed("Arena", {"Anna"}), listed("Mine", {"Bert"})}), Said{"Anna@Arena"});        // is back
}

TEST_F(FriendTrackerTest, GamesKeptFromAFailingServerChangeNothing)
{
    using Said = std::vector<std::string>;
    tick({listed("Arena", {"Anna"}), listed("Mine", {"Otto"})}, true);
    // The server of both fails: Anna stays where she was, and a friend only the kept list shows is no news.
    EXPECT_EQ(tick({listed("Arena", {"Anna"}, true), listed("Mine", {"Otto", "Bert"}, true)}), Said{});
    EXPECT_EQ(tick({listed("Arena", {"Anna"}, true), listed("Mine", {"Otto", "Bert"}, true)}), Said{});
    // It answers again: Anna never left; Bert is news now.
    EXPECT_EQ(tick({listed("Arena", {"Anna"}), listed("Mine", {"Otto", "Bert"})}), Said{"Bert@Mine"});
}

TEST(FriendTexts, NameTheGameAsTheListShowsIt)
{
    GameRecord record = game("Greed Arena", {"Anna"});
    const TextList aliases({"Greed Arena=Gier"});
    EXPECT_EQ(friendArrivalText("Anna", record, aliases), "Anna ist jetzt in \x84Gier\x93 (Laufend)");
    record.Title = std::string(300, 'x');
    EXPECT_EQ(friendArrivalText("Anna", record, {}),
              "Anna ist jetzt in \x84" + std::string(100, 'x') + "\x85\x93 (Laufend)");

    GameStore games;
    std::vector<FriendArrival> online;
    for (int i = 1; i <= 7; ++i) {
        games.append(game("Spiel " + std::to_string(i), {}, "Host", static_cast<RowHandle>(i)));
        online.push_back({"F" + std::to_string(i), static_cast<RowHandle>(i)});
    }
    EXPECT_EQ(friendsAlreadyOnlineText(online, games, {}),
              "F1 ist in \x84Spiel 1\x93 (Laufend)\nF2 ist in \x84Spiel 2\x93 (Laufend)\nF3 ist in \x84Spiel 3\x93 "
              "(Laufend)\nF4 ist in \x84Spiel 4\x93 (Laufend)\nF5 ist in \x84Spiel 5\x93 (Laufend)\nund 2 weitere");
}
