// Throughput of the reference list reader on simulated league replies, against a baseline that
// only cuts the same bytes into trimmed lines.
#include "masterserver-sim/replygen.h"
#include "reference/reader.h"
#include "settings/textlist.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string_view>
#include <vector>

namespace {

const std::string& replyOf(int games)
{
    static std::map<int, std::string> replies;
    auto found = replies.find(games);
    if (found == replies.end()) found = replies.emplace(games, quintor::sim::generateStaticReply(7, games)).first;
    return found->second;
}

// One refresh's worth of reading: a fresh parse state, the reply, the finish.
int readAll(const std::string& reply, const quintor::TextList& aliases)
{
    int completed = 0;
    quintor::ReferenceReader reader(false, aliases,
                                    {[&](quintor::GameRecord&& entry) {
                                         benchmark::DoNotOptimize(entry.Title.data());
                                         ++completed;
                                     },
                                     [](const std::string&) {},
                                     {}});
    reader.read(reply);
    reader.finish();
    return completed;
}

void readerOnGames(benchmark::State& state, int games)
{
    const std::string& reply = replyOf(games);
    const quintor::TextList aliases;
    for (auto _ : state) {
        int completed = readAll(reply, aliases);
        if (completed != games) state.SkipWithError("the reader lost games");
        benchmark::DoNotOptimize(completed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * games);
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

// (a) the reader on a reply of 1,000 games.
void BM_Reader1000Games(benchmark::State& state)
{
    readerOnGames(state, 1000);
}
BENCHMARK(BM_Reader1000Games)->Unit(benchmark::kMillisecond);

// (b) the floor: the same bytes cut into lines and trimmed of the characters 0 to 32.
void BM_SplitTrimBaseline(benchmark::State& state)
{
    const std::string& reply = replyOf(1000);
    for (auto _ : state) {
        std::vector<std::string_view> lines = quintor::splitLines(reply);
        for (std::string_view& line : lines) {
            std::size_t begin = 0;
            std::size_t end = line.size();
            while (begin < end && static_cast<unsigned char>(line[begin]) <= 32)
                ++begin;
            while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 32)
                --end;
            line = line.substr(begin, end - begin);
        }
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_SplitTrimBaseline)->Unit(benchmark::kMillisecond);

// (c) how the reader scales with the number of games.
void BM_ReaderScaling(benchmark::State& state)
{
    readerOnGames(state, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_ReaderScaling)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// (d) hostile replies: one game with a 10 MB title (umlaut escapes, so the clean-up has work), and one game with a
// million "[Player]" sections. Values are cut to 4,096 bytes and a record keeps 1,000 players, so both cost about
// what the bytes cost to cut into lines.
const std::string& hostileReply(bool hugeTitle)
{
    static std::map<bool, std::string> replies;
    auto found = replies.find(hugeTitle);
    if (found != replies.end()) return found->second;
    std::string reply = "[Clonk Rage]\nVersion=4,9,10,7,330\n\n[Reference]\nIcon=1\nTitle=\"";
    if (hugeTitle) {
        while (reply.size() < 10'000'000)
            reply += "Gro\\337e Schlacht ";
    } else {
        reply += "Viele Spieler";
    }
    reply += "\"\nState=Lobby\nMaxPlayers=4\n\n  [PlayerInfos]\n";
    if (!hugeTitle) {
        for (int i = 0; i < 1'000'000; ++i)
            reply += "      [Player]\n      Name=\"Spieler\"\n      Filename=\"Spieler.c4p\"\n      ID=" +
                     std::to_string(i) + "\n";
    }
    reply += "\n  [Client]\n  ID=0\n  Activated=true\n  Name=\"Host\"\n";
    return replies.emplace(hugeTitle, std::move(reply)).first->second;
}

void hostileReplyRead(benchmark::State& state, bool hugeTitle)
{
    const std::string& reply = hostileReply(hugeTitle);
    const quintor::TextList aliases;
    for (auto _ : state) {
        if (readAll(reply, aliases) != 1) state.SkipWithError("the reader lost the game");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

void BM_ReaderTenMegabyteTitle(benchmark::State& state)
{
    hostileReplyRead(state, true);
}
BENCHMARK(BM_ReaderTenMegabyteTitle)->Unit(benchmark::kMillisecond);

void BM_ReaderMillionPlayers(benchmark::State& state)
{
    hostileReplyRead(state, false);
}
BENCHMARK(BM_ReaderMillionPlayers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
