// What the benchmarks share. Reading a reply and nothing else is the measure the others are set against: each
// benchmark program that sets a time against it runs it too, interleaved with its own, so that a ratio is not taken
// across programs run minutes apart on a machine whose speed drifts. And the timed loops can be counted in
// instructions under callgrind (`scripts/bench --instructions`), which no other program on the machine disturbs.
#pragma once

#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "settings/textlist.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdint>
#include <map>
#include <string>

namespace quintor::bench {

// Counts the instructions of its scope when the program runs under callgrind with --collect-atstart=no; nothing
// otherwise. Put around a benchmark's timed loop, so that its setting up is not counted.
class CountedLoop {
public:
    CountedLoop() { CALLGRIND_TOGGLE_COLLECT; }
    ~CountedLoop() { CALLGRIND_TOGGLE_COLLECT; }
    CountedLoop(const CountedLoop&) = delete;
    CountedLoop& operator=(const CountedLoop&) = delete;
};

// The simulated league reply of `games` games the benchmarks share (seed 7), made once.
inline const std::string& simulatedReply(int games)
{
    static std::map<int, std::string> replies;
    auto found = replies.find(games);
    if (found == replies.end()) found = replies.emplace(games, sim::generateStaticReply(7, games)).first;
    return found->second;
}

// One refresh's worth of reading: a fresh parse state, the reply, the finish; each record is let go at once.
inline int readAll(const std::string& reply, const TextList& aliases)
{
    int completed = 0;
    ReferenceReader reader(false, aliases,
                           {[&](GameRecord&& entry) {
                                benchmark::DoNotOptimize(entry.Title.data());
                                ++completed;
                            },
                            [](const std::string&) {},
                            {}});
    reader.read(reply);
    reader.finish();
    return completed;
}

inline void readGames(benchmark::State& state, int games)
{
    const std::string& reply = simulatedReply(games);
    const TextList aliases;
    readAll(reply, aliases); // the thread's caches of texts are filled, as in a program that has read before
    {
        CountedLoop counted;
        for (auto _ : state) {
            const int completed = readAll(reply, aliases);
            if (completed != games) state.SkipWithError("the reader lost games");
            benchmark::DoNotOptimize(completed);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * games);
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

// Defines BM_Reader1000Games in the program that includes this: the reader on the reply of 1,000 games.
#define QUINTOR_BENCH_READER_1000_GAMES                                                                                \
    void BM_Reader1000Games(benchmark::State& state)                                                                   \
    {                                                                                                                  \
        quintor::bench::readGames(state, 1000);                                                                        \
    }                                                                                                                  \
    BENCHMARK(BM_Reader1000Games)->Unit(benchmark::kMillisecond)

} // namespace quintor::bench
