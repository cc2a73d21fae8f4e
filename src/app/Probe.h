#pragma once

#include <array>
#include <cstdint>

#include <optional>

#include "model/ElementStressBlock.h"
#include "model/ShellFace.h"
#include "model/StressQuantity.h"
#include "model/Point.h"
#include "view/Pixel.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// The faces whose every quantity the probe lists at the nearest corner.
enum class ProbedFace { surface1, surface2, membrane, bending };
inline constexpr int probedFaceCount = 4;

// What lies under the cursor: the element, the plotted quantity there on the chosen
// face (on the facing face, the surface that faces the viewer), and the element's
// corner nearest to the cursor with all seven components of that corner on both
// surfaces and every quantity on both surfaces, the membrane and the bending face.
struct ProbeReading {
    std::int32_t element = 0;
    int surface = 0;    // facing the viewer: 0 the first surface, 1 the second
    int component = 0;  // the plotted quantity (StressQuantity)
    ShellFace face = ShellFace::facing;
    double value = 0.0;
    int corner = 0;  // 0 .. 3, in connectivity order
    std::int32_t node = 0;
    std::array<StressRecord, 2> cornerStresses{};  // first surface, second surface
    std::array<std::array<double, stressQuantityCount>, probedFaceCount> cornerQuantities{};
};

// A probe at a client pixel and what it found there.
struct ProbeAtPixel {
    Pixel pixel;
    std::optional<ProbeReading> reading;
};

// The reading at a view-space point of an element. The value is interpolated as the
// contour paints it: linearly over the four triangles between the element's centre
// (which carries the mean of the corners) and its edges, so the probe agrees with the
// bands on the screen. A point outside the element's outline takes the triangle it
// is nearest to.
ProbeReading readElementAt(const ShellModel& model, const ViewCamera& camera, std::int32_t element,
                           Point2D point);

}  // namespace corvelt
