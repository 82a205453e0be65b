// A reply as the reader sees it: trimmed lines and their values.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quintor {

// The lines of a text one after another, cut as splitReplyLines cuts them. The text is classified sixty-four bytes
// at a time into a mask of the line breaks and a mask of the characters that trimming keeps; the lines of a block
// then follow from the masks with a few bit operations each, without a guess per character or per line.
class ReplyLineCutter {
public:
    // Where an empty line points: its first characters read as NULs.
    static constexpr char kNoText[2] = {'\0', '\0'};

    // Cuts `text`, a reply, up to its first NUL; cutting starts at `offset`, the start of a line before any NUL.
    explicit ReplyLineCutter(std::string_view text, std::size_t offset = 0) : text_(text)
    {
        // The LF of a CR LF is no break of its own, and as a blank it is trimmed off the next line; so it matters
        // only at the very end, where it must not make a line of its own.
        if (text_.ends_with("\r\n")) text_.remove_suffix(1);
        if (offset >= text_.size()) {
            lastBlock_ = finished_ = true;
            return;
        }
        classify(offset - offset % 64);
        unassigned_ &= ~std::uint64_t(0) << (offset % 64); // what stands before the first line is not its
        breaks_ &= ~std::uint64_t(0) << (offset % 64);
    }

    // Whether no line is left: a break at the very end adds no empty line. Known at the latest when a cut gives none.
    bool done() const { return finished_; }

    // Cuts up to `count` lines into `lines`, each trimmed of the characters 0 to 32 at both ends; gives how many. An
    // empty line points at kNoText.
    std::size_t cut(std::string_view* lines, std::size_t count)
    {
        const char* const data = text_.data();
        const auto line = [data](std::size_t first, std::size_t last) {
            const bool text = last > first;
            return std::string_view(text ? data + first : kNoText, text ? last - first : 0);
        };
        std::size_t cutCount = 0;
        for (;;) {
            // Worked on in locals: the lines written could otherwise be the members, for all the compiler knows.
            const std::size_t base = base_;
            std::uint64_t breaks = breaks_, unassigned = unassigned_;
            if (breaks && cutCount < count) {
                // The block's first line may have begun in an earlier block, with or without kept characters there.
                std::uint64_t upToBreak = breaks ^ (breaks - 1);
                std::uint64_t kept = unassigned & upToBreak;
                unassigned &= ~upToBreak;
                breaks &= breaks - 1;
                const std::size_t first = std::min(carriedFirst_, kept ? base + firstBit(kept) : kNone);
                const std::size_t last = std::max(carriedLast_, kept ? base + endBit(kept) : 0);
                carriedFirst_ = kNone;
                carriedLast_ = 0;
                lines[cutCount++] = line(first, last);
                // The others lie in the block. A line's kept characters are those before its break that no line
                // before took; without any, `first` comes out past `last`.
                const auto nextLine = [&] {
                    upToBreak = breaks ^ (breaks - 1);
                    kept = unassigned & upToBreak;
                    unassigned &= ~upToBreak;
                    breaks &= breaks - 1;
                    lines[cutCount++] =
                        line(base + firstBit(kept | std::uint64_t(1) << 63), base + endBit(kept | std::uint64_t(1)));
                };
                if (count - cutCount >= 64) {
                    // Room for every line the block can hold: only the breaks are counted down.
                    while (breaks)
                        nextLine();
                } else {
                    while (cutCount < count && breaks)
                        nextLine();
                }
            }
            breaks_ = breaks;
            unassigned_ = unassigned;
            if (breaks) return cutCount;
            if (lastBlock_) {
                finished_ = true;
                return cutCount;
            }
            if (cutCount == count) return cutCount;
            // The rest of the block belongs to a line that goes on into the next one.
            carry();
            classify(base + 64);
        }
    }

private:
    static constexpr std::size_t kNone = std::string_view::npos;

    // The place of the lowest and one past the highest bit of a mask that is not 0.
    static std::size_t firstBit(std::uint64_t mask) { return static_cast<std::size_t>(std::countr_zero(mask)); }
    static std::size_t endBit(std::uint64_t mask) { return 64 - static_cast<std::size_t>(std::countl_zero(mask)); }

    // Keeps the kept characters the current line has in this block for when its break comes.
    void carry()
    {
        if (!unassigned_) return;
        carriedFirst_ = std::min(carriedFirst_, base_ + firstBit(unassigned_));
        carriedLast_ = base_ + endBit(unassigned_);
    }

