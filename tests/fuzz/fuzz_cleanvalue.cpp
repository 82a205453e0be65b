// cleanvalue, striptags and both ways of decoding escapes against their literal, slow forms on small inputs.
#include "reference/escapes.h"
#include "reference/textroutines.h"

#include "core/reference/cleanvalue_oracle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The literal loop is quadratic; long inputs would only slow the search down.
    if (size < 1 || size > 256) return 0;
    const bool tagparse = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (quintor::cleanvalue(text, tagparse) != quintor::oracle::cleanvalue(text, tagparse)) __builtin_trap();
    std::string indexed(text);
    quintor::decodeEscapesIndexed(indexed);
    if (indexed != quintor::oracle::decodeEscapes(std::string(text))) __builtin_trap();
    if (quintor::striptags(text, true) != quintor::oracle::striptags(std::string(text), true)) __builtin_trap();
    return 0;
}
