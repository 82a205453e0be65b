// What the filters add to a refresh: the tick's own work on 1,000 simulated games (reading the reply,
// storing the records, building the rows) beside the same with 50 active filters evaluated for every
// game, their files read from a real folder once per tick. Targets: the filters add less than reading the
// reply costs; marked "once", from the second tick on (nothing new to report), less than a third of it.
#include "benchsupport.h"
#include "filters/filterengine.h"
#include "filters/filterfiles.h"
#include "filters/filterpreview.h"
#include "refresh/rowbuilder.h"
#include "settings/storedlines.h"
#include "support/tempfolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <thread>

namespace {

using namespace quintor;

constexpr int kGames = 1000;
constexpr int kFilters = 50;

const std::string& reply()
{
    return bench::simulatedReply(kGames);
}

// Reading the same reply alone: what the ticks below are set against.
QUINTOR_BENCH_READER_1000_GAMES;

// The refresh's filter hook over the engine, as the program wires the two.
class EngineHook final : public GameFilter {
public:
    explicit EngineHook(FilterEngine& engine) : engine_(engine) {}
    void beginTick() override { engine_.beginTick(); }
    void endTick(const std::vector<std::string>& unreadServers, bool listFromFile) override
    {
        engine_.endTick(unreadServers, listFromFile);
    }
    FilterMatches evaluateFilters(RowHandle row) override
    {
        FilterMatches matches;
        engine_.evaluateFilters(row, FilterActionMode::perform, &matches);
        return matches;
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
    void setRowTexts(RowHandle, const std::string& caption, const std::vector<std::string>& subItems) override
    {
        benchmark::DoNotOptimize(caption.data());
        benchmark::DoNotOptimize(subItems.data());
    }
    void setRowToolTip(RowHandle, RowToolTip toolTip) override { benchmark::DoNotOptimize(&toolTip); }

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

// Actions without windows: message boxes and balloons are dropped, colours and log lines are real (the time of
// a tick's log entries formatted once, as the program does).
class BenchActions final : public FilterActions {
public:
    BenchActions(GameStore& games, LogLines& logLines) : games_(games), logLines_(logLines) {}
    void perform(const PerformedAction& action) override
    {
        if (action.kind == ActionKind::colourRow) paintRow(games_, action.row, action.text);
        if (action.kind == ActionKind::writeLog) logLines_.add(logEntry(tickTime_, action.filterName, action.text));
        ++performed;
        if (action.kind != ActionKind::colourRow) ++events;
    }
    void beginTick() override { tickTime_ = dateTimeText(clock_, clock_.now()); }
    std::int64_t performed = 0;
    std::int64_t events = 0; // all but the colours

private:
    GameStore& games_;
    LogLines& logLines_;
    BenchClock clock_;
    std::string tickTime_;
};

// 50 active filters of the kinds users write: a word in the title together with a player, the status, a
// definition or official games ("Alle"); every tenth one any of its conditions ("Eine"), and one filter of
// official games with a password, written as neither unofficial nor without password ("Keine"). Each colours the row,
// writes a log line and raises a message box or a balloon (both dropped here). `once`: all of them marked "once".
TextList writeFilters(const test::TempFolder& folder, bool once = false)
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
            conditions.once = once;
            writeConditions(folder.path(), filterKey(g, f), conditions);
            writeActions(folder.path(), filterKey(g, f),
                         {{4, 4, colours[n % 6]}, {5, 0, "Neu: %s"}, {n % 2, 2, "Spiel von %-12.8s"}});
        }
    }
    return filterListOf(tree);
}

// The filter files of the benchmarks, written once and, as a user's filters are, long before the ticks read
// them: a file changed less than a few seconds before a tick is read anew at every tick.
struct FilterSet {
    test::TempFolder folder;
    TextList filters;
};
const FilterSet& filterSet(bool once)
{
    static std::map<bool, FilterSet> sets;
    auto found = sets.find(once);
    if (found != sets.end()) return found->second;
    FilterSet& set = sets[once];
    set.filters = writeFilters(set.folder, once);
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    return set;
}

int runTick(GameStore& games, GameFilter* filter)
{
    TextList config, aliases;
    NullListView list;
    games.clear();
    if (filter) filter->beginTick();
    RowBuilder rows(games, config, aliases, list, filter);
    ReferenceReader reader(
        false, aliases, {[&](GameRecord&& entry) { rows.complete(std::move(entry)); }, [](const std::string&) {}, {}});
    reader.read(reply());
    reader.finish();
    rows.showCompleted();
    games.finishList();
    if (filter) filter->endTick({}, false);
    return static_cast<int>(games.size());
}

// The 50 filters of a benchmark over one game store, as the refresh runs them.
struct FilterRun {
    explicit FilterRun(bool once)
        : set(filterSet(once)),
          engine(set.filters, games, set.folder.path(), actions, [this](const std::string&) { ++errors; }), hook(engine)
    {
    }
    int tick()
    {
        logLines.clear();
        return runTick(games, &hook);
    }
    // The benchmark's timed ticks, counted under callgrind.
    void timedTicks(benchmark::State& state)
    {
        {
            bench::CountedLoop counted;
            for (auto _ : state) {
                if (tick() != kGames) state.SkipWithError("games lost");
            }
        }
        if (errors > 0) state.SkipWithError("a filter failed");
        state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
    }

    const FilterSet& set;
    GameStore games;
    LogLines logLines;
    BenchActions actions{games, logLines};
    std::int64_t errors = 0;
    FilterEngine engine;
    EngineHook hook;
};

void BM_TickWithoutFilters(benchmark::State& state)
{
    GameStore games;
    runTick(games, nullptr); // every timed tick lets the list of the tick before go
    {
        bench::CountedLoop counted;
        for (auto _ : state) {
            if (runTick(games, nullptr) != kGames) state.SkipWithError("games lost");
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kGames);
}
BENCHMARK(BM_TickWithoutFilters)->Unit(benchmark::kMillisecond);

void BM_TickWith50ActiveFilters(benchmark::State& state)
{
    FilterRun run(false);
    run.tick(); // every timed tick lets the list of the tick before go
    const std::int64_t beforeTicks = run.actions.performed;
    run.timedTicks(state);
    state.counters["actions_per_tick"] = static_cast<double>(run.actions.performed - beforeTicks) /
                                         static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
}
BENCHMARK(BM_TickWith50ActiveFilters)->Unit(benchmark::kMillisecond);

// The same filters marked "once", from the second tick on: the same games every tick, so nothing is new to report
// and only the colours are set.
void BM_TickWith50FiltersMarkedOnce(benchmark::State& state)
{
    FilterRun run(true);
    run.tick(); // the first tick reports every game
    const std::int64_t firstTick = run.actions.performed, firstEvents = run.actions.events;
    run.timedTicks(state);
    if (firstEvents == 0 || run.actions.events != firstEvents) state.SkipWithError("not reported once");
    const double perTick = static_cast<double>(run.actions.performed - firstTick) /
                           static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    state.counters["actions_first_tick"] = static_cast<double>(firstTick);
    state.counters["actions_per_tick"] = perTick;
}
BENCHMARK(BM_TickWith50FiltersMarkedOnce)->Unit(benchmark::kMillisecond);

// The filters alone: the same 1,000 records, parsed once; every iteration is one refresh's evaluation.
void BM_FilterparseOnly50ActiveFilters(benchmark::State& state)
{
    const FilterSet& set = filterSet(false);
    GameStore games;
    runTick(games, nullptr);
    LogLines logLines;
    BenchActions actions(games, logLines);
    FilterEngine engine(set.filters, games, set.folder.path(), actions,
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
