#include "select/Picking.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/ShellModel.h"
#include "view/Depth.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

using Corners = std::array<Point2D, ShellModel::nodesPerElement>;

Corners projectedCorners(const ShellModel& model, std::int32_t element) {
    const std::int32_t* nodes = model.elementCorners(element);
    Corners corners;
    for (int j = 0; j < ShellModel::nodesPerElement; ++j)
        corners[j] = model.projectedNodes[nodes[j]];
    return corners;
}

bool pointInCorners(const Corners& corners, Point2D p) {
    const ViewRect box = boundingBox(corners);
    if (p.x < box.xMin || p.x > box.xMax || p.y < box.yMin || p.y > box.yMax) return false;

    int crossings = 0;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const auto [x1, y1] = corners[k];
        const auto [x2, y2] = corners[(k + 1) % corners.size()];
        if ((p.y < y1 && p.y < y2) || (p.y > y1 && p.y > y2)) continue;
        if (y1 == y2) continue;
        // A vertex at the ray's height counts only for the edge that rises from it.
        if (p.y == y1) {
            if (y2 > p.y && p.x <= x1) ++crossings;
            continue;
        }
        if (p.y == y2) {
            if (y1 > p.y && p.x <= x2) ++crossings;
            continue;
        }
        if (x1 == x2) {
            if (p.x <= x1) ++crossings;
            continue;
        }
        const double xi = -((x1 - x2) * p.y + (x2 - x1) * y1 - (y2 - y1) * x1) / (y2 - y1);
        if (p.x <= xi) ++crossings;
    }
    return crossings % 2 == 1;
}

bool strictlyInside(const ViewRect& r, Point2D p) {
    return r.xMin < p.x && p.x < r.xMax && r.yMin < p.y && p.y < r.yMax;
}

std::array<Point2D, 4> rectangleCorners(const ViewRect& r) {
    return {Point2D{r.xMin, r.yMin}, Point2D{r.xMax, r.yMin}, Point2D{r.xMax, r.yMax},
            Point2D{r.xMin, r.yMax}};
}

double crossProduct(Point2D a, Point2D b) {
    return a.x * b.y - a.y * b.x;
}
Point2D minus(Point2D a, Point2D b) {
    return {a.x - b.x, a.y - b.y};
}

bool eligible(const std::vector<std::uint8_t>& selected, std::int32_t index, PickScope scope) {
    return !scope.onlyFromSelected || selected[index] != 0;
}

}  // namespace

ViewRect rectangleToView(const ViewCamera& camera, Pixel a, Pixel b) {
    const Point2D low = camera.pixelToView({std::min(a.x, b.x), std::max(a.y, b.y)});
    const Point2D high = camera.pixelToView({std::max(a.x, b.x), std::min(a.y, b.y)});
    return {low.x, high.x, low.y, high.y};
}

bool pointInElement(const ShellModel& model, std::int32_t element, Point2D p) {
    return pointInCorners(projectedCorners(model, element), p);
}

bool elementInsideRectangle(const ShellModel& model, std::int32_t element, const ViewRect& rect) {
    const Corners corners = projectedCorners(model, element);
    return std::all_of(corners.begin(), corners.end(),
                       [&rect](Point2D c) { return rect.contains(c); });
}

bool elementTouchesRectangle(const ShellModel& model, std::int32_t element, const ViewRect& rect) {
    const Corners corners = projectedCorners(model, element);
    const ViewRect box = boundingBox(corners);
    if (rect.xMax < box.xMin || box.xMax < rect.xMin || rect.yMax < box.yMin ||
        box.yMax < rect.yMin)
        return false;
    for (const Point2D& c : corners)
        if (strictlyInside(rect, c)) return true;
    const auto rectCorners = rectangleCorners(rect);
    for (const Point2D& c : rectCorners)
        if (pointInCorners(corners, c)) return true;
    for (std::size_t i = 0; i < corners.size(); ++i)
        for (std::size_t k = 0; k < rectCorners.size(); ++k)
            if (segmentsIntersect(corners[i], corners[(i + 1) % corners.size()], rectCorners[k],
                                  rectCorners[(k + 1) % rectCorners.size()]))
                return true;
    return false;
}

