// The reference reader on arbitrary bytes: two replies through one parse state. Only a conversion error may end
// the parse; whatever completes has to be a consistent record.
#include "reference/reader.h"
#include "reference/textroutines.h"
#include "settings/errors.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const bool tagparse = (data[0] & 1) != 0;
    const quintor::TextList syno = (data[0] & 2) != 0 ? quintor::TextList({"A=B", "x", ""}) : quintor::TextList();
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = input.size() * data[1] / 255;

    std::vector<quintor::TGameEntry> games;
    quintor::ReferenceReader reader(tagparse, syno,
                                    {[&](quintor::TGameEntry&& entry) { games.push_back(std::move(entry)); }, {}});
    bool failed = false;
    try {
        reader.read(input.substr(0, split));
        reader.read(input.substr(split));
        reader.finish();
    } catch (const quintor::ConversionError&) {
        failed = true;
    }
    const quintor::ParseCounters& counters = reader.counters();
    if (failed != reader.abandoned()) __builtin_trap();
    if (!failed && games.size() != static_cast<std::size_t>(counters.references)) __builtin_trap();
    if (counters.emptys > counters.clients) __builtin_trap();
    for (const auto& game : games) {
        if (static_cast<std::size_t>(game.PlayerCount) != game.Players.size()) __builtin_trap();
        if (game.Emptys > game.Clients || game.IPs.size() > quintor::kMaxIPs) __builtin_trap();
    }
    return 0;
}
