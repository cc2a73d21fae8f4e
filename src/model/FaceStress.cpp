#include "model/FaceStress.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "model/PrincipalStress.h"
#include "model/StressQuantity.h"

namespace corvelt {

namespace {

// (a - b) / 2 without overflow.
double halfDifference(double a, double b) {
    const double difference = a - b;
    if (std::isfinite(difference)) [[likely]]
        return difference * 0.5;
    return a * 0.5 - b * 0.5;
}

double mean(double a, double b) {
    return std::midpoint(a, b);
}

// Se only where it is asked for: the other quantities do not read it.
template <typename Combine>
StressRecord combined(const StressRecord& first, const StressRecord& second, Combine combine,
                      bool withSe = true) {
    StressRecord result{};
    for (int c = 0; c < Se; ++c)
        result[c] = combine(first[c], second[c]);
    if (withSe) result[Se] = vonMisesStress(result);
    return result;
}

}  // namespace

StressRecord membraneStress(const StressRecord& first, const StressRecord& second) {
    return combined(first, second, mean);
}

StressRecord bendingStress(const StressRecord& first, const StressRecord& second) {
    return combined(first, second, halfDifference);
}

double quantityOf(const StressRecord& stress, int quantity) {
    if (!isDerivedQuantity(quantity)) return stress[quantity];
    const PrincipalStresses principal = principalStresses(stress);
    switch (quantity) {
        case P1:
            return principal.p1;
        case P2:
            return principal.p2;
        case P3:
            return principal.p3;
        default:
            return principal.intensity;
    }
}

std::array<double, 2> faceValues(const ElementStressBlock& block, int corner, int quantity,
                                 ShellFace face) {
    const StressRecord& first = block.surfaces[0][corner];
    const StressRecord& second = block.surfaces[1][corner];
    const auto twice = [](double v) { return std::array<double, 2>{v, v}; };
    switch (face) {
        case ShellFace::facing:
            return {quantityOf(first, quantity), quantityOf(second, quantity)};
        case ShellFace::surface1:
            return twice(quantityOf(first, quantity));
        case ShellFace::surface2:
            return twice(quantityOf(second, quantity));
        case ShellFace::membrane:
            return twice(quantityOf(combined(first, second, mean, quantity == Se), quantity));
        case ShellFace::bending:
            return twice(
                quantityOf(combined(first, second, halfDifference, quantity == Se), quantity));
        case ShellFace::envelope:
            return twice(std::max(quantityOf(first, quantity), quantityOf(second, quantity)));
    }
    return {};
}

}  // namespace corvelt
