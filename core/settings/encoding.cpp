#include "settings/encoding.h"

#include <array>
#include <cstdint>

namespace quintor {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones map to themselves.
constexpr std::array<char32_t, 32> high = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) return high[byte - 0x80];
    return byte;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int byteFor(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < high.size(); ++i) {
        if (high[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const int byte = byteFor(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

} // namespace quintor
