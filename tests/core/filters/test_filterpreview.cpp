// The condition editor's preview: it decides as the refresh does (checked on 1,000 simulated games for a
// table of filters), counts per row, finds spellings that differ only by letter case, and writes its texts.
#include "filters/filterengine.h"
#include "filters/filterpage.h"
#include "filters/filterpreview.h"

#include "filtertestsupport.h"
#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "settings/translate.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quintor;
using test::conditionsText;
using test::Row;

namespace {

std::vector<GameRecord> gamesOf(std::initializer_list<std::pair<const char*, const char*>> titleAndStatus)
{
    std::vector<GameRecord> games;
    for (const auto& [title, status] : titleAndStatus) {
        GameRecord game;
        game.Title = title;
        game.Status = status;
        games.push_back(std::move(game));
    }
    return games;
}

FilterConditions page(std::vector<FilterRow> rows, std::int32_t typ = 0, bool active = true)
{
    return {std::move(rows), typ, active, false};
}

constexpr std::int32_t kTitle = 0, kStatus = 5;
constexpr std::int32_t kContains = 0, kEquals = 1;

} // namespace

// Every filter of the table decides each of 1,000 simulated games the same in the refresh (which also
// performs its actions) and in the preview of its page as the editor loads it.
TEST(FilterPreview, DecidesAsTheRefreshDoesOnAThousandSimulatedGames)
{
    struct Case {
        const char* name;
        std::vector<Row> rows;
        const char* typ;
        const char* active;
    };
    const std::vector<Case> table = {
        {"Lobby", {{"5", "1", "Lobby"}}, "0", "True"},
        {"lobby klein", {{"5", "1", "lobby"}}, "0", "True"},
        {"Burg oder KI", {{"0", "0", "Burg"}, {"1", "0", "KI"}}, "1", "True"},
        {"weder offiziell noch Passwort", {{"6", "1", "Ja"}, {"7", "1", "Ja"}}, "2", "True"},
        {"Hoster und Definition", {{"2", "0", "e"}, {"3", "0", ".c4d"}}, "0", "True"},
        {"Liga", {{"8", "0", "Melee"}}, "0", "True"},
        {"Spiel und Status", {{"4", "1", "Clonk Rage"}, {"5", "0", "Lauf"}}, "0", "True"},
        {"inaktiv", {{"5", "1", "Lobby"}}, "0", "False"},
        {"Regel sieben", {{"5", "1", "Lobby"}}, "7", "True"},
        {"ohne Zeilen, alle", {}, "0", "True"},
        {"ohne Zeilen, eine", {}, "1", "True"},
        {"nichts gew\xE4hlt", {{"-1", "0", "a"}, {"0", "-1", "a"}, {"12", "0", "a"}}, "1", "True"},
        {"leerer Text", {{"0", "0", ""}}, "0", "True"},
        {"Umlaut", {{"1", "0", "\xC9lan"}, {"0", "0", "\xFC"}}, "1", "True"},
    };
    test::TempFolder folder;
    TextList filters;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Case& c = table[i];
        test::addFilter(folder, filters, 0, static_cast<int>(i), c.name, conditionsText(c.rows, c.typ, c.active),
                        test::actionsText({{"5", "5", "x"}}));
    }

    GameStore store;
    TextList aliases;
    RowHandle lastRow = 0;
    ReferenceReader reader(false, aliases,
                           {[&](GameRecord&& game) {
                                game.Item = ++lastRow;
                                store.append(std::move(game));
                            },
                            [](const std::string&) {},
                            {}});
    reader.read(sim::generateStaticReply(7, 1000));
    reader.finish();
    const std::vector<GameRecord>& games = store.all();
    ASSERT_EQ(games.size(), 1000u);

    test::RecordingActions actions(store);
    FilterEngine engine(filters, store, folder.path(), actions, [](const std::string& error) { FAIL() << error; });
    engine.beginTick();
    std::map<std::string, std::set<std::size_t>> byTick;
    for (std::size_t i = 0; i < games.size(); ++i) {
        EvaluationRecord record;
        engine.evaluateFilters(games[i].Item, FilterActionMode::perform, &record);
        for (const std::uint32_t place : record.passed) // one group: the filters' places are the table's
            byTick[table.at(place).name].insert(i);
    }
    engine.endTick({});

    int partial = 0; // filters that match some games but not all: the comparison has something to tell apart
    for (const Case& c : table) {
        FilterPages pages(folder.path());
        pages.load(filterKey(0, static_cast<int>(&c - table.data())));
        const FilterPreview preview = previewFilter(pages.conditions(), &games);
        const std::set<std::size_t> previewed(preview.matching.begin(), preview.matching.end());
        EXPECT_EQ(previewed, byTick[c.name]) << c.name;
        EXPECT_EQ(preview.total, 1000u);
        if (!previewed.empty() && previewed.size() < games.size()) ++partial;
    }
    EXPECT_GE(partial, 7);
    EXPECT_FALSE(byTick["Lobby"].empty());
    EXPECT_TRUE(byTick["lobby klein"].empty());
    EXPECT_EQ(actions.performed.size(), [&] {
        std::size_t n = 0;
        for (const auto& [name, matched] : byTick)
            n += matched.size();
        return n;
    }());
}

