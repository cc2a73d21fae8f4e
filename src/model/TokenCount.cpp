#include "model/TokenCount.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define CORVELT_HAS_AVX2_PATH 1
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
// 0xFF in every byte of a 16-byte block that is a separator.
__m128i separatorBytes(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i comma = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(','));
    const __m128i blank = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
    // 9 .. 13 as one unsigned range test: byte - 9 (wrapping) is at most 4 exactly
    // when min(byte - 9, 4) equals it.
    const __m128i shifted = _mm_sub_epi8(bytes, _mm_set1_epi8(9));
    const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(shifted, _mm_set1_epi8(4)), shifted);
    return _mm_or_si128(_mm_or_si128(comma, blank), controls);
}

// Counts the starts in [first, last), which begins after at least one byte that
// may be read. Per 16 bytes: a start is a non-separator whose predecessor (the
// same test on the block loaded one byte earlier) is a separator. Each byte lane
// counts its starts (subtracting 0xFF adds one) for up to 255 blocks before the
// lanes are summed.
std::size_t countBlocks(const char* first, std::size_t blocks) {
    std::size_t count = 0;
    while (blocks > 0) {
        const std::size_t batch = blocks < 255 ? blocks : 255;
        __m128i lanes = _mm_setzero_si128();
        for (std::size_t b = 0; b < batch; ++b, first += 16) {
            const __m128i starts =
                _mm_andnot_si128(separatorBytes(first), separatorBytes(first - 1));
            lanes = _mm_sub_epi8(lanes, starts);
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
        blocks -= batch;
    }
    return count;
}
#endif

#if defined(CORVELT_HAS_AVX2_PATH)
// The same test on 32-byte blocks, for processors that have AVX2.
__attribute__((target("avx2"))) __m256i separatorBytes32(const char* p) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i comma = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(','));
    const __m256i blank = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(' '));
    const __m256i shifted = _mm256_sub_epi8(bytes, _mm256_set1_epi8(9));
    const __m256i controls =
        _mm256_cmpeq_epi8(_mm256_min_epu8(shifted, _mm256_set1_epi8(4)), shifted);
    return _mm256_or_si256(_mm256_or_si256(comma, blank), controls);
}

__attribute__((target("avx2"))) std::size_t countBlocks32(const char* first, std::size_t blocks) {
    std::size_t count = 0;
    while (blocks > 0) {
        const std::size_t batch = blocks < 255 ? blocks : 255;
        __m256i lanes = _mm256_setzero_si256();
        for (std::size_t b = 0; b < batch; ++b, first += 32) {
            const __m256i starts =
                _mm256_andnot_si256(separatorBytes32(first), separatorBytes32(first - 1));
            lanes = _mm256_sub_epi8(lanes, starts);
        }
        const __m256i sums = _mm256_sad_epu8(lanes, _mm256_setzero_si256());
        count += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
        blocks -= batch;
    }
    return count;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

std::size_t countTokenStarts(const char* first, const char* last) {
    if (first == last) return 0;
    // The first byte is judged alone (its predecessor counts as a separator and
    // may not be readable); the rest in blocks that look one byte back.
    std::size_t count = isSeparator(*first) ? 0 : 1;
    const char* p = first + 1;
#if defined(CORVELT_HAS_AVX2_PATH)
    if (hasAvx2()) {
        const auto blocks = static_cast<std::size_t>(last - p) / 32;
        count += countBlocks32(p, blocks);
        p += blocks * 32;
    }
#endif
#if defined(__SSE2__)
    const auto blocks = static_cast<std::size_t>(last - p) / 16;
    count += countBlocks(p, blocks);
    p += blocks * 16;
#endif
    return count + countScalar(p, last, isSeparator(p[-1]));
}

}  // namespace corvelt
