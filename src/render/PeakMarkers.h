#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "render/ContourValues.h"

namespace corvelt {

struct PaintContext;

// An element corner that carries one end of the contour's range.
struct PeakCorner {
    std::int32_t element = 0;
    int corner = 0;
    int surface = 0;
    double value = 0.0;
};

struct Peaks {
    PeakCorner lowest;
    PeakCorner highest;
};

// The corners with the lowest and the highest value among the selected elements,
// scanned as the band limits are, so that their values are the legend's end values
// and of equal extremes the same one is taken. None when no element is selected.
std::optional<Peaks> findPeaks(const std::vector<ElementValues>& values,
                               const std::vector<std::uint8_t>& selected);

// A triangle at each peak's node, up at the maximum and down at the minimum, with a
// label that says where the value lies ("Min 1.5 (surface 1)", "Max 48 (membrane)"),
// readable over any contour colour; two labels that would cover each other are moved
// apart.
void drawPeakMarkers(PaintContext& context, const Peaks& peaks);

}  // namespace corvelt
