#pragma once

#include <cmath>

namespace corvelt {

// A size given in client pixels (a pen width, a marker radius, a legend box, a font
// height) on a canvas with `ratio` device pixels per client pixel, as on a
// high-resolution screen. A ratio of 1 leaves every size as it is.
inline int devicePixels(int pixels, double ratio) {
    return static_cast<int>(std::lround(pixels * ratio));
}

}  // namespace corvelt
