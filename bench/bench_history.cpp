// The activity history: what opening the history window costs on a full 400-day file (target:
// under 20 ms), and what recording adds to a tick (target: nothing measurable beside the tick).
#include "history/activityhistory.h"
#include "history/civiltime.h"
#include "history/historystats.h"
#include "masterserver-sim/simhistory.h"
#include "support/tempfolder.h"

#include <benchmark/benchmark.h>

namespace {

class BenchClock final : public quintor::Clock {
public:
    quintor::LocalDateTime time{2026, 12, 8, 21, 30, 0, 0};
    quintor::LocalDateTime now() const override { return time; }
    std::chrono::milliseconds steadyNow() const override { return std::chrono::milliseconds(0); }
    std::string shortDate(const quintor::LocalDateTime&) const override { return "08.12.2026"; }
    std::string longTime(const quintor::LocalDateTime&) const override { return "21:30:00"; }
};

// A full history file that ends with the hour before the clock's.
const quintor::test::TempFolder& fullFolder(const BenchClock& clock)
{
    static quintor::test::TempFolder folder;
    static const bool written = [&] {
        const auto hours =
            quintor::sim::simulatedHistory(1, quintor::ActivityHistory::keptDays, quintor::hourNumber(clock.now()) - 1);
        quintor::historyText(hours).saveToFile(folder.file("history.txt"));
        return true;
    }();
    (void)written;
    return folder;
}

// (a) the file read, parsed and the heat map with its words computed, as the window opens.
void BM_Load400DaysAndHeatMap(benchmark::State& state)
{
    const BenchClock clock;
    const std::string path = fullFolder(clock).file("history.txt");
    std::size_t hours = 0;
    for (auto _ : state) {
        quintor::ActivityHistory history(clock);
        const auto loaded = history.load(path);
        if (loaded.skippedLines != 0 || !loaded.error.empty()) state.SkipWithError("the file did not load whole");
        const auto map = quintor::weekHeatMap(history.hours(), history.currentHour());
        benchmark::DoNotOptimize(quintor::busiestHoursText(map));
        hours = history.hours().size();
    }
    state.counters["hours"] = static_cast<double>(hours);
}
BENCHMARK(BM_Load400DaysAndHeatMap)->Unit(benchmark::kMillisecond);

// (b) the 30-day chart series of a full history, as the window redraws it after a tick.
void BM_ThirtyDaySeries(benchmark::State& state)
{
    const BenchClock clock;
    quintor::ActivityHistory history(clock);
    history.load(fullFolder(clock).file("history.txt"));
    for (auto _ : state)
        benchmark::DoNotOptimize(quintor::chartSeries(history.hours(), history.currentHour(), quintor::lastMonthHours));
}
BENCHMARK(BM_ThirtyDaySeries)->Unit(benchmark::kMicrosecond);

// (c) one tick recorded into a full history within the current hour.
void BM_RecordTick(benchmark::State& state)
{
    const BenchClock clock;
    quintor::ActivityHistory history(clock);
    history.load(fullFolder(clock).file("history.txt"));
    for (auto _ : state)
        benchmark::DoNotOptimize(history.record({12, 40}));
}
BENCHMARK(BM_RecordTick)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