bool segmentsIntersect(Point2D p1, Point2D p2, Point2D q1, Point2D q2) {
    if (std::min(q1.x, q2.x) > std::max(p1.x, p2.x) ||
        std::max(q1.x, q2.x) < std::min(p1.x, p2.x) ||
        std::min(q1.y, q2.y) > std::max(p1.y, p2.y) || std::max(q1.y, q2.y) < std::min(p1.y, p2.y))
        return false;
    const Point2D p = minus(p2, p1);
    if (crossProduct(p, minus(q2, p1)) * crossProduct(p, minus(q1, p1)) > 0.0) return false;
    const Point2D q = minus(q2, q1);
    return crossProduct(q, minus(p2, q1)) * crossProduct(q, minus(p1, q1)) <= 0.0;
}

std::optional<std::int32_t> pickElementAtPoint(ShellModel& model, const ViewCamera& camera,
                                               Pixel click, std::uint8_t value, PickScope scope) {
    const Point2D p = camera.pixelToView(click);
    std::optional<std::int32_t> candidate;
    double candidateDepth = 0.0;
    const std::int32_t elementCount = model.elementCount();
    for (std::int32_t e = 0; e < elementCount; ++e) {
        if (!eligible(model.elementSelected, e, scope) || !pointInElement(model, e, p)) continue;
        const double depth = elementDepth(model, camera, e);
        if (!candidate || depth < candidateDepth) {
            candidate = e;
            candidateDepth = depth;
        }
    }
    if (candidate) model.elementPicked[*candidate] = value;
    return candidate;
}

std::optional<std::int32_t> pickNodeAtPoint(ShellModel& model, const ViewCamera& camera,
                                            Pixel click, std::uint8_t value, PickScope scope) {
    const Point2D p = camera.pixelToView(click);
    std::optional<std::int32_t> candidate;
    double candidateDistance = 0.0;
    double candidateDepth = 0.0;
    const std::int32_t nodeCount = model.nodeCount();
    for (std::int32_t n = 0; n < nodeCount; ++n) {
        if (!eligible(model.nodeSelected, n, scope)) continue;
        const Point2D& q = model.projectedNodes[n];
        const double distance = std::sqrt((q.y - p.y) * (q.y - p.y) + (q.x - p.x) * (q.x - p.x));
        const double depth = nodeDepth(model, camera, n);
        if (!candidate || distance < candidateDistance ||
            (distance == candidateDistance && depth < candidateDepth)) {
            candidate = n;
            candidateDistance = distance;
            candidateDepth = depth;
        }
    }
    if (candidate) model.nodePicked[*candidate] = value;
    return candidate;
}

std::int32_t pickElementsInRectangle(ShellModel& model, const ViewCamera& camera, Pixel anchor,
                                     Pixel current, std::uint8_t value, PickScope scope) {
    const ViewRect rect = rectangleToView(camera, anchor, current);
    const bool crossing = current.x < anchor.x;
    std::int32_t count = 0;
    const std::int32_t elementCount = model.elementCount();
    for (std::int32_t e = 0; e < elementCount; ++e) {
        if (!eligible(model.elementSelected, e, scope)) continue;
        const bool qualifies = crossing ? elementTouchesRectangle(model, e, rect)
                                        : elementInsideRectangle(model, e, rect);
        if (qualifies) {
            model.elementPicked[e] = value;
            ++count;
        }
    }
    return count;
}

std::int32_t pickNodesInRectangle(ShellModel& model, const ViewCamera& camera, Pixel anchor,
                                  Pixel current, std::uint8_t value, PickScope scope) {
    const ViewRect rect = rectangleToView(camera, anchor, current);
    std::int32_t count = 0;
    const std::int32_t nodeCount = model.nodeCount();
    for (std::int32_t n = 0; n < nodeCount; ++n) {
        if (eligible(model.nodeSelected, n, scope) && rect.contains(model.projectedNodes[n])) {
            model.nodePicked[n] = value;
            ++count;
        }
    }
    return count;
}

}  // namespace corvelt
