// A reply as the reader sees it: trimmed lines and their values.
#pragma once

#include <string_view>
#include <vector>

namespace quintor {

// Cuts `reply` into lines at CR, LF or CR LF (a NUL ends the text, a break at the very end adds no empty line) and
// trims each of the characters 0 to 32 at both ends. `lines` is cleared first and keeps its capacity, so a reader
// that reads many replies allocates only for the longest; the views point into `reply`.
void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines);

// The text after the first "="; for a line without "=", the line without its first character; "" for "".
inline std::string_view lineValue(std::string_view line)
{
    if (const auto equals = line.find('='); equals != std::string_view::npos) return line.substr(equals + 1);
    return line.empty() ? line : line.substr(1);
}

} // namespace quintor
