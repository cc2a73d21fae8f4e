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

// A ring at each peak's node with a label ("Min 1.5", "Max 48"), readable over any
// contour colour.
void drawPeakMarkers(PaintContext& context, const Peaks& peaks);

}  // namespace corvelt
