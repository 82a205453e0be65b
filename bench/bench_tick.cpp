// A refresh tick of 1,000 games into the list model the window shows, and how long the event loop can
// stall while a masterserver takes 3 s to answer.
//   cmake --preset release && cmake --build --preset release --target bench_tick
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_tick
#include "benchsupport.h"
#include "masterserver-sim/replygen.h"
#include "masterserver-sim/simserver.h"
#include "refresh/refreshcycle.h"
#include "support/fakes.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/platform/backgroundhttpclient.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <functional>
#include <utility>

using namespace quintor;

namespace {

// The body as the server sent it, without the network: the tick's own work. The network hands the tick a body of
// its own; so does this, from a copy made beforehand (received()), so that making the copy is not the tick's time.
class CachedReply : public HttpClient {
public:
    explicit CachedReply(std::string body) : body_(std::move(body)) {}
    // Makes the body the next get() hands over.
    void received() { next_ = body_; }
    std::string get(const std::string&, const HttpOptions&) override
    {
        if (next_.empty()) return body_;
        return std::exchange(next_, std::string());
    }

private:
    std::string body_, next_;
};

// `beforeTick` runs before each timed tick, untimed and uncounted.
void runTicks(benchmark::State& state, HttpClient& http, const std::string& url,
              const std::function<void()>& beforeTick = {})
{
    MonitorState monitor;
    monitor.config.add("Column1=Status");
    monitor.config.add("Column2=Spieler");
    monitor.config.add("Column3=Hoster");
    ui::GameListModel model(monitor.games);
    test::RecordingMainView view;
    test::RecordingPrompts prompts;
    test::FixedClock clock;
    RefreshCycle cycle(monitor, RefreshPorts{model, view, prompts, http, clock, url, nullptr, nullptr});
    monitor.servers.add(url);
    cycle.runTick(); // every timed tick lets the list of the tick before go
    {
        bench::CountedLoop counted;
        for (auto _ : state) {
            if (beforeTick) {
                state.PauseTiming();
                CALLGRIND_TOGGLE_COLLECT;
                beforeTick();
                CALLGRIND_TOGGLE_COLLECT;
                state.ResumeTiming();
            }
            monitor.servers.clear();
            monitor.servers.add(url);
            cycle.runTick();
        }
    }
    if (model.rowCount() != static_cast<int>(state.range(0))) state.SkipWithError("not every game listed");
}

void BM_TickOwnWork(benchmark::State& state)
{
    CachedReply http(sim::generateStaticReply(7, static_cast<int>(state.range(0))));
    runTicks(state, http, "http://127.0.0.1:9/league/server", [&http] { http.received(); });
}
BENCHMARK(BM_TickOwnWork)->Arg(1000)->Unit(benchmark::kMillisecond);

// Reading the same reply alone: what the tick is set against.
QUINTOR_BENCH_READER_1000_GAMES;

void BM_TickFromLoopbackServer(benchmark::State& state)
{
    sim::SimServer server;
    server.setReply(sim::generateStaticReply(7, static_cast<int>(state.range(0))));
    auto http = makeCurlHttpClient();
    runTicks(state, *http, server.baseUrl() + "/league/server");
}
BENCHMARK(BM_TickFromLoopbackServer)->Arg(1000)->Unit(benchmark::kMillisecond);

// The longest gap between two turns of the event loop while a request waits 3 s for its answer. A
// timer asks for a turn every millisecond; its largest gap is the longest the window could not paint.
void BM_EventLoopStallDuringSlowRequest(benchmark::State& state)
{
    sim::SimServer server;
    server.setReply(sim::generateStaticReply(7, 1000));
    server.setDelay("/league/server", std::chrono::milliseconds(3000));
    ui::BackgroundHttpClient http{std::shared_ptr<HttpClient>(makeCurlHttpClient())};
    double longestMs = 0;
    for (auto _ : state) {
        QElapsedTimer sinceLastTurn;
        sinceLastTurn.start();
        QTimer probe;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longestMs = std::max(longestMs, static_cast<double>(sinceLastTurn.nsecsElapsed()) / 1e6);
            sinceLastTurn.restart();
        });
        probe.start();
        const std::string body = http.get(server.baseUrl() + "/league/server");
        benchmark::DoNotOptimize(body.data());
        probe.stop();
    }
    state.counters["longest_stall_ms"] = longestMs;
}
BENCHMARK(BM_EventLoopStallDuringSlowRequest)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

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
