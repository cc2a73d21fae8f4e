#pragma once

#include <cstdint>

namespace corvelt {

// A client-area pixel: x to the right, y downward.
struct Pixel {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(Pixel, Pixel) = default;
};

}  // namespace corvelt
