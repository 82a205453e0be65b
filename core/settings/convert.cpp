#include "settings/convert.h"
#include "settings/translate.h"

#include "settings/errors.h"

#include <algorithm>
#include <limits>

namespace quintor {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The bad text as an error message shows it: a hostile reply may hold megabytes in one value.
std::string quoted(std::string_view text)
{
    constexpr std::size_t shown = 100;
    std::string out = "'";
    out.append(text.substr(0, shown));
    if (text.size() > shown) out += "...";
    out += "'";
    return out;
}

} // namespace

std::optional<std::int32_t> parseInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;

    // Decimal magnitudes go up to 2^31 (for the negative end); hexadecimal ones use all 32 bits.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return std::nullopt;
    }
    // Wrap-around to signed 32 bits is intended for hexadecimal values above 0x7FFFFFFF.
    const auto bits = static_cast<std::uint32_t>(negative ? (~magnitude + 1) : magnitude);
    return static_cast<std::int32_t>(bits);
}

std::int32_t strToInt(std::string_view text)
{
    if (auto value = parseInt(text)) return *value;
    throw ConversionError(quoted(text) + tr(" ist kein g\xFCltiger Integerwert"));
}

std::int32_t strToIntDef(std::string_view text, std::int32_t fallback)
{
    return parseInt(text).value_or(fallback);
}

std::optional<bool> parseBool(std::string_view text)
{
    if (equalsIgnoringAsciiCase(text, "true")) return true;
    if (equalsIgnoringAsciiCase(text, "false")) return false;
    if (auto number = parseInt(text)) return *number != 0;
    return std::nullopt;
}

bool strToBool(std::string_view text)
{
    if (auto value = parseBool(text)) return *value;
    throw ConversionError(quoted(text) + tr(" ist kein g\xFCltiger Boolescher Wert"));
}

std::string boolToStr(bool value)
{
    return value ? "True" : "False";
}

std::string shortened(std::string_view text, std::size_t maxLength, std::size_t maxLines)
{
    std::size_t end = std::min(text.size(), maxLength);
    std::size_t lines = 1;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n' && ++lines > maxLines) {
            end = i > 0 && text[i - 1] == '\r' ? i - 1 : i;
            break;
        }
    }
    if (end == text.size()) return std::string(text);
    std::string cut(text.substr(0, end));
    cut += '\x85';
    return cut;
}

} // namespace quintor
