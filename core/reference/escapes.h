// The backslash escapes of reply values.
#pragma once

#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// A bit for each of the sixteen bytes that the clean-up of a value must look at: a backslash, a control character, or
// `alsoMarked` (a "<" where tags are stripped; a backslash again where nothing else counts).
inline unsigned bytesToDecode(__m128i chunk, char alsoMarked)
{
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(chunk, _mm_set1_epi8(31)), chunk);
    const __m128i marks =
        _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\\')), _mm_cmpeq_epi8(chunk, _mm_set1_epi8(alsoMarked)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, marks)));
}
#endif

} // namespace quintor
