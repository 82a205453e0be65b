// Throughput of the reference list reader on simulated league replies, against a baseline that
// only cuts the same bytes into trimmed lines; and the memory the game store takes for the games read.
#include "benchsupport.h"
#include "reference/gamestore.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string_view>
#include <vector>

namespace {

using quintor::bench::readAll;

const std::string& replyOf(int games)
{
    return quintor::bench::simulatedReply(games);
}

void readerOnGames(benchmark::State& state, int games)
{
    quintor::bench::readGames(state, games);
}

// (a) the reader on a reply of 1,000 games.
QUINTOR_BENCH_READER_1000_GAMES;

// (b) the floor: the same bytes cut into lines and trimmed of the characters 0 to 32.
void BM_SplitTrimBaseline(benchmark::State& state)
{
    const std::string& reply = replyOf(1000);
    quintor::bench::CountedLoop counted;
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

// (e) memory: what the game store holds for a list of 10,000 games (its block and the records' own texts and lists),
// beside the reply they were read from. A refresh holds the reply whole while it reads, and keeps the last list
// until a reply is complete, so that a server whose reply breaks off still shows its games: the two figures tell
// what a refresh needs beyond the program at rest. Heap bytes in use, as the allocator counts them.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_StoreMemoryOf10000Games(benchmark::State& state)
{
    const std::string& reply = replyOf(10'000);
    const quintor::TextList aliases;
    readAll(reply, aliases); // the shared texts' cache is filled, as in a program that has read before
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        quintor::GameStore store;
        quintor::RowHandle row = 0;
        quintor::ReferenceReader reader(true, aliases,
                                        {[&](quintor::GameRecord&& game) {
                                             game.Item = ++row;
                                             store.append(std::move(game));
                                         },
                                         [](const std::string&) {},
                                         {}});
        reader.read(reply);
        reader.finish();
        store.finishList();
        if (store.size() != 10'000) state.SkipWithError("the reader lost games");
        const double held = static_cast<double>(heapInUse()) - static_cast<double>(before);
        state.counters["store_bytes"] = held;
        state.counters["store_bytes_per_game"] = held / 10'000.0;
    }
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}
BENCHMARK(BM_StoreMemoryOf10000Games)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
