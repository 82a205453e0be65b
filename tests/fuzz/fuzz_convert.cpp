// The integer and boolean conversions over arbitrary text: the raising forms agree with the
// optional ones, and a decimal number printed again reads as the same number.
#include "settings/convert.h"
#include "settings/errors.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace quintor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto number = parseInt(text);
    try {
        const std::int32_t value = strToInt(text);
        if (!number || *number != value) std::abort();
    } catch (const ConversionError&) {
        if (number) std::abort();
    }
    if (number && parseInt(std::to_string(*number)) != number) std::abort();
    if (strToIntDef(text, 4711) != number.value_or(4711)) std::abort();

    const auto flag = parseBool(text);
    try {
        const bool value = strToBool(text);
        if (!flag || *flag != value) std::abort();
    } catch (const ConversionError&) {
        if (flag) std::abort();
    }
    // Every number is a truth value; what the words say is stored back as those words.
    if (number && flag != (*number != 0)) std::abort();
    if (flag && parseBool(boolToStr(*flag)) != flag) std::abort();
    return 0;
}
