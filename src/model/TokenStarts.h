#pragma once

#include <bit>
#include <cstdint>

#include "model/TokenCount.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvelt {

// Bit i set where p[i] is a separator, for the 64 bytes from p.
inline std::uint64_t separatorMask(const char* p) {
#if defined(__SSE2__)
    std::uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i comma = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(','));
        const __m128i blank = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
        // 9 .. 13 as one unsigned range test: byte - 9 (wrapping) is at most 4
        // exactly when min(byte - 9, 4) equals it.
        const __m128i shifted = _mm_sub_epi8(bytes, _mm_set1_epi8(9));
        const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(shifted, _mm_set1_epi8(4)), shifted);
        const auto bits = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(comma, blank), controls)));
        mask |= static_cast<std::uint64_t>(bits) << (16 * part);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i)
        mask |= static_cast<std::uint64_t>(isSeparator(p[i])) << i;
    return mask;
#endif
}

// The token starts from a given one on, found from 64-byte masks of separators.
// The start of a token is then known without reading the number before it, so
// numbers can be read independently of each other, several at a time.
class TokenStarts {
  public:
    // `first` is a token start; bytes are read up to, not including, `limit`.
    TokenStarts(const char* first, const char* limit) : block_(first), limit_(limit) {
        if (first + 64 > limit) {
            block_ = nullptr;
            return;
        }
        const std::uint64_t separators = separatorMask(first);
        starts_ = ~separators & ((separators << 1) | 1);
        previousSeparator_ = separators >> 63;
    }

    // The next token start, the given one first; null where the next lies in a
    // block that would reach the limit.
    const char* next() {
        if (block_ == nullptr) return nullptr;
        while (starts_ == 0) {
            block_ += 64;
            if (block_ + 64 > limit_) {
                block_ = nullptr;
                return nullptr;
            }
            const std::uint64_t separators = separatorMask(block_);
            starts_ = ~separators & ((separators << 1) | previousSeparator_);
            previousSeparator_ = separators >> 63;
        }
        const int offset = std::countr_zero(starts_);
        starts_ &= starts_ - 1;
        return block_ + offset;
    }

  private:
    const char* block_;
    const char* limit_;
    std::uint64_t starts_ = 0;
    std::uint64_t previousSeparator_ = 0;
};

}  // namespace corvelt
