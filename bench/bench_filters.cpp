// What the filters add to a refresh: the tick's own work on 1,000 simulated games (reading the reply,
// storing the records, building the rows) beside the same with 50 active filters evaluated for every
// game, their files read from a real folder once per tick. Target: the filters add less than the tick's
// own time.
#include "filters/filterengine.h"
#include "filters/filterfiles.h"
#include "filters/filterpreview.h"
#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "refresh/rowbuilder.h"
#include "settings/storedlines.h"
#include "support/tempfolder.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quintor;

constexpr int kGames = 1000;
constexpr int kFilters = 50;

const std::string& reply()
{
    static const std::string text = sim::generateStaticReply(7, kGames);
    return text;
}

// The refresh's filter hook over the engine, as the program wires the two.
class EngineHook final : public GameFilter {
public:
    explicit EngineHook(FilterEngine& engine) : engine_(engine) {}
    void beginTick() override { engine_.beginTick(); }
    std::string evaluateFilters(RowHandle row) override
    {
        EvaluationRecord record;
        engine_.evaluateFilters(row, FilterActionMode::perform, &record);
        return matchExplanation(record);
    }

private:
    FilterEngine& engine_;
};

class NullListView final : public GameListView {
public:
    int columnCount() const override { return 4; }
    int columnWidth(int) const override { return 80; }
    void clearRows() override {}
    void clearColumns() override {}
    void addColumn(const std::string&, int) override {}
    RowHandle addRow() override { return ++last_; }
    void setRowTexts(RowHandle, const std::string& caption, std::vector<std::string> subItems) override
    {
        benchmark::DoNotOptimize(caption.data());
        benchmark::DoNotOptimize(subItems.data());
    }

private:
    RowHandle last_ = 0;
};

class BenchClock final : public Clock {
public:
    LocalDateTime now() const override { return {2026, 12, 8, 17, 2, 6, 0}; }
    std::chrono::milliseconds steadyNow() const override { return std::chrono::milliseconds(0); }
    std::string shortDate(const LocalDateTime&) const override { return "08.12.2026"; }
    std::string longTime(const LocalDateTime&) const override { return "17:02:06"; }
};

// Actions without windows: message boxes and balloons are dropped, colours and log lines are real.
class BenchActions final : public FilterActions {
public:
    BenchActions(GameStore& games, LogLines& logLines) : games_(games), logLines_(logLines) {}
    void perform(const PerformedAction& action) override
    {
        if (action.kind == ActionKind::colourRow) paintRow(games_, action.row, action.text);
        if (action.kind == ActionKind::writeLog) logLines_.add(logEntry(clock_, action.filterName, action.text));
        ++performed;
    }
    std::int64_t performed = 0;

private:
    GameStore& games_;
    LogLines& logLines_;
    BenchClock clock_;
};

// 50 active filters of the kinds users write: a word in the title together with a player, the status, a
// definition or official games ("Alle"); every tenth one any of its conditions ("Eine"), and one filter of
// official games with a password, written as neither unofficial nor without password ("Keine"). Each colours the row,
// writes a log line and raises a message box or a balloon (both dropped here).
TextList writeFilters(const test::TempFolder& folder)
{
    static const char* const words[] = {"Greed", "Goldmine", "Burg",  "H\xF6hle", "Siedlung",
                                        "Lava",  "Kristall", "Feuer", "Wipf",     "Schlacht"};
    static const char* const players[] = {"Hansi", "Wipf", "Quarz", "Monarch", "Pyromane"};
    static const char* const colours[] = {"Blau", "Grau", "Rot", "Gelb", "Orange", "Gr\xFCn"};
    std::vector<FilterGroup> tree(5);
    for (int g = 0; g < 5; ++g) {
        tree[static_cast<std::size_t>(g)].name = "Gruppe " + std::to_string(g);
        for (int f = 0; f < kFilters / 5; ++f) {
            const int n = g * (kFilters / 5) + f;
            tree[static_cast<std::size_t>(g)].filters.push_back("Filter " + std::to_string(n));
            FilterConditions conditions;
            if (n == kFilters - 1) {
                conditions.rows = {{7, 1, "Nein"}, {6, 1, "Nein"}};
                conditions.typ = 2;
            } else {
                conditions.rows = {{0, 0, words[n % 10]}, {1, 0, players[n % 5]}};
                if (n % 3 == 0) conditions.rows.push_back({5, 1, "Lobby"});
                if (n % 7 == 0) conditions.rows.push_back({3, 0, "Knights.c4d"});
                if (n % 11 == 0) conditions.rows.push_back({6, 1, "Ja"});
                conditions.typ = n % 10 == 9 ? 1 : 0;
            }
            conditions.active = true;
            writeConditions(folder.path(), filterKey(g, f), conditions);
            writeActions(folder.path(), filterKey(g, f),
                         {{4, 4, colours[n % 6]}, {5, 0, "Neu: %s"}, {n % 2, 2, "Spiel von %-12.8s"}});
        }
    }
    return filterListOf(tree);
}

