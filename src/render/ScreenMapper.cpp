#include "render/ScreenMapper.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

#include "base/FiniteArithmetic.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

// Enough for a seven-corner polygon clipped by four sides.
using ClipBuffer = std::array<Point2D, ScreenPolygon::capacity>;

enum class Side { left, right, bottom, top };

bool inside(Point2D p, Side side, double limit) {
    switch (side) {
        case Side::left:
            return p.x >= limit;
        case Side::right:
            return p.x <= limit;
        case Side::bottom:
            return p.y >= limit;
        case Side::top:
            return p.y <= limit;
    }
    return false;
}

// The other coordinate where the edge from `in` to `out` meets the line at `limit`.
double crossingAt(double limit, double inAcross, double outAcross, double inAlong,
                  double outAlong) {
    const double t = (limit - inAcross) / (outAcross - inAcross);
    const double along = inAlong + (outAlong - inAlong) * t;
    if (std::isfinite(along)) [[likely]]
        return along;
    // Ends so far apart that their differences overflow.
    return weightedBetween(inAlong, outAlong, fractionBetween(limit, inAcross, outAcross));
}

// The crossing of the edge with the side's line, always interpolated from the inside
// end, so that two polygons sharing an edge get the very same point.
Point2D crossing(Point2D in, Point2D out, Side side, double limit) {
    if (side == Side::left || side == Side::right)
        return {limit, crossingAt(limit, in.x, out.x, in.y, out.y)};
    return {crossingAt(limit, in.y, out.y, in.x, out.x), limit};
}

// One Sutherland-Hodgman pass against one side of the band.
std::size_t clipAgainst(const ClipBuffer& source, std::size_t count, Side side, double limit,
                        ClipBuffer& target) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Point2D current = source[i];
        const Point2D previous = source[(i + count - 1) % count];
        const bool currentIn = inside(current, side, limit);
        const bool previousIn = inside(previous, side, limit);
        if (currentIn != previousIn) {
            target[written++] = currentIn ? crossing(current, previous, side, limit)
                                          : crossing(previous, current, side, limit);
        }
        if (currentIn) target[written++] = current;
    }
    return written;
}

}  // namespace

ScreenMapper::ScreenMapper(const ViewCamera& camera, std::int32_t clientWidth,
                           std::int32_t clientHeight, double drawingReach)
    : usable_(std::isfinite(camera.scale) && camera.scale > 0.0 && std::isfinite(camera.centerX) &&
              std::isfinite(camera.centerY)),
      originX_(camera.originX),
      originY_(camera.originY),
      centerX_(camera.centerX),
      centerY_(camera.centerY),
      scale_(camera.scale),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight) {
    if (usable_) {
        visible_ = visibleArea(drawingReach);
        guard_ = visibleArea(guardPixels);
        // With the band and the centre within a quarter of the double range, a point
        // in the band differs from the centre by a finite amount, which the scale
        // turns into the small offset that the band was built from.
        const auto small = [](double v) { return std::fabs(v) <= largestFinite / 4; };
        guardBounded_ = small(guard_.xMin) && small(guard_.xMax) && small(guard_.yMin) &&
                        small(guard_.yMax) && small(centerX_) && small(centerY_);
    }
}

ViewRect ScreenMapper::visibleArea(double marginPixels) const {
    // Pixel column c is reached from offsets in (c - originX - 1, c - originX + 1)
    // because of the truncation toward zero; the extra pixel covers it.
    const double reach = marginPixels + 1.0;
    return {centerX_ + (-static_cast<double>(originX_) - reach) / scale_,
            centerX_ + (static_cast<double>(clientWidth_) - originX_ + reach) / scale_,
            centerY_ + (static_cast<double>(originY_) - clientHeight_ - reach) / scale_,
            centerY_ + (static_cast<double>(originY_) + reach) / scale_};
}

ScreenReach ScreenMapper::reach(const ViewRect& box) const {
    if (!usable_ || !visible_.overlaps(box)) return ScreenReach::hidden;
    return guardBounded_ && guard_.contains(box) ? ScreenReach::insideGuard
                                                 : ScreenReach::crossesGuard;
}

void ScreenMapper::clipAndMap(std::span<const Point2D> corners, ScreenPolygon& out) const {
    assert(corners.size() + 4 <= ScreenPolygon::capacity);
    out.clear();
    if (corners.empty() || !usable_) return;
    if (!guardBounded_) {
        for (const Point2D& p : corners)
            out.push(toPixel(p));
        return;
    }
    const ViewRect box = boundingBox(corners);
    if (guard_.contains(box)) {
        mapPolygon(corners, false, out);
        return;
    }
    if (!guard_.overlaps(box)) return;

    ClipBuffer a{}, b{};
    std::copy(corners.begin(), corners.end(), a.begin());
    std::size_t count = corners.size();
    count = clipAgainst(a, count, Side::left, guard_.xMin, b);
    count = clipAgainst(b, count, Side::right, guard_.xMax, a);
    count = clipAgainst(a, count, Side::bottom, guard_.yMin, b);
    count = clipAgainst(b, count, Side::top, guard_.yMax, a);
    mapPolygon(std::span<const Point2D>(a.data(), count), false, out);
}

}  // namespace corvelt
