#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvelt {

// The von Mises equivalent stress of a symmetric stress tensor, in double.
inline double vonMises(double sx, double sy, double sz, double txy, double tyz, double tzx) {
    const auto formula = [](double x, double y, double z, double xy, double yz, double zx) {
        const double dxy = x - y;
        const double dyz = y - z;
        const double dzx = z - x;
        return std::sqrt(0.5 * (dxy * dxy + dyz * dyz + dzx * dzx) +
                         3.0 * (xy * xy + yz * yz + zx * zx));
    };
    const double plain = formula(sx, sy, sz, txy, tyz, tzx);
    if (std::isfinite(plain)) return plain;
    // Components near the end of the double range overflow their squares: the
    // same formula on the components scaled down, stopped at the largest double.
    const double scale = std::max(
        {std::abs(sx), std::abs(sy), std::abs(sz), std::abs(txy), std::abs(tyz), std::abs(tzx)});
    if (!std::isfinite(scale)) return plain;
    const double scaled =
        formula(sx / scale, sy / scale, sz / scale, txy / scale, tyz / scale, tzx / scale);
    return std::min(scaled * scale, std::numeric_limits<double>::max());
}

}  // namespace corvelt
