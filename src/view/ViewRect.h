#pragma once

#include <span>

#include "model/Point.h"

namespace corvelt {

// An axis-aligned view-space rectangle, xMin <= xMax and yMin <= yMax; its sides
// belong to it.
struct ViewRect {
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;

    bool overlaps(const ViewRect& other) const {
        return xMin <= other.xMax && xMax >= other.xMin && yMin <= other.yMax && yMax >= other.yMin;
    }
    bool contains(const ViewRect& other) const {
        return other.xMin >= xMin && other.xMax <= xMax && other.yMin >= yMin && other.yMax <= yMax;
    }
    bool contains(Point2D p) const {
        return p.x >= xMin && p.x <= xMax && p.y >= yMin && p.y <= yMax;
    }
};

// The smallest rectangle around the points; they must not be empty.
ViewRect boundingBox(std::span<const Point2D> points);

}  // namespace corvelt
