#pragma once

#include <array>
#include <cstdint>

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

}  // namespace corvelt
