#pragma once

#include "model/ElementStressBlock.h"

namespace corvelt {

// The principal stresses of one stress tensor, largest first, and the stress
// intensity P1 - P3 worked out before the scale of the tensor is put back, so that it
// is exact even where P1 and P3 are near the ends of the double range.
struct PrincipalStresses {
    double p1 = 0.0;
    double p2 = 0.0;
    double p3 = 0.0;
    double intensity = 0.0;
};

// The eigenvalues of [[Sx, Txy, Txz], [Txy, Sy, Tyz], [Txz, Tyz, Sz]] from the first six
// components of the record (its Se is not read). Within 1e-12 of the largest entry's
// magnitude for every finite tensor, repeated roots included; never NaN, and values
// beyond the double range stop at the largest double of their sign.
PrincipalStresses principalStresses(const StressRecord& stress);

// The von Mises stress of the record's six components,
// sqrt(((Sx-Sy)^2 + (Sy-Sz)^2 + (Sz-Sx)^2) / 2 + 3 (Txy^2 + Txz^2 + Tyz^2)): the plain
// formula's bits for ordinary magnitudes, scaled where squares would overflow or
// underflow; at most the largest double.
double vonMisesStress(const StressRecord& stress);

}  // namespace corvelt
