// The reference reader on arbitrary bytes: two replies through one parse state. A value that does not convert
// drops its game and nothing else, so nothing may escape; whatever completes has to be a consistent record within
// the limits of one record. The single pass and the stepwise reader must agree in every result, a callback that
// fails at some record included.
#include "reference/reader.h"
#include "reference/textroutines.h"
#include "support/readertranscript.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const bool tagparse = (data[0] & 1) != 0;
    const quintor::TextList aliases = (data[0] & 2) != 0 ? quintor::TextList({"A=B", "x", ""}) : quintor::TextList();
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = input.size() * data[1] / 255;

    std::vector<quintor::GameRecord> games;
    quintor::ReferenceReader reader(tagparse, aliases,
                                    {[&](quintor::GameRecord&& entry) { games.push_back(std::move(entry)); }, {}, {}});
    reader.read(input.substr(0, split));
    reader.read(input.substr(split));
    reader.finish();

    const quintor::ParseCounters& counters = reader.counters();
    if (reader.abandoned() || games.size() != static_cast<std::size_t>(counters.references)) __builtin_trap();
    if (counters.emptys > counters.clients) __builtin_trap();
    for (const auto& game : games) {
        const auto kept = std::min<std::size_t>(static_cast<std::size_t>(game.PlayerCount), quintor::kMaxPlayers);
        if (game.Players.size() != kept || game.Resources.size() > quintor::kMaxResources) __builtin_trap();
        if (game.Emptys > game.Clients || game.IPs.size() > quintor::kMaxIPs) __builtin_trap();
        if (game.Title.size() > quintor::kMaxValueLength) __builtin_trap();
        for (char c : game.Title) {
            if (static_cast<unsigned char>(c) < 32) __builtin_trap();
        }
    }

    quintor::test::ReadingCase reading;
    reading.replies = {std::string(input.substr(0, split)), std::string(input.substr(split))};
    reading.tagparse = tagparse;
    reading.aliases = aliases;
    reading.throwAtRecord = static_cast<int>((data[0] >> 2) & 3) - 1;
    const std::string onePass = quintor::test::readingTranscript(reading);
    const std::string stepwise = quintor::test::readingTranscript(reading, true);
    if (onePass != stepwise) {
        std::fprintf(stderr, "single pass:\n%s\nstepwise:\n%s\n", onePass.c_str(), stepwise.c_str());
        __builtin_trap();
    }
    return 0;
}
