// The integer and boolean conversions that every reader of settings, filter files and replies uses, and the cut of a
// text too long for where it is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// Optional leading blanks, an optional sign, then decimal digits; "$" or "0x" in front of the
// digits makes them hexadecimal. Anything else, an empty text or trailing characters included,
// is not a number. The result must fit 32 bits (hexadecimal may use all 32 bits, read as signed).
std::optional<std::int32_t> parseInt(std::string_view text);

// As parseInt, but raises ConversionError "'text' ist kein gültiger Integerwert".
std::int32_t strToInt(std::string_view text);

// As parseInt, with a fallback for a text that is not a number.
std::int32_t strToIntDef(std::string_view text, std::int32_t fallback);

// "True" or "False" in any letter case, or a number (true when not zero).
std::optional<bool> parseBool(std::string_view text);

// As parseBool, but raises ConversionError "'text' ist kein gültiger Boolescher Wert".
bool strToBool(std::string_view text);

// How a truth value is stored: "True" or "False".
std::string boolToStr(bool value);

// `text` cut after its first `maxLength` characters or `maxLines` lines, whichever comes first (a line ends at LF; the
// CR of a CR LF at the cut goes too); a text that was cut ends with "\x85", the ellipsis. A text from outside (a
// server's reply, a notice, a game's player list) may run to megabytes, which a box or label would lay out for seconds
// while the window stands still.
std::string shortened(std::string_view text, std::size_t maxLength,
                      std::size_t maxLines = std::numeric_limits<std::size_t>::max());

} // namespace quintor
