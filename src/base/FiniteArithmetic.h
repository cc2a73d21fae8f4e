#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvelt {

// Arithmetic on coordinates and stresses that stays finite for every finite input.
// Each function computes the plain formula first, so that ordinary values give the
// very same bits; only where that would overflow does it take the same quantity
// from scaled-down terms.

inline constexpr double largestFinite = std::numeric_limits<double>::max();

// The nearest finite value: infinities become the largest double of their sign.
inline double clampToFinite(double value) {
    return std::clamp(value, -largestFinite, largestFinite);
}

// (a + b + c + d) / 4, summed in this order.
inline double meanOfFour(double a, double b, double c, double d) {
    const double sum = a + b + c + d;
    if (std::isfinite(sum)) [[likely]]
        return sum * 0.25;
    return a * 0.25 + b * 0.25 + c * 0.25 + d * 0.25;
}

// Where `value` lies between `from` (0) and `to` (1), for a value between the two;
// equal ends give 0. Never overflows, unlike (value - from) / (to - from).
inline double fractionBetween(double value, double from, double to) {
    if (from == to) return 0.0;
    const double t = (value * 0.5 - from * 0.5) / (to * 0.5 - from * 0.5);
    if (!(t > 0.0)) return 0.0;  // also a NaN from ends too close to halve apart
    return t < 1.0 ? t : 1.0;
}

// The point a fraction t (0 .. 1) of the way from a to b, as a weighted mean kept
// between a and b: finite where a + (b - a) * t would overflow.
inline double weightedBetween(double a, double b, double t) {
    return std::clamp(a * (1.0 - t) + b * t, std::min(a, b), std::max(a, b));
}

}  // namespace corvelt
