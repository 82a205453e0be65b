// The backslash escapes of reply values.
#pragma once

#include <string>

namespace quintor {

// Decodes the C-style escapes the game writes, in place, reading the text once from left to right. A backslash
// followed by
//   " \ ' ?                   gives that character;
//   a b f n r t v             gives the control character of that letter in C;
//   one to three octal digits gives the byte of their value modulo 256 (as many digits as stand there);
//   x and one or two hex digits gives that byte;
// anything else, or nothing, stays a backslash. A decoded character is never the start of another escape, so
// "\\101" gives "\101". Afterwards every character with a code from 0 to 31 is a blank: no line break, tab or NUL
// of a value reaches a list cell, a filter, the log or a file.
void decodeEscapes(std::string& text);

} // namespace quintor
