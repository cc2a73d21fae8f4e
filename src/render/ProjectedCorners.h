#pragma once

#include <array>
#include <cstdint>

#include "base/FiniteArithmetic.h"
#include "model/Point.h"
#include "model/ShellModel.h"

namespace corvelt {

// The view-space positions of an element's corners, in connectivity order.
using ProjectedCorners = std::array<Point2D, ShellModel::nodesPerElement>;

inline ProjectedCorners projectedCorners(const ShellModel& model, std::int32_t element) {
    const std::int32_t* nodes = model.elementCorners(element);
    ProjectedCorners corners;
    for (int j = 0; j < ShellModel::nodesPerElement; ++j)
        corners[j] = model.projectedNodes[nodes[j]];
    return corners;
}

// The mean of the four corners: the centre of the contour's fan and of the element
// number. Finite for all finite corners.
inline Point2D centreOf(const ProjectedCorners& c) {
    return {meanOfFour(c[0].x, c[1].x, c[2].x, c[3].x), meanOfFour(c[0].y, c[1].y, c[2].y, c[3].y)};
}

}  // namespace corvelt
