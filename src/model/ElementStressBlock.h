#pragma once

#include <array>

#include "model/StressComponent.h"

namespace corvelt {

// The seven components at one corner on one surface, in StressComponent order.
using StressRecord = std::array<double, stressComponentCount>;

// Stresses of one element: two surfaces (the first line of a corner in the result
// file fills surface 0, the second surface 1), four corners each.
struct ElementStressBlock {
    std::array<std::array<StressRecord, 4>, 2> surfaces{};

    double value(int surface, int corner, int component) const {
        return surfaces[surface][corner][component];
    }
};

}  // namespace corvelt
