#pragma once

#include <cmath>

namespace corvelt {

// The von Mises equivalent stress of a symmetric stress tensor, in double.
inline double vonMises(double sx, double sy, double sz, double txy, double tyz, double tzx) {
    const double dxy = sx - sy;
    const double dyz = sy - sz;
    const double dzx = sz - sx;
    return std::sqrt(0.5 * (dxy * dxy + dyz * dyz + dzx * dzx) +
                     3.0 * (txy * txy + tyz * tyz + tzx * tzx));
}

}  // namespace corvelt
