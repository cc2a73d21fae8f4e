#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "model/Color.h"
#include "model/ShellModel.h"
#include "render/LegendOptions.h"

namespace corvelt {

// The bands the contour of one frame is cut into, lowest first: band h lies between
// entry h and entry h + 1 and is painted in colour h. The legend's bands, and with
// a fixed range one band below it and one above.
struct BandLimits {
    static constexpr int maxBands = LegendOptions::maxBands + 2;
    // The limits of the classic nine bands.
    static constexpr std::size_t count = ShellModel::colorCount + 1;

    int bandCount = ShellModel::colorCount;
    std::array<double, maxBands + 1> values{};
    std::array<Rgb, maxBands> colours = classicColours();
    // True when no limit is below its predecessor, which lets the band cut skip the
    // bands that miss a triangle instead of testing each one.
    bool nonDecreasing = true;

    double operator[](std::size_t i) const { return values[i]; }
    // The limits of the classic nine bands, for comparing.
    std::array<double, count> classicLimits() const {
        std::array<double, count> limits{};
        std::copy_n(values.begin(), count, limits.begin());
        return limits;
    }

  private:
    static constexpr std::array<Rgb, maxBands> classicColours() {
        std::array<Rgb, maxBands> colours{};
        for (std::size_t band = 0; band < contourColorRefs.size(); ++band)
            colours[band] = fromColorRef(contourColorRefs[band]);
        return colours;
    }
};

}  // namespace corvelt
