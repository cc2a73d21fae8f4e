#pragma once

#include <array>
#include <cstddef>

#include "model/ShellModel.h"

namespace corvelt {

// The limits of the contour bands of one frame, lowest first: band h lies between
// entry h and entry h + 1 and is painted in colour h.
struct BandLimits {
    static constexpr std::size_t count = ShellModel::colorCount + 1;

    std::array<double, count> values{};
    // True when no limit is below its predecessor, which lets the band cut skip the
    // bands that miss a triangle instead of testing each one.
    bool nonDecreasing = true;

    double operator[](std::size_t i) const { return values[i]; }
};

}  // namespace corvelt
