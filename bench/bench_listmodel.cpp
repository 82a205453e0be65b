// One refresh tick's rows into the game list model, with the window's list view attached: every row cleared, then
// each game's row added and its texts set, which puts the row in its rank's place. How the time grows from 10,000 to
// 100,000 games shows whether placing a row costs more as the list grows. BM_ListModelTick tells the view of every
// row as it comes; BM_ListModelHeldTick holds the rows as a refresh does and tells the view of them at once, which
// leaves the model's own work.
//   cmake --preset release && cmake --build --preset release --target bench_listmodel
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_listmodel
#include "reference/gamestore.h"
#include "ui/mainwindow/gamelistmodel.h"

#include <QApplication>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace quintor;

namespace {

// Games of every rank, mixed as a league lists them: lobbies, running and paused games, some official.
std::vector<GameRecord> leagueGames(int count)
{
    static const char* const states[] = {"Lobby", "Laufend", "Laufend", "Pause", "Lobby", "Laufend", "Laufend"};
    std::vector<GameRecord> games(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        GameRecord& game = games[static_cast<std::size_t>(i)];
        game.Title = "Spiel " + std::to_string(i);
        game.Status = states[(i * 7 + i / 3) % 7];
        game.OfficialServer = i % 5 == 0;
        game.Hoster = "Host " + std::to_string(i % 97);
    }
    return games;
}

void listModelTicks(benchmark::State& state, bool held)
{
    const std::vector<GameRecord> league = leagueGames(static_cast<int>(state.range(0)));
    GameStore store;
    ui::GameListModel model(store);
    QTreeView view;
    view.setModel(&model);
    model.setHeader(view.header());
    model.addColumn("Szenario", 200);
    model.addColumn("Status", 80);
    model.addColumn("Hoster", 120);
    RowHandle lastRow = 0;
    for (auto _ : state) {
        // The records are stored beforehand under the rows they will get (a row's handle is the one after the
        // last), so that the time is the model's.
        state.PauseTiming();
        store.clear();
        for (std::size_t i = 0; i < league.size(); ++i) {
            GameRecord game = league[i];
            game.Item = lastRow + 1 + i;
            store.append(std::move(game));
        }
        state.ResumeTiming();
        model.clearRows();
        if (held) model.holdRows();
        for (const GameRecord& game : league) {
            lastRow = model.addRow();
            model.setRowTexts(lastRow, game.Title, {game.Status, game.Hoster});
        }
        if (held) model.showRows();
    }
    if (model.rowCount() != static_cast<int>(state.range(0)) || store.find(lastRow) == nullptr)
        state.SkipWithError("not every game listed under its row");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_ListModelTick(benchmark::State& state)
{
    listModelTicks(state, false);
}
BENCHMARK(BM_ListModelTick)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_ListModelHeldTick(benchmark::State& state)
{
    listModelTicks(state, true);
}
BENCHMARK(BM_ListModelHeldTick)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
