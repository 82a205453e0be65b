#include "reference/escapes.h"

#include <bit>
#include <cstring>

namespace quintor {
namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The character a backslash and one letter stand for, or 0 when the letter forms no such escape.
char simpleEscape(char letter)
{
    switch (letter) {
    case '"':
    case '\\':
    case '\'':
    case '?':
        return letter;
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    default:
        return 0;
    }
}

char blankControl(char c)
{
    return static_cast<unsigned char>(c) < 32 ? ' ' : c;
}

// Where the next backslash or control character from `from` on stands, or the end; sixteen bytes at a time, as most
// of a value is plain text.
std::size_t nextToDecode(const std::string& text, std::size_t from)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
#if defined(__SSE2__)
    for (; i + 16 <= size; i += 16) {
        const unsigned marks = bytesToDecode(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), '\\');
        if (marks) return i + static_cast<std::size_t>(std::countr_zero(marks));
    }
#endif
    for (; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c == '\\' || c < 32) return i;
    }
    return size;
}

} // namespace

void decodeEscapes(std::string& text)
{
    // Every escape is longer than what it decodes to, so the result is written over the text as it is read; the plain
    // runs between escapes move in one piece, and nothing moves before the first.
    const std::size_t size = text.size();
    std::size_t read = nextToDecode(text, 0);
    std::size_t write = read;
    while (read < size) {
        if (const std::size_t plain = nextToDecode(text, read) - read; plain > 0) {
            if (write != read) std::memmove(text.data() + write, text.data() + read, plain);
            write += plain;
            read += plain;
            continue;
        }
        const char c = text[read];
        if (c != '\\' || read + 1 == size) {
            text[write++] = blankControl(c);
            ++read;
            continue;
        }
        const char next = text[read + 1];
        if (const char simple = simpleEscape(next)) {
            text[write++] = blankControl(simple);
            read += 2;
        } else if (isOctal(next)) {
            unsigned value = 0;
            std::size_t digits = read + 1;
            for (; digits < size && digits < read + 4 && isOctal(text[digits]); ++digits)
                value = value * 8 + static_cast<unsigned>(text[digits] - '0');
            text[write++] = blankControl(static_cast<char>(value & 0xFF));
            read = digits;
        } else if (next == 'x' && read + 2 < size && hexValue(text[read + 2]) >= 0) {
            int value = hexValue(text[read + 2]);
            read += 3;
            if (read < size && hexValue(text[read]) >= 0) value = value * 16 + hexValue(text[read++]);
            text[write++] = blankControl(static_cast<char>(value));
        } else {
            text[write++] = c; // no escape: the backslash stays and the next character is read as usual
            ++read;
        }
    }
    text.resize(write);
}

} // namespace quintor
