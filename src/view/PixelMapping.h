#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace corvelt {

// The one conversion of a view-space coordinate to a client pixel:
// origin + trunc((to - from) * scale), with x as (x - centre) and y as (centre - y).
// Far points saturate at the ends of the int32 range instead of overflowing, and a
// NaN maps to the origin: no finite or infinite input is undefined.
namespace pixel_mapping {

// Offsets this small cannot overflow the int64 sum with any int32 origin.
inline constexpr double fastOffsetLimit = 1u << 31;

// Everything the fast path does not take: NaN, infinities and far offsets, also
// those where to - from overflowed although the pixel is near.
std::int32_t farPixel(std::int32_t origin, double from, double to, double scale);

inline std::int32_t clampToInt32(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < low ? low : (value > high ? high : value));
}

}  // namespace pixel_mapping

inline std::int32_t mapToPixel(std::int32_t origin, double from, double to, double scale) {
    const double offset = (to - from) * scale;
    // One comparison keeps the hot path short; it is false for NaN.
    if (std::fabs(offset) < pixel_mapping::fastOffsetLimit) [[likely]]
        return pixel_mapping::clampToInt32(origin + static_cast<std::int64_t>(offset));
    return pixel_mapping::farPixel(origin, from, to, scale);
}

// origin + offset without overflow, saturated to the int32 range.
inline std::int32_t saturatingAdd(std::int32_t origin, std::int64_t offset) {
    return pixel_mapping::clampToInt32(origin + offset);
}

}  // namespace corvelt
