// A reply as the reader sees it: trimmed lines and their values.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quintor {

// The reply up to its first NUL, which ends the text.
std::string_view replyText(std::string_view reply);

// The lines of a text one after another, cut as splitReplyLines cuts them. The text is classified sixty-four bytes
// at a time into a mask of the line breaks and a mask of the characters that trimming keeps; the lines of a block
// then follow from the masks with a few bit operations each, without a guess per character or per line.
class ReplyLineCutter {
public:
    // `text` is the reply up to its first NUL (replyText); cutting starts at `offset`, the start of a line.
    explicit ReplyLineCutter(std::string_view text, std::size_t offset = 0) : text_(text), lineStart_(offset)
    {
        if (done()) return;
        classify(offset - offset % 64);
        breaks_ &= ~std::uint64_t(0) << (offset % 64); // the breaks before the first line are not its
    }

    // Whether no line is left: a break at the very end adds no empty line.
    bool done() const { return lineStart_ >= text_.size(); }

    // Cuts up to `count` lines into `lines`, each trimmed of the characters 0 to 32 at both ends; gives how many.
    std::size_t cut(std::string_view* lines, std::size_t count)
    {
        constexpr std::size_t none = std::string_view::npos;
        // Worked on in locals: the lines written could otherwise be the members, for all the compiler knows.
        const std::string_view text = text_;
        std::size_t lineStart = lineStart_, first = first_, last = last_, base = base_;
        std::uint64_t breaks = breaks_, kept = kept_;
        std::size_t cutCount = 0;
        while (cutCount < count && lineStart < text.size()) {
            // The kept characters of the current line in this block: from its start (or the block's) on. After a
            // CR LF at the block's end the line starts in the next block.
            const std::size_t from = lineStart > base ? lineStart - base : 0;
            std::uint64_t lineKept = from < 64 ? kept & (~std::uint64_t(0) << from) : 0;
            if (!breaks) {
                // The line goes on into the next block.
                if (lineKept) {
                    if (first == none) first = base + static_cast<std::size_t>(std::countr_zero(lineKept));
                    last = base + static_cast<std::size_t>(64 - std::countl_zero(lineKept));
                }
                classify(base + 64);
                base = base_;
                breaks = breaks_;
                kept = kept_;
                continue;
            }
            const std::size_t at = static_cast<std::size_t>(std::countr_zero(breaks)), end = base + at;
            breaks &= breaks - 1;
            lineKept &= (std::uint64_t(1) << at) - 1;
            if (lineKept) {
                if (first == none) first = base + static_cast<std::size_t>(std::countr_zero(lineKept));
                last = base + static_cast<std::size_t>(64 - std::countl_zero(lineKept));
            }
            lines[cutCount++] = first == none ? text.substr(end, 0) : text.substr(first, last - first);
            first = none;
            // A CR LF is one break: its LF, no break in the masks, is passed over.
            lineStart = end + 1;
            if (lineStart < text.size() && text[end] == '\r' && text[lineStart] == '\n') ++lineStart;
        }
        lineStart_ = lineStart;
        first_ = first;
        last_ = last;
        breaks_ = breaks;
        return cutCount;
    }

private:
    // The masks of the sixty-four bytes from `base`. An LF right after a CR is no break of its own, and the end of
    // the text counts as one.
    void classify(std::size_t base)
    {
        const std::uint64_t returnBefore = base_ != std::string_view::npos && base == base_ + 64 ? returns_ >> 63 : 0;
        base_ = base;
        std::uint64_t lineFeeds = 0;
        returns_ = kept_ = 0;
        const char* const data = text_.data() + base;
        const std::size_t count = text_.size() - base < 64 ? text_.size() - base : 64;
        std::size_t i = 0;
#if defined(__SSE2__)
        if (count == 64) {
            for (; i < 64; i += 16) {
                const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
                const auto mask = [](__m128i bytes) {
                    return std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(bytes)));
                };
                lineFeeds |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))) << i;
                returns_ |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))) << i;
                kept_ |= mask(_mm_cmpeq_epi8(_mm_max_epu8(chunk, _mm_set1_epi8(33)), chunk)) << i;
            }
        }
#endif
        for (; i < count; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            lineFeeds |= std::uint64_t(c == '\n') << i;
            returns_ |= std::uint64_t(c == '\r') << i;
            kept_ |= std::uint64_t(c > 32) << i;
        }
        breaks_ = returns_ | (lineFeeds & ~((returns_ << 1) | returnBefore));
        if (count < 64) breaks_ |= std::uint64_t(1) << count;
    }

    std::string_view text_;
    std::size_t lineStart_;
    std::size_t base_ = std::string_view::npos; // where the masks start
    std::uint64_t breaks_ = 0, returns_ = 0, kept_ = 0;
    // The kept characters of the current line in earlier blocks: the first, and one past the last.
    std::size_t first_ = std::string_view::npos, last_ = 0;
};

// Cuts `reply` into lines at CR, LF or CR LF (a NUL ends the text, a break at the very end adds no empty line) and
// trims each of the characters 0 to 32 at both ends. `lines` is cleared first and keeps its capacity, so a reader
// that reads many replies allocates only for the longest; the views point into `reply`.
void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines);

// The text after the first "="; for a line without "=", the line without its first character; "" for "".
inline std::string_view lineValue(std::string_view line)
{
    // The "=" stands a few characters in: a loop finds it sooner than a call.
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '=') return line.substr(i + 1);
    }
    return line.empty() ? line : line.substr(1);
}

} // namespace quintor