int runTick(GameStore& games, GameFilter* filter)
{
    TextList config, aliases;
    NullListView list;
    games.clear();
    if (filter) filter->beginTick();
    ReferenceReader reader(
        false, aliases,
        {[&](GameRecord&& entry) { completeRecord(std::move(entry), games, config, aliases, list, filter); },
         [](const std::string&) {},
         {}});
    reader.read(reply());
    reader.finish();
    return static_cast<int>(games.size());
}

void BM_TickWithoutFilters(benchmark::State& state)
{
    GameStore games;
    for (auto _ : state) {
        if (runTick(games, nullptr) != kGames) state.SkipWithError("games lost");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
}
BENCHMARK(BM_TickWithoutFilters)->Unit(benchmark::kMillisecond);

void BM_TickWith50ActiveFilters(benchmark::State& state)
{
    test::TempFolder folder;
    const TextList filters = writeFilters(folder);
    GameStore games;
    LogLines logLines;
    BenchActions actions(games, logLines);
    std::int64_t errors = 0;
    FilterEngine engine(filters, games, folder.path(), actions, [&](const std::string&) { ++errors; });
    EngineHook hook(engine);
    for (auto _ : state) {
        logLines.clear();
        if (runTick(games, &hook) != kGames) state.SkipWithError("games lost");
    }
    if (errors > 0) state.SkipWithError("a filter failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
    state.counters["actions_per_tick"] =
        static_cast<double>(actions.performed) / static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
}
BENCHMARK(BM_TickWith50ActiveFilters)->Unit(benchmark::kMillisecond);

// The filters alone: the same 1,000 records, parsed once; every iteration is one refresh's evaluation.
void BM_FilterparseOnly50ActiveFilters(benchmark::State& state)
{
    test::TempFolder folder;
    const TextList filters = writeFilters(folder);
    GameStore games;
    runTick(games, nullptr);
    LogLines logLines;
    BenchActions actions(games, logLines);
    FilterEngine engine(filters, games, folder.path(), actions,
                        [&](const std::string&) { state.SkipWithError("a filter failed"); });
    std::vector<RowHandle> rows;
    for (const auto& game : games.all())
        rows.push_back(game.Item);
    for (auto _ : state) {
        logLines.clear();
        engine.beginTick();
        for (RowHandle row : rows)
            engine.evaluateFilters(row);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
}
BENCHMARK(BM_FilterparseOnly50ActiveFilters)->Unit(benchmark::kMillisecond);

// One update of the condition editor's preview over the 1,000 games of a refresh, as every keystroke
// makes it. Target: under 5 ms. Argument 0: a page that matches some games (titles of the first, marks
// of its rows); 1: five rows that match no game, where every row is counted over every game and the
// letter-case hint is looked for.
void BM_PreviewUpdate(benchmark::State& state)
{
    GameStore games;
    runTick(games, nullptr);
    const std::vector<GameRecord>& shown = games.all();
    FilterConditions page;
    if (state.range(0) == 0) {
        page.rows = {{5, 1, "Lobby"}, {0, 0, "Burg"}, {1, 0, "Wipf"}};
        page.typ = 1;
    } else {
        page.rows = {{5, 1, "lobby"}, {0, 0, "burgkampf"}, {1, 0, "niemand"}, {3, 0, "keine.c4d"}, {2, 1, "x"}};
        page.typ = 0;
    }
    std::size_t matching = 0;
    for (auto _ : state) {
        const FilterPreview preview = previewFilter(page, &shown);
        const std::string text = previewText(preview, &shown);
        benchmark::DoNotOptimize(text.data());
        matching = preview.matching.size();
    }
    state.counters["matching"] = static_cast<double>(matching);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
}
BENCHMARK(BM_PreviewUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
