// Writes the simulated league as a masterserver reply, in the form real league servers use:
// nested sections indented, defaults left out, quoted values escaped, LF line ends.
#pragma once

#include "masterserver-sim/simworld.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quintor::sim {

// The body of a quoted value, without the quotes: \" \\ \n \t and the other letter escapes;
// every other control byte and every byte from 0x7F up as backslash + octal (bytes from 0x80 up
// always three digits); a digit right after a numeric escape is escaped as well, so "Zo\xEB" "1"
// becomes Zo\353\61.
std::string escapeValue(std::string_view text);

// The whole reply for the world's current step.
std::string generateReply(const SimWorld& world);

// A snapshot of gameCount games (about 1.5 KB each) for a seed.
std::string generateStaticReply(std::uint32_t seed, int gameCount);

// The plain-text answer of the league once a client asks too often.
inline constexpr std::string_view kFloodReply =
    "Flood protection, max. of 700 backend requests per 3600 second(s) reached";

} // namespace quintor::sim
