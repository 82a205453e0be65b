// The notice board at every tick: which notices of a 40,000-line notice file are shown. The costly case is
// a long history the user has dismissed almost all of, so every notice's dismissal is looked up. Target:
// a few milliseconds per tick at 40,000 notices, growing with the file, not with its square.
#include "refresh/noticeboard.h"
#include "settings/keys.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quintor;

constexpr int kNotices = 40000;

std::string noticeFile(int count)
{
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += std::to_string(n) + "=Hinweis Nummer " + std::to_string(n) + "\r\n";
    return text;
}

// Every notice but the last `kept` dismissed, among the usual settings.
TextList dismissedAllBut(int count, int kept)
{
    TextList config({"crdir=/home/spieler/clonk/", "width=800", "height=600", "left=10", "top=10"});
    for (int n = 1; n <= count - kept; ++n)
        config.setValue(keys::numbered(keys::clipBoardDisable, n), "true");
    return config;
}

void BM_NoticesToShow(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string file = noticeFile(count);
    const TextList config = dismissedAllBut(count, 3);
    for (auto _ : state) {
        const auto notices = noticesToShow(file, config);
        if (notices.size() != 3u) state.SkipWithError("wrong notices");
        benchmark::DoNotOptimize(notices.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
}
BENCHMARK(BM_NoticesToShow)->Arg(kNotices / 4)->Arg(kNotices)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
