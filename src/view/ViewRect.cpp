#include "view/ViewRect.h"

#include <algorithm>
#include <cassert>

namespace corvelt {

ViewRect boundingBox(std::span<const Point2D> points) {
    assert(!points.empty());
    ViewRect box{points[0].x, points[0].x, points[0].y, points[0].y};
    for (const Point2D& p : points.subspan(1)) {
        box.xMin = std::min(box.xMin, p.x);
        box.xMax = std::max(box.xMax, p.x);
        box.yMin = std::min(box.yMin, p.y);
        box.yMax = std::max(box.yMax, p.y);
    }
    return box;
}

}  // namespace corvelt
