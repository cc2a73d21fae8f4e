#include "model/TokenCount.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvelt {

namespace {

std::size_t countScalar(const char* first, const char* last, bool previousIsSeparator) {
    std::size_t count = 0;
    for (const char* p = first; p != last; ++p) {
        const bool separator = isSeparator(*p);
        count += static_cast<std::size_t>(previousIsSeparator && !separator);
        previousIsSeparator = separator;
    }
    return count;
}

#if defined(__SSE2__)
// One bit per byte of a 16-byte block: set where the byte is a separator.
std::uint32_t separatorMask(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i comma = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(','));
    const __m128i blank = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
    // 9 .. 13 as one unsigned range test: byte - 9 (wrapping) is at most 4 exactly
    // when min(byte - 9, 4) equals it.
    const __m128i shifted = _mm_sub_epi8(bytes, _mm_set1_epi8(9));
    const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(shifted, _mm_set1_epi8(4)), shifted);
    const __m128i any = _mm_or_si128(_mm_or_si128(comma, blank), controls);
    return static_cast<std::uint32_t>(_mm_movemask_epi8(any));
}
#endif

}  // namespace

std::size_t countTokenStarts(const char* first, const char* last) {
    std::size_t count = 0;
    bool previousIsSeparator = true;
#if defined(__SSE2__)
    constexpr std::size_t block = 16;
    while (static_cast<std::size_t>(last - first) >= block) {
        const std::uint32_t separators = separatorMask(first);
        // A start: a non-separator whose predecessor (shifted in) is a separator.
        const std::uint32_t previous =
            ((separators << 1) | (previousIsSeparator ? 1u : 0u)) & 0xFFFFu;
        count += static_cast<std::size_t>(std::popcount(previous & ~separators & 0xFFFFu));
        previousIsSeparator = (separators & 0x8000u) != 0;
        first += block;
    }
#endif
    return count + countScalar(first, last, previousIsSeparator);
}

}  // namespace corvelt
