// The system's texts are Windows-1252 bytes; screens, JSON and what the user types are Unicode.
#pragma once

#include <string>
#include <string_view>

namespace quintor {

// Every byte becomes its Windows-1252 character; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the code points of the same value.
std::string windows1252ToUtf8(std::string_view bytes);

// The reverse; a character the code page cannot hold becomes "?". Malformed UTF-8 bytes are
// taken as Windows-1252 bytes as they are.
std::string utf8ToWindows1252(std::string_view utf8);

} // namespace quintor
