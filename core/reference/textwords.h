// A text's bytes as machine words, read with whole loads: bytes copied one by one into a word would stall the load of
// the word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quintor {

// Every byte of a text of 1 to 7 bytes in one word: its first and last four (they overlap), or its first, middle and
// last byte. Together with the length, the word tells such texts apart.
inline std::uint64_t shortTextWord(const char* data, std::size_t size)
{
    if (size >= 4) {
        std::uint32_t first, last;
        std::memcpy(&first, data, 4);
        std::memcpy(&last, data + size - 4, 4);
        return first | std::uint64_t(last) << 32;
    }
    return static_cast<unsigned char>(data[0]) | std::uint64_t(static_cast<unsigned char>(data[size / 2])) << 8 |
           std::uint64_t(static_cast<unsigned char>(data[size - 1])) << 16;
}

} // namespace quintor
