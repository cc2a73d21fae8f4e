#include "view/PixelMapping.h"

#include <algorithm>

namespace corvelt::pixel_mapping {

std::int32_t farPixel(std::int32_t origin, double from, double to, double scale) {
    double offset = (to - from) * scale;
    // Two far-apart finite values can differ by more than the largest double while
    // their pixels are close: scale them before subtracting.
    if (std::isinf(to - from) && std::isfinite(to) && std::isfinite(from))
        offset = to * scale - from * scale;
    if (std::isnan(offset)) return origin;
    // Any offset beyond this saturates, whatever the origin.
    constexpr double limit = 1ull << 33;
    return clampToInt32(origin + static_cast<std::int64_t>(std::clamp(offset, -limit, limit)));
}

}  // namespace corvelt::pixel_mapping
