#include "reference/replylines.h"

#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUINTOR_WIDE_VECTORS 1
#endif

namespace quintor {
namespace {

BlockMasks classifyBytes(const char* data)
{
    BlockMasks masks;
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i < 64; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const auto mask = [](__m128i bytes) { return std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(bytes))); };
        masks.lineFeeds |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))) << i;
        masks.returns |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))) << i;
        masks.kept |= mask(_mm_cmpeq_epi8(_mm_max_epu8(chunk, _mm_set1_epi8(33)), chunk)) << i;
        masks.nuls |= mask(_mm_cmpeq_epi8(chunk, _mm_setzero_si128())) << i;
    }
#endif
    for (; i < 64; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        masks.lineFeeds |= std::uint64_t(c == '\n') << i;
        masks.returns |= std::uint64_t(c == '\r') << i;
        masks.kept |= std::uint64_t(c > 32) << i;
        masks.nuls |= std::uint64_t(c == 0) << i;
    }
    return masks;
}

#if defined(QUINTOR_WIDE_VECTORS)
__attribute__((target("avx2"))) BlockMasks classifyBytesAvx2(const char* data)
{
    BlockMasks masks;
    for (std::size_t i = 0; i < 64; i += 32) {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i lineFeeds = _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('\n'));
        const __m256i returns = _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('\r'));
        const __m256i kept = _mm256_cmpeq_epi8(_mm256_max_epu8(chunk, _mm256_set1_epi8(33)), chunk);
        const __m256i nuls = _mm256_cmpeq_epi8(chunk, _mm256_setzero_si256());
        masks.lineFeeds |= std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(lineFeeds))) << i;
        masks.returns |= std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(returns))) << i;
        masks.kept |= std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(kept))) << i;
        masks.nuls |= std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(nuls))) << i;
    }
    return masks;
}

__attribute__((target("avx512bw"))) BlockMasks classifyBytesAvx512(const char* data)
{
    const __m512i chunk = _mm512_loadu_si512(data);
    BlockMasks masks;
    masks.lineFeeds = _mm512_cmpeq_epi8_mask(chunk, _mm512_set1_epi8('\n'));
    masks.returns = _mm512_cmpeq_epi8_mask(chunk, _mm512_set1_epi8('\r'));
    masks.kept = _mm512_cmpgt_epu8_mask(chunk, _mm512_set1_epi8(32));
    masks.nuls = _mm512_cmpeq_epi8_mask(chunk, _mm512_setzero_si512());
    return masks;
}
#endif

} // namespace

BlockClassifier blockClassifier()
{
#if defined(QUINTOR_WIDE_VECTORS)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw")) return classifyBytesAvx512;
    if (__builtin_cpu_supports("avx2")) return classifyBytesAvx2;
#endif
    return classifyBytes;
}

void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines)
{
    lines.clear();
    // Reply lines average about twenty bytes; room for that many saves most of the growing.
    lines.reserve(reply.size() / 16 + 1);
    std::string_view batch[64];
    for (ReplyLineCutter cutter(reply); !cutter.done();) {
        const std::size_t count = cutter.cut(batch, std::size(batch));
        lines.insert(lines.end(), batch, batch + count);
    }
}

} // namespace quintor