TEST(FilterPreview, CaseOnlySpellings)
{
    struct Case {
        const char* datum;
        const char* comparison;
        const char* text;
        std::optional<std::string> spelling;
    };
    const Case table[] = {
        {"Lobby", "1", "lobby", "Lobby"},
        {"Lobby", "1", "Lobby", std::nullopt},            // holds as it stands
        {"Lobby", "1", "lobb", std::nullopt},             // "entspricht" wants the whole datum
        {"Super Clonk Rage", "0", "clonk", "Clonk"},      // the datum's part that contains it
        {"Super Clonk Rage", "0", "Clonk", std::nullopt}, // holds
        {"Super Clonk Rage", "0", "", std::nullopt},      // an empty text never holds, whatever the case
        {"\xC4rger", "0", "\xE4rg", "\xC4rg"},            // Windows-1252 letters fold too
        {"a\xD7"
         "b",
         "1",
         "a\xF7"
         "b",
         std::nullopt}, // the multiplication sign is no letter
        {"\x8A"
         "ach",
         "1",
         "\x9A"
         "ACH",
         "\x8A"
         "ach"},                               // Š and š
        {"Lobby", "2", "lobby", std::nullopt}, // a comparison that never holds has no hint
        {"ab", "0", "abc", std::nullopt},
    };
    for (const Case& c : table)
        EXPECT_EQ(caseOnlySpelling(c.datum, comparisonOf(c.comparison), c.text), c.spelling)
            << c.datum << " / " << c.text;
}

