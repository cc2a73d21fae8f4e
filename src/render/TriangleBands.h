#pragma once

#include <array>
#include <span>
#include <utility>

#include "model/Point.h"
#include "render/BandLimits.h"

namespace corvelt {

// Cutting one value triangle along the iso-lines of the band limits. Everything is
// in view space; pixels are made by the caller.

// Ascending by value, each corner moving with its value; of equal values the one met
// first is taken, so the sort keeps their order.
inline void sortTriangleByValue(std::array<double, 3>& values, std::array<Point2D, 3>& corners) {
    for (int i = 0; i < 2; ++i) {
        int smallest = i;
        for (int j = i + 1; j < 3; ++j)
            if (values[j] < values[smallest]) smallest = j;
        if (smallest != i) {
            std::swap(values[i], values[smallest]);
            std::swap(corners[i], corners[smallest]);
        }
    }
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
    out.x = (target - valueA) * (b.x - a.x) / (valueB - valueA) + a.x;
    out.y = (target - valueA) * (b.y - a.y) / (valueB - valueA) + a.y;
    return true;
}

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

    int failures = 0;
    bool found = true;
    auto e01 = [&](double t) {
        Point2D out;
        found = FindPointBetweenTwoPointsByphysicalQuantity(p0, p1, t, f0, f1, out) && found;
        return out;
    };
    auto e12 = [&](double t) {
        Point2D out;
        found = FindPointBetweenTwoPointsByphysicalQuantity(p1, p2, t, f1, f2, out) && found;
        return out;
    };
    auto e20 = [&](double t) {
        Point2D out;
        found = FindPointBetweenTwoPointsByphysicalQuantity(p2, p0, t, f2, f0, out) && found;
        return out;
    };

    constexpr int bandCount = static_cast<int>(BandLimits::count) - 1;
    int band = 0;
    // With ordered limits the bands below the lowest corner (row 1a) form a prefix
    // and those above the highest corner (row 2a-i) a suffix: skip both untested.
    if (limits.nonDecreasing)
        while (band < bandCount && f0 > limits[band + 1])
            ++band;

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
