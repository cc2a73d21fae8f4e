#pragma once

#include <cstdint>

namespace corvelt {

// Exact integer rasterising: products of 32-bit coordinates can exceed 64 bits.
__extension__ using Int128 = __int128;

struct Quotient {
    std::int64_t quotient;
    std::int64_t remainder;  // 0 <= remainder < divisor
};

// Division rounding toward minus infinity, for a positive divisor.
template <typename Integer>
Quotient floorDivide(Integer dividend, std::int64_t divisor) {
    Integer quotient = dividend / divisor;
    Integer remainder = dividend % divisor;
    if (remainder < 0) {
        --quotient;
        remainder += divisor;
    }
    return {static_cast<std::int64_t>(quotient), static_cast<std::int64_t>(remainder)};
}

}  // namespace corvelt
