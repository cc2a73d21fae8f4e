#pragma once

#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "base/FiniteArithmetic.h"
#include "model/Point.h"
#include "render/BandLimits.h"

namespace corvelt {

// Cutting one value triangle along the iso-lines of the band limits. Everything is
// in view space; pixels are made by the caller.

// Ascending by value, each corner moving with its value: a selection sort over
// positions 0 and 1 that takes, of equal smallest values, the one met first. (It is
// not stable: 1a, 1b, 0 becomes 0, 1b, 1a.) Written out so that it stays in registers.
template <typename Corner>
inline void sortTriangleByValue(std::array<double, 3>& values, std::array<Corner, 3>& corners) {
    auto exchange = [&](int i, int j) {
        std::swap(values[i], values[j]);
        std::swap(corners[i], corners[j]);
    };
    if (values[1] < values[0]) {
        exchange(0, values[2] < values[1] ? 2 : 1);
    } else if (values[2] < values[0]) {
        exchange(0, 2);
    }
    if (values[2] < values[1]) exchange(1, 2);
}

// The point on segment a-b where the linearly interpolated value is `target`,
// measured from a. False (out untouched) when the target lies outside the values of
// the two ends (both ends included); equal end values give a itself.
inline bool FindPointBetweenTwoPointsByphysicalQuantity(Point2D a, Point2D b, double target,
                                                        double valueA, double valueB,
                                                        Point2D& out) {
    if ((target < valueA && target < valueB) || (target > valueA && target > valueB)) return false;
    if (valueA == valueB) {
        out = a;
        return true;
    }
    const double span = valueB - valueA;
    out.x = (target - valueA) * (b.x - a.x) / span + a.x;
    out.y = (target - valueA) * (b.y - a.y) / span + a.y;
    // One test catches every overflow (of the span, a product or a sum) and a NaN:
    // values or positions so far apart need the fraction taken first.
    if (!(std::fabs(out.x) + std::fabs(out.y) + std::fabs(span) <= largestFinite)) [[unlikely]] {
        const double t = fractionBetween(target, valueA, valueB);
        out = {weightedBetween(a.x, b.x, t), weightedBetween(a.y, b.y, t)};
    }
    return true;
}

// The band that holds the whole sorted triangle f0 <= f1 <= f2 when the limits are
// ordered and the cut yields that one polygon, P0, P1, P2 (row 1d): f0 above the
// band's lower limit and f2 below its upper one. Otherwise -1.
inline int wholeBandOf(const std::array<double, 3>& sorted, const BandLimits& limits) {
    const int bandCount = limits.bandCount;
    if (!limits.nonDecreasing) return -1;
    int band = 0;
    for (int k = 1; k <= bandCount; ++k)
        band += sorted[0] > limits[k] ? 1 : 0;
    if (band == bandCount) return -1;
    const bool inside =
        sorted[0] > limits[band] && sorted[1] <= limits[band + 1] && sorted[2] < limits[band + 1];
    return inside ? band : -1;
}

namespace detail {

// The last point found on one edge of a sorted triangle. The iso-line of a limit is
// met twice, as the upper limit of one band and the lower of the next; the second
// lookup then returns the very same point without interpolating again.
class EdgePointMemo {
  public:
    EdgePointMemo(Point2D a, Point2D b, double valueA, double valueB)
        : a_(a), b_(b), valueA_(valueA), valueB_(valueB) {}

    bool find(double target, Point2D& out) {
        if (!(valid_ && target == target_)) {
            valid_ = FindPointBetweenTwoPointsByphysicalQuantity(a_, b_, target, valueA_, valueB_,
                                                                 point_);
            target_ = target;
            if (!valid_) return false;
        }
        out = point_;
        return true;
    }

  private:
    Point2D a_, b_;
    double valueA_, valueB_;
    Point2D point_;
    double target_ = 0.0;
    bool valid_ = false;
};

}  // namespace detail

// Calls emit(band, polygon) for every band polygon of the triangle, bands in
// ascending order, polygon corners (three to five) in the order of the case table
// below. The strict and non-strict comparisons decide every tie: a value equal to an
// inner limit counts with the band below it. Returns how many polygons were dropped
// because an edge point could not be found, which finite values never cause.
template <typename Emit>
int cutTriangleIntoBands(std::array<Point2D, 3> corners, std::array<double, 3> values,
                         const BandLimits& limits, Emit&& emit) {
    sortTriangleByValue(values, corners);
    const auto [p0, p1, p2] = corners;
    const auto [f0, f1, f2] = values;

    // Each edge point is interpolated from the first-named corner of its edge.
    detail::EdgePointMemo edge01(p0, p1, f0, f1);
    detail::EdgePointMemo edge12(p1, p2, f1, f2);
    detail::EdgePointMemo edge20(p2, p0, f2, f0);
    bool found = true;
    auto e01 = [&](double t) {
        Point2D out;
        found = edge01.find(t, out) && found;
        return out;
    };
    auto e12 = [&](double t) {
        Point2D out;
        found = edge12.find(t, out) && found;
        return out;
    };
    auto e20 = [&](double t) {
        Point2D out;
        found = edge20.find(t, out) && found;
        return out;
    };

    const int bandCount = limits.bandCount;
    int band = 0;
    // With ordered limits the bands wholly below the lowest corner (row 1a) form a
    // prefix, as many as upper limits below f0, and the bands wholly above the
    // highest corner (row 2a-i) a suffix: both are skipped untested.
    if (limits.nonDecreasing)
        for (int k = 1; k <= bandCount; ++k)
            band += f0 > limits[k] ? 1 : 0;

    int failures = 0;
    std::array<Point2D, 5> polygon;
    for (; band < bandCount; ++band) {
        const double lo = limits[band];
        const double hi = limits[band + 1];
        if (limits.nonDecreasing && f2 < lo) break;
        found = true;
        int size = 0;
        if (f0 > lo) {
            if (f0 > hi) continue;  // 1a
            if (f1 > hi) {          // 1b
                polygon = {e01(hi), e20(hi), p0};
                size = 3;
            } else if (f2 >= hi) {  // 1c
                polygon = {e20(hi), p0, p1, e12(hi)};
                size = 4;
            } else {  // 1d
                polygon = {p0, p1, p2};
                size = 3;
            }
        } else if (f1 <= lo) {
            if (f2 < lo) continue;  // 2a-i
            if (f2 < hi) {          // 2a-ii
                polygon = {e20(lo), e12(lo), p2};
                size = 3;
            } else {  // 2a-iii
                polygon = {e20(lo), e12(lo), e12(hi), e20(hi)};
                size = 4;
            }
        } else if (f1 <= hi) {
            if (f2 < hi) {  // 2b-i
                polygon = {e20(lo), e01(lo), p1, p2};
                size = 4;
            } else {  // 2b-ii
                polygon = {e20(lo), e01(lo), p1, e12(hi), e20(hi)};
                size = 5;
            }
        } else {  // 2c
            polygon = {e20(lo), e01(lo), e01(hi), e20(hi)};
            size = 4;
        }
        if (!found) {
            ++failures;
            continue;
        }
        emit(band, std::span<const Point2D>(polygon.data(), static_cast<std::size_t>(size)));
    }
    return failures;
}

}  // namespace corvelt
