#include "reference/gameentry.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(GameEntry, DefaultsAreThoseOfAGameThatSetsNothing)
{
    const GameRecord entry;
    EXPECT_EQ(entry.Hoster, "ERR");
    EXPECT_EQ(entry.Version, "ERR");
    EXPECT_EQ(entry.Game, "ERR");
    EXPECT_EQ(entry.ControlRate, "ERR");
    EXPECT_EQ(entry.Comment, "Kein Kommentar");
    EXPECT_EQ(entry.League, "Keine");
    EXPECT_EQ(entry.Address, "");
    EXPECT_EQ(entry.PlayerCount + entry.MaxPlayers + entry.Emptys + entry.Clients + entry.AddressCount, 0);
    EXPECT_FALSE(entry.PasswordNeeded || entry.OfficialServer);
    EXPECT_EQ(entry.Item, 0u);
    EXPECT_EQ(entry.Color, 0u);
    const Resource resource;
    EXPECT_EQ(resource.FileSize, 0);
    EXPECT_FALSE(resource.Loadable);
}

namespace {

GameRecord game(const std::string& title, RowHandle row)
{
    GameRecord entry;
    entry.Title = title;
    entry.Item = row;
    return entry;
}

} // namespace

TEST(Getgameentry, FindsTheLastRecordOfTheRow)
{
    const std::vector<GameRecord> games = {game("a", 11), game("b", 12), game("c", 11), game("d", 13)};
    EXPECT_EQ(findGameOfRow(games, 11), &games[2]);
    EXPECT_EQ(findGameOfRow(games, 13), &games[3]);
    EXPECT_EQ(findGameOfRow(games, 12), &games[1]);
}

TEST(Getgameentry, NoMatchGivesNothing)
{
    const std::vector<GameRecord> games = {game("a", 11), game("b", 12)};
    EXPECT_EQ(findGameOfRow(games, 77), nullptr);
    EXPECT_EQ(findGameOfRow({}, 11), nullptr);
    EXPECT_EQ(findGameOfRow(games, 11), &games[0]);
}

TEST(GameIdentity, TitleHosterAndTheRawStartTimeOrElseTheAddress)
{
    struct Case {
        std::optional<std::string> startTime;
        std::string identity;
    };
    for (const Case& c : std::vector<Case>{{"1700000000", "Melee\nSven\n1700000000"},
                                           {"", "Melee\nSven\n"}, // a line without a value still counts
                                           {std::nullopt, "Melee\nSven\nTCP:1.2.3.4:11112"}}) {
        GameRecord game;
        game.Title = "Melee";
        game.Hoster = "Sven";
        game.Address = "TCP:1.2.3.4:11112";
        game.StartTime = c.startTime;
        EXPECT_EQ(gameIdentity(game), c.identity);
    }
}

TEST(GameIdentity, TheHashTellsGamesApartAsTheIdentityTextDoes)
{
    GameRecord base;
    base.Title = "Melee";
    base.Hoster = "Sven";
    base.Address = "TCP:1.2.3.4:11112";
    base.StartTime = "1700000000";
    const auto with = [&base](auto change) {
        GameRecord game = base;
        change(game);
        return game;
    };
    const GameRecord same[] = {
        with([](GameRecord& g) { g.Comment = "anders"; }), // only the three texts count
        with([](GameRecord& g) { g.Address = "TCP:5.6.7.8:11112"; }),
    };
    for (const GameRecord& game : same)
        EXPECT_EQ(gameIdentityHash(game), gameIdentityHash(base));
    const GameRecord other[] = {
        with([](GameRecord& g) { g.Title = "Melee 2"; }),
        with([](GameRecord& g) { g.Hoster = "Sven "; }),
        with([](GameRecord& g) { g.StartTime = "1700000001"; }),
        with([](GameRecord& g) { g.StartTime.reset(); }), // then the address counts
        with([](GameRecord& g) {
            g.Title = "Melee Sven";
            g.Hoster = "";
        }),
        with([](GameRecord& g) { g.Title = std::string(17, 'x'); }),
        with([](GameRecord& g) { g.Title = std::string(18, 'x'); }),
    };
    for (const GameRecord& game : other)
        EXPECT_NE(gameIdentityHash(game), gameIdentityHash(base)) << gameIdentity(game);
    // Every byte counts, at any place in a text of any length.
    for (std::size_t length = 1; length <= 20; ++length) {
        GameRecord game = base;
        game.Hoster = std::string(length, 'a');
        const std::uint64_t hash = gameIdentityHash(game);
        for (std::size_t at = 0; at < length; ++at) {
            GameRecord changed = game;
            changed.Hoster[at] = 'b';
            EXPECT_NE(gameIdentityHash(changed), hash) << length << ' ' << at;
        }
    }
    EXPECT_NE(gameIdentityHash(base), 0u);
    GameRecord stored = base;
    stored.IdentityHash = 42;
    EXPECT_EQ(identityHashOf(stored), 42u);
    EXPECT_EQ(identityHashOf(base), gameIdentityHash(base));
}

TEST(SharedText, EqualValuesShareOneCopyAndEachKeepsItsValueWhateverComesLater)
{
    // Far more values than the thread keeps at hand, some long enough never to be shared: every text still reads
    // what it was given, however its copy was shared or replaced in the meantime.
    std::vector<SharedText> texts;
    std::vector<std::string> values;
    for (int i = 0; i < 2000; ++i) {
        values.push_back(i % 7 == 0 ? std::string(80, static_cast<char>('a' + i % 26)) + std::to_string(i)
                                    : "Wert " + std::to_string(i % 600));
        texts.emplace_back(values.back());
    }
    std::vector<SharedText> copies(texts.begin(), texts.end());
    for (std::size_t i = 0; i < texts.size(); i += 3)
        texts[i] = SharedText("ersetzt");
    for (std::size_t i = 0; i < copies.size(); ++i) {
        ASSERT_EQ(copies[i], values[i]) << i;
        ASSERT_EQ(texts[i], i % 3 == 0 ? "ersetzt" : values[i]) << i;
    }

    const SharedText first(std::string("Joined|Removed")), second(std::string("Joined|Removed"));
    EXPECT_EQ(first.data(), second.data());

    SharedText moved = first;
    const SharedText target = std::move(moved);
    EXPECT_EQ(target, "Joined|Removed");
    EXPECT_TRUE(moved.empty()); // NOLINT(bugprone-use-after-move): a moved text reads ""
    EXPECT_TRUE(SharedText().empty());
    EXPECT_EQ(SharedText(""), std::string());

    // A permanent text outlives every copy let go of, replaced or moved away (AddressSanitizer sees a freed one).
    {
        std::vector<SharedText> records(3, unsetText());
        records[0] = SharedText("4,9,10,15");
        records[1] = std::move(records[2]);
    }
    EXPECT_EQ(unsetText(), "ERR");
}