TEST(FilterPreview, MatchingGamesTheirTitlesAndTheRowsOfTheFirst)
{
    const auto games = gamesOf({{"Burg", "Lobby"}, {"Wald", "Running"}, {"Burgfest", "Lobby"}, {"Mine", "Lobby"}});
    const FilterPreview preview =
        previewFilter(page({{kStatus, kEquals, "Lobby"}, {kTitle, kContains, "burg"}}, 1), &games);
    EXPECT_EQ(preview.matching, (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(previewText(preview, &games), "Passt jetzt auf 3 von 4 Spielen:\n  Burg\n  Burgfest\n  Mine\n"
                                            "Bedingung 2: Gro\xDF-/Kleinschreibung beachten: \"Burg\"");
    // The marks speak of the first match: "Burg" is a lobby, and its title holds "burg" only ignoring case.
    EXPECT_TRUE(preview.rows[0].holds);
    EXPECT_FALSE(preview.rows[1].holds);
    EXPECT_EQ(rowToolTip(preview, 0), "h\xE4lt f\xFCr \"Burg\"");
    EXPECT_EQ(rowToolTip(preview, 1), "h\xE4lt nicht f\xFCr \"Burg\"\nGro\xDF-/Kleinschreibung beachten: \"Burg\"");
}

TEST(FilterPreview, WithoutAMatchEachRowCountsItsGames)
{
    const auto games = gamesOf({{"Burg", "Lobby"}, {"Wald", "Running"}, {"Mine", "Running"}});
    const FilterPreview preview = previewFilter(
        page({{kStatus, kEquals, "lobby"}, {kStatus, kEquals, "Running"}, {kTitle, kContains, "x"}}), &games);
    EXPECT_TRUE(preview.matching.empty());
    EXPECT_EQ(previewText(preview, &games),
              "Passt jetzt auf 0 von 3 Spielen:\nBedingung 1: Gro\xDF-/Kleinschreibung beachten: \"Lobby\"");
    EXPECT_EQ(rowToolTip(preview, 0), "h\xE4lt f\xFCr 0 von 3 Spielen\nGro\xDF-/Kleinschreibung beachten: \"Lobby\"");
    EXPECT_EQ(rowToolTip(preview, 1), "h\xE4lt f\xFCr 2 von 3 Spielen");
    EXPECT_TRUE(preview.rows[1].holds);
    EXPECT_EQ(rowToolTip(preview, 2), "h\xE4lt f\xFCr 0 von 3 Spielen");
    EXPECT_FALSE(preview.rows[2].holds);
}

// Filters compare the list's German values; a state typed as the English list shows it is told so.
TEST(FilterPreview, AValueWrittenAsTheLanguageShowsItIsToldTheListsValue)
{
    const auto games = gamesOf({{"Burg", "Laufend"}, {"Wald", "Lobby"}});
    const FilterConditions running = page({{kStatus, kEquals, "running"}, {kStatus, kContains, "Lobby"}}, 1);
    EXPECT_EQ(previewText(previewFilter(running, &games), &games), "Passt jetzt auf 1 von 2 Spielen:\n  Wald");
    ASSERT_TRUE(useCatalogFile(QUINTOR_BUILD_CATALOG));
    const FilterPreview preview = previewFilter(running, &games);
    useGermanTexts();
    EXPECT_EQ(preview.rows[0].listSpelling, "Laufend");
    EXPECT_FALSE(preview.rows[1].listSpelling); // "Lobby" is the same in both
    EXPECT_EQ(rowToolTip(preview, 0), "h\xE4lt nicht f\xFCr \"Wald\"\nDie Spieleliste schreibt: \"Laufend\"");
}

TEST(FilterPreview, TextsForNoRefreshAnInactiveFilterManyMatchesAndHostileTitles)
{
    const FilterConditions all = page({});
    const FilterPreview none = previewFilter(all, nullptr);
    EXPECT_EQ(previewText(none, nullptr), "Noch keine Spiele geladen");

    const auto lobbies = gamesOf({{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}, {"6", ""}, {"7", ""}});
    EXPECT_EQ(previewText(previewFilter(all, &lobbies), &lobbies),
              "Passt jetzt auf 7 von 7 Spielen:\n  1\n  2\n  3\n  4\n  5\n  und 2 weitere");
    EXPECT_EQ(previewText(previewFilter(page({}, 0, false), &lobbies), &lobbies),
              "Passt jetzt auf 0 von 7 Spielen:\n\"Filter aktiv\" ist aus: der Filter passt auf kein Spiel.");

    // A title is one line of at most 80 characters, whatever its host wrote.
    std::vector<GameRecord> hostile(1);
    hostile[0].Title = "<b>Pro</b>\nzwei\r" + std::string(200, 'x');
    const std::string text = previewText(previewFilter(all, &hostile), &hostile);
    EXPECT_EQ(text, "Passt jetzt auf 1 von 1 Spielen:\n  <b>Pro</b> zwei " + std::string(64, 'x') + "...");
}

TEST(FilterPreview, TitlesKeepTheirColoursWhereTheyStandInTheLine)
{
    std::vector<GameRecord> games(1);
    games[0].Title = "Feuerland" + std::string(100, 'x');
    games[0].TitleSpans = {{0, 5, 0xFF8000}, {75, 10, std::nullopt, true}, {90, 3, 0x00FF00}};
    const std::vector<PreviewLine> lines = previewLines(previewFilter(page({}), &games), &games);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].spans.empty());
    // After the indent of two, and cut where the line is cut.
    EXPECT_EQ(lines[1].spans, (TextSpans{{2, 5, 0xFF8000}, {77, 5, std::nullopt, true}}));
}
