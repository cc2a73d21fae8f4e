#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "view/Pixel.h"

namespace corvelt {

// The pixels of short solid paths drawn with a wide pen, drawn once per shape with
// Qt's painter and then stamped: picked elements are outlined with a two-pixel pen,
// a rectangle pick on a big model picks tens of thousands of small elements, and the
// painter's stroker costs far more per outline than copying its few dozen pixels.
// The painter's pixels move with the path by whole pixels, so one stamp serves every
// path of the same shape.
class PathStamps {
  public:
    static constexpr int maxCorners = 4;
    static constexpr int maxPenWidth = 4;
    // Paths whose corners lie farther than this from the first are drawn by the painter.
    static constexpr int maxSpan = 24;
    // Beyond every pixel of a stamp, from its first corner.
    static constexpr int reach = maxSpan + maxPenWidth + 2;

    // Offsets from the first corner of the pixels that the painter lights for the
    // path with a solid pen of that width (2 .. maxPenWidth), or none when the path
    // is not one that is stamped. Valid until the next call.
    const std::vector<Pixel>* outline(std::span<const Pixel> corners, bool closed, int penWidth);

  private:
    struct Shape {
        std::array<std::int8_t, 2 * (maxCorners - 1)> offsets{};
        std::int8_t corners = 0;
        std::int8_t penWidth = 0;
        bool closed = false;
        bool operator==(const Shape&) const = default;
    };
    struct ShapeHash {
        std::size_t operator()(const Shape& shape) const;
    };
    // Big models show thousands of shapes; the cache starts afresh beyond this many.
    static constexpr std::size_t maxShapes = 1 << 14;
    std::unordered_map<Shape, std::vector<Pixel>, ShapeHash> stamps_;
};

}  // namespace corvelt