    // The masks of the sixty-four bytes from `base`. An LF right after a CR is no break of its own, a NUL ends the
    // text, and the end of the text counts as a break.
    void classify(std::size_t base)
    {
        const std::uint64_t returnBefore = base_ != std::string_view::npos && base == base_ + 64 ? returns_ >> 63 : 0;
        base_ = base;
        std::uint64_t lineFeeds = 0, kept = 0, nuls = 0;
        returns_ = 0;
        const char* const data = text_.data() + base;
        std::size_t count = text_.size() - base < 64 ? text_.size() - base : 64;
        std::size_t i = 0;
#if defined(__SSE2__)
        if (count == 64) {
            const auto load = [data](std::size_t at) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            };
            const auto mask = [](__m128i bytes) {
                return std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(bytes)));
            };
            // Replies break their lines with LF alone and hold no NUL: CRs and NULs are looked for all at once,
            // and only a block that holds one gets their masks.
            __m128i rare = _mm_setzero_si128();
            for (; i < 64; i += 16) {
                const __m128i chunk = load(i);
                lineFeeds |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))) << i;
                kept |= mask(_mm_cmpeq_epi8(_mm_max_epu8(chunk, _mm_set1_epi8(33)), chunk)) << i;
                rare = _mm_or_si128(rare, _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r')),
                                                       _mm_cmpeq_epi8(chunk, _mm_setzero_si128())));
            }
            if (_mm_movemask_epi8(rare)) {
                for (std::size_t at = 0; at < 64; at += 16) {
                    const __m128i chunk = load(at);
                    returns_ |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))) << at;
                    nuls |= mask(_mm_cmpeq_epi8(chunk, _mm_setzero_si128())) << at;
                }
            }
        }
#endif
        for (; i < count; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            lineFeeds |= std::uint64_t(c == '\n') << i;
            returns_ |= std::uint64_t(c == '\r') << i;
            kept |= std::uint64_t(c > 32) << i;
            nuls |= std::uint64_t(c == 0) << i;
        }
        if (nuls) {
            // The text ends here; so does a CR LF just before, as at any end.
            text_ = text_.substr(0, base + static_cast<std::size_t>(std::countr_zero(nuls)));
            if (text_.ends_with("\r\n")) text_.remove_suffix(1);
            count = text_.size() > base ? text_.size() - base : 0;
            const std::uint64_t inside = (std::uint64_t(1) << count) - 1;
            lineFeeds &= inside;
            returns_ &= inside;
            kept &= inside;
        }
        breaks_ = returns_ | (lineFeeds & ~((returns_ << 1) | returnBefore));
        // The end of the text ends the last line, unless a break just before has ended it or there is no text.
        lastBlock_ = count < 64;
        if (lastBlock_ && !text_.empty() && !text_.ends_with('\n') && !text_.ends_with('\r'))
            breaks_ |= std::uint64_t(1) << count;
        unassigned_ = kept;
    }

    std::string_view text_;
    std::size_t base_ = std::string_view::npos; // where the masks start
    bool lastBlock_ = false;                    // the masks' block holds the end of the text
    bool finished_ = false;
    std::uint64_t breaks_ = 0, returns_ = 0;
    std::uint64_t unassigned_ = 0; // the kept characters of the block that belong to no line cut yet
    // The kept characters of the current line in earlier blocks: the first, and one past the last; kNone and 0 while
    // it has none there.
    std::size_t carriedFirst_ = kNone, carriedLast_ = 0;
};

// Cuts `reply` into lines at CR, LF or CR LF (a NUL ends the text, a break at the very end adds no empty line) and
// trims each of the characters 0 to 32 at both ends. `lines` is cleared first and keeps its capacity, so a reader
// that reads many replies allocates only for the longest; the views point into `reply`.
void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines);

// The text after the first "="; for a line without "=", the line without its first character; "" for "".
inline std::string_view lineValue(std::string_view line)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    // Most lines are long enough to look at their first sixteen characters at once, where the "=" stands.
    if (line.size() >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data()));
        const auto equals = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('='))));
        if (equals) return line.substr(static_cast<std::size_t>(std::countr_zero(equals)) + 1);
        i = 16;
    }
#endif
    // The "=" stands a few characters in: a loop finds it sooner than a call.
    for (; i < line.size(); ++i) {
        if (line[i] == '=') return line.substr(i + 1);
    }
    return line.empty() ? line : line.substr(1);
}

} // namespace quintor
