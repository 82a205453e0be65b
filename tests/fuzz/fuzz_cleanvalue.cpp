// decodeValue on any bytes. The game's own escaping of a text (as the simulator writes it) must read back as that
// text with its control characters blanked; on every input no control character comes out and nothing grows; and
// stripTags must match its literal, slow form. The colour runs leave that text as it is and lie sorted, apart and
// inside it.
#include "masterserver-sim/replygen.h"
#include "reference/textroutines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string literalStriptags(std::string text)
{
    for (;;) {
        const std::size_t open = text.find('<');
        const std::size_t close = text.find('>');
        if (open == std::string::npos || close == std::string::npos || close < open) return text;
        text.erase(open, close - open + 1);
    }
}

std::string blanked(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const bool tagparse = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string cleaned = quintor::decodeValue(text, tagparse);
    if (cleaned.size() > text.size()) __builtin_trap();
    for (char c : cleaned) {
        if (static_cast<unsigned char>(c) < 32) __builtin_trap();
    }

    const std::string written = "\"" + quintor::sim::escapeValue(text) + "\"";
    if (quintor::decodeValue(written, false) != blanked(text)) __builtin_trap();

    const std::string stripped = quintor::stripTags(text, true);
    if (stripped != literalStriptags(std::string(text))) __builtin_trap();

    quintor::TextSpans spans;
    if (quintor::stripTagsWithSpans(text, spans) != stripped) __builtin_trap();
    std::size_t end = 0;
    for (const quintor::TextSpan& span : spans) {
        if (span.length == 0 || span.start < end || (!span.rgb && !span.italic)) __builtin_trap();
        end = std::size_t{span.start} + span.length;
    }
    if (end > stripped.size()) __builtin_trap();
    return 0;
}
