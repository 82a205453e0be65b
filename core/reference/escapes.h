// The backslash escapes of reply values.
#pragma once

#include <string>

namespace quintor {

// Decodes the escapes of `text` in place, with the result of this loop:
//   while the text has a backslash with more than four characters after its FIRST backslash:
//     the three characters after it are the code; if parseInt takes the code, every occurrence of the backslash
//     followed by the code (anywhere, in one left-to-right pass) becomes the character octtodec(code) mod 256;
//     otherwise that first backslash becomes "/". Then start again from the first backslash.
// Done literally that loop is quadratic (a value of "\134134134..." decodes one backslash per round). This runs it
// in place while the work stays within a few passes over the text and then hands over to decodeEscapesIndexed, so
// it takes linear time on any input.
void decodeEscapes(std::string& text);

// The same result through an index of the backslashes by code over a linked list of the characters: linear time,
// about nine bytes of memory per character. Public for the tests, which check both ways.
void decodeEscapesIndexed(std::string& text);

} // namespace quintor
