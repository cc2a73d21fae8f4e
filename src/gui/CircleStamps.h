#pragma once

#include <vector>

#include "render/Canvas.h"
#include "view/Pixel.h"

namespace corvelt {

// The pixels of circle outlines, drawn once per radius and pen width with Qt's
// painter and then stamped wherever a node marker goes: a frame draws hundreds
// of thousands of markers of two or three sizes, and the painter costs far more
// per circle than copying its two dozen pixels.
class CircleStamps {
  public:
    // Circles up to this radius and pen width are stamped; others are drawn by the painter.
    static constexpr int maxRadius = 64;
    static constexpr int maxPenWidth = 4;

    // Offsets from the centre of the pixels that the outline of the circle
    // inscribed in the square centre +- radius lights with a solid pen of that
    // width (covering columns and rows centre - radius .. centre + radius - 1 at
    // width 1). Valid until the next call.
    const std::vector<Pixel>& outline(int radius, int penWidth);

  private:
    struct Stamp {
        int radius;
        int penWidth;
        std::vector<Pixel> offsets;
    };
    std::vector<Stamp> stamps_;
};

}  // namespace corvelt
