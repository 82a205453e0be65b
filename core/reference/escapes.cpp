#include "reference/escapes.h"

#include "settings/convert.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quintor {
namespace {

constexpr std::uint32_t kEnd = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kRemoved = kEnd - 1;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The character an escape code stands for, or nothing when the code is not a whole number. Codes such as "-12" or
// "$1F" are whole numbers too and give negative octal values; their character is the low byte of the value's
// two's complement, which is the value modulo 256 taken into 0..255.
std::optional<char> escapeCharacter(char a, char b, char c)
{
    const char code[3] = {a, b, c};
    // Three digits are the usual case; anything else goes through the full conversion.
    if (!(isDigit(a) && isDigit(b) && isDigit(c)) && !parseInt(std::string_view(code, 3))) return std::nullopt;
    std::uint64_t value = 0;
    for (char digit : code)
        value = value * 8 + static_cast<unsigned char>(digit) - static_cast<unsigned char>('0');
    return static_cast<char>(static_cast<unsigned char>(value & 0xFF));
}

// The text from its first backslash on, as a linked list of characters, with the backslashes whose code is a whole
// number indexed by that code. Everything before the first backslash never changes, so the list starts there.
class EscapeDecoder {
public:
    explicit EscapeDecoder(std::string_view tail) : chars_(tail), next_(tail.size()), prev_(tail.size())
    {
        if (tail.size() >= kRemoved) throw std::length_error("value too long to decode");
        const auto size = static_cast<std::uint32_t>(tail.size());
        for (std::uint32_t i = 0; i < size; ++i) {
            next_[i] = i + 1 < size ? i + 1 : kEnd;
            prev_[i] = i > 0 ? i - 1 : kEnd;
        }
        for (std::uint32_t i = 0; i < size; ++i) {
            if (chars_[i] == '\\') index(i);
        }
    }

    std::string run()
    {
        std::uint32_t first = 0; // the first backslash; it only ever moves forward
        while (first != kEnd && hasFollowers(first, 5)) {
            const std::uint32_t c1 = next_[first], c2 = next_[c1], c3 = next_[c2];
            const auto decoded = escapeCharacter(chars_[c1], chars_[c2], chars_[c3]);
            if (!decoded) {
                chars_[first] = '/';
                first = nextBackslash(first);
                continue;
            }
            replaceAll(key(chars_[c1], chars_[c2], chars_[c3]), *decoded);
            // The first backslash was one of the occurrences; it stays first only when it decoded to a backslash.
            if (*decoded != '\\') first = nextBackslash(first);
        }
        std::string result;
        result.reserve(chars_.size());
        for (std::uint32_t i = chars_.empty() ? kEnd : 0; i != kEnd; i = next_[i])
            result.push_back(chars_[i]);
        return result;
    }

private:
    static std::uint32_t key(char a, char b, char c)
    {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 | static_cast<unsigned char>(c);
    }

    bool hasFollowers(std::uint32_t at, int count) const
    {
        for (int k = 0; k < count; ++k) {
            at = next_[at];
            if (at == kEnd) return false;
        }
        return true;
    }

    // The key of the three characters after `at`, when there are three.
    std::optional<std::uint32_t> codeKey(std::uint32_t at) const
    {
        if (!hasFollowers(at, 3)) return std::nullopt;
        const std::uint32_t c1 = next_[at], c2 = next_[c1], c3 = next_[c2];
        return key(chars_[c1], chars_[c2], chars_[c3]);
    }

    // Files the backslash at `at` under its current code when that code is a whole number. Stale and repeated
    // entries are allowed; replaceAll checks every entry against the current text.
    void index(std::uint32_t at)
    {
        if (!hasFollowers(at, 3)) return;
        const std::uint32_t c1 = next_[at], c2 = next_[c1], c3 = next_[c2];
        if (escapeCharacter(chars_[c1], chars_[c2], chars_[c3])) {
            byCode_[key(chars_[c1], chars_[c2], chars_[c3])].push_back(at);
        }
    }

    std::uint32_t nextBackslash(std::uint32_t at) const
    {
        for (at = next_[at]; at != kEnd; at = next_[at]) {
            if (chars_[at] == '\\') return at;
        }
        return kEnd;
    }

    // One pass of "replace every occurrence": the occurrences are found in the text as it is before the pass and
    // cannot overlap (a whole-number code holds no backslash), so replacing them one by one is the same.
    void replaceAll(std::uint32_t code, char decoded)
    {
        std::vector<std::uint32_t>& found = found_;
        found.clear();
        // The bucket keeps the scratch vector's storage, so rounds on the same code allocate nothing.
        if (auto bucket = byCode_.find(code); bucket != byCode_.end()) found.swap(bucket->second);
        std::erase_if(found, [&](std::uint32_t at) {
            return prev_[at] == kRemoved || chars_[at] != '\\' || codeKey(at) != code;
        });
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());

        for (std::uint32_t at : found) {
            chars_[at] = decoded;
            std::uint32_t gone = next_[at];
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t after = next_[gone];
                prev_[gone] = kRemoved;
                gone = after;
            }
            next_[at] = gone;
            if (gone != kEnd) prev_[gone] = at;
        }
        // A replacement changes the code of the backslashes up to three characters before it, and a decoded
        // backslash gets a code of its own; refile them once the whole pass is done.
        for (std::uint32_t at : found) {
            if (decoded == '\\') index(at);
            std::uint32_t before = prev_[at];
            for (int k = 0; k < 3 && before != kEnd; ++k, before = prev_[before]) {
                if (chars_[before] == '\\') index(before);
            }
        }
    }

    std::string chars_;
    std::vector<std::uint32_t> next_, prev_;
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> byCode_;
    std::vector<std::uint32_t> found_;
};

} // namespace

void decodeEscapesIndexed(std::string& text)
{
    const std::size_t first = text.find('\\');
    // With four or fewer characters after the first backslash nothing changes.
    if (first == std::string::npos || first + 5 >= text.size()) return;
    std::string tail = EscapeDecoder(std::string_view(text).substr(first)).run();
    text.replace(first, std::string::npos, tail);
}

void decodeEscapes(std::string& text)
{
    // The loop as it stands, on the text in place, for as long as it has done no more than a few passes over the
    // text; that covers every value a real server sends. Each round leaves a state of the same loop, so the
    // indexed decoder can take over from any of them.
    std::size_t budget = 8 * text.size() + 256;
    std::size_t first = text.find('\\');
    while (first != std::string::npos && first + 5 < text.size()) {
        const auto decoded = escapeCharacter(text[first + 1], text[first + 2], text[first + 3]);
        if (!decoded) {
            text[first] = '/';
            first = text.find('\\', first + 1);
            continue;
        }
        const std::size_t size = text.size();
        if (size - first > budget) {
            std::string tail = EscapeDecoder(std::string_view(text).substr(first)).run();
            text.replace(first, std::string::npos, tail);
            return;
        }
        budget -= size - first;
        // Replace every occurrence from here on (there is no backslash before `first`), compacting in place: the
        // write position never passes the read position, so matches are found in the text as it was.
        const char a = text[first + 1], b = text[first + 2], c = text[first + 3];
        std::size_t write = first, read = first;
        while (read < size) {
            if (text[read] == '\\' && read + 3 < size && text[read + 1] == a && text[read + 2] == b &&
                text[read + 3] == c) {
                text[write++] = *decoded;
                read += 4;
            } else {
                text[write++] = text[read++];
            }
        }
        text.resize(write);
        if (*decoded != '\\') first = text.find('\\', first + 1);
    }
}

} // namespace quintor
