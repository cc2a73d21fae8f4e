#include "model/PrincipalStress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>
#include <numbers>

#include "base/FiniteArithmetic.h"

namespace corvelt {

namespace {

// The six independent entries in the order xx, yy, zz, xy, xz, yz.
using Tensor = std::array<double, 6>;

Tensor tensorOf(const StressRecord& s) {
    return {s[Sx], s[Sy], s[Sz], s[Txy], s[Txz], s[Tyz]};
}

double largestMagnitude(const Tensor& t) {
    double m = 0.0;
    for (const double v : t)
        m = std::max(m, std::fabs(v));
    return m;
}

// Multiplying by a power of two is exact (unless the result leaves the normal range,
// where it rounds as ldexp would) and much quicker than ldexp.
class ScaleByTwo {
  public:
    // The scale that brings m (> 0) into [1, 2).
    static ScaleByTwo toUnit(double m) {
        const int exponent = std::ilogb(m);
        // 2^-exponent and 2^exponent are both normal doubles inside these bounds.
        if (exponent > -1000 && exponent < 1000)
            return {exponent, power(-exponent), power(exponent)};
        return {exponent, 0.0, 0.0};
    }
    double down(double v) const { return fast() ? v * down_ : std::ldexp(v, -exponent_); }
    double up(double v) const { return fast() ? v * up_ : std::ldexp(v, exponent_); }

  private:
    ScaleByTwo(int exponent, double down, double up) : exponent_(exponent), down_(down), up_(up) {}
    static double power(int exponent) {
        return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
    }
    bool fast() const { return down_ != 0.0; }

    int exponent_;
    double down_;
    double up_;
};

std::array<double, 3> descending(double a, double b, double c) {
    if (a < b) std::swap(a, b);
    if (b < c) std::swap(b, c);
    if (a < b) std::swap(a, b);
    return {a, b, c};
}

// A 2 x 2 block [[a, off], [off, b]] beside an entry that stands alone: the closed
// form is exact to rounding for every pair of roots.
std::array<double, 3> withTwoByTwoBlock(double a, double b, double off, double alone) {
    const double mean = 0.5 * (a + b);
    const double radius = std::hypot(0.5 * (a - b), off);
    return descending(mean + radius, mean - radius, alone);
}

// Below this distance of cos(3 phi) from +-1 two roots lie so close that the angle,
// and with it the closed form's two near roots, lose more than the accuracy we give.
constexpr double nearRepeatedRoots = 1e-3;

// The trigonometric solution of the characteristic cubic for a tensor scaled to a
// largest entry in [1, 2). False where two roots nearly coincide.
bool closedForm(const Tensor& t, std::array<double, 3>& roots) {
    const double trace = t[0] + t[1] + t[2];
    const double q = trace / 3.0;
    const double d0 = t[0] - q, d1 = t[1] - q, d2 = t[2] - q;
    const double p2 =
        (d0 * d0 + d1 * d1 + d2 * d2 + 2.0 * (t[3] * t[3] + t[4] * t[4] + t[5] * t[5])) / 6.0;
    if (p2 == 0.0) {
        roots = {q, q, q};
        return true;
    }
    const double p = std::sqrt(p2);
    const double b0 = d0 / p, b1 = d1 / p, b2 = d2 / p;
    const double bxy = t[3] / p, bxz = t[4] / p, byz = t[5] / p;
    const double determinant =
        b0 * (b1 * b2 - byz * byz) - bxy * (bxy * b2 - byz * bxz) + bxz * (bxy * byz - b1 * bxz);
    const double r = 0.5 * determinant;
    if (!(std::fabs(r) < 1.0 - nearRepeatedRoots)) return false;
    const double phi = std::acos(r) / 3.0;
    const double c = std::cos(phi);
    const double s = std::sin(phi);
    const double largest = q + 2.0 * p * c;
    // 2 cos(phi + 2 pi / 3) = -(cos phi + sqrt(3) sin phi)
    const double smallest = q - p * (c + std::numbers::sqrt3 * s);
    roots = descending(largest, trace - largest - smallest, smallest);
    return true;
}

// Cyclic Jacobi rotations in extended precision: slow, but exact to far below our
// bound also where roots coincide.
std::array<double, 3> jacobi(const Tensor& t) {
    long double a[3][3] = {{t[0], t[3], t[4]}, {t[3], t[1], t[5]}, {t[4], t[5], t[2]}};
    long double norm = 0.0L;
    for (const auto& row : a)
        for (const long double v : row)
            norm += v * v;
    const long double negligible = norm * 1e-40L;
    constexpr int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (int sweep = 0; sweep < 32; ++sweep) {
        const long double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off <= negligible) break;
        for (const auto& [p, q] : pairs) {
            const long double apq = a[p][q];
            if (apq == 0.0L) continue;
            const long double theta = (a[q][q] - a[p][p]) / (2.0L * apq);
            // The smaller rotation angle; tan = 1 / (2 theta) once theta^2 would overflow.
            const long double tangent =
                std::fabs(theta) > 1e300L
                    ? 0.5L / theta
                    : std::copysign(1.0L, theta) /
                          (std::fabs(theta) + std::sqrt(theta * theta + 1.0L));
            const long double c = 1.0L / std::sqrt(tangent * tangent + 1.0L);
            const long double s = tangent * c;
            a[p][p] -= tangent * apq;
            a[q][q] += tangent * apq;
            a[p][q] = a[q][p] = 0.0L;
            const int r = 3 - p - q;
            const long double arp = a[r][p];
            const long double arq = a[r][q];
            a[r][p] = a[p][r] = c * arp - s * arq;
            a[r][q] = a[q][r] = s * arp + c * arq;
        }
    }
    return descending(static_cast<double>(a[0][0]), static_cast<double>(a[1][1]),
                      static_cast<double>(a[2][2]));
}

std::array<double, 3> rootsOfScaled(const Tensor& t) {
    const bool xy = t[3] != 0.0, xz = t[4] != 0.0, yz = t[5] != 0.0;
    // Shells are mostly in plane stress, and often in a coordinate plane: a tensor
    // with at most one shear entry splits into a block and a diagonal entry.
    if (!xz && !yz) return withTwoByTwoBlock(t[0], t[1], t[3], t[2]);
    if (!xy && !yz) return withTwoByTwoBlock(t[0], t[2], t[4], t[1]);
    if (!xy && !xz) return withTwoByTwoBlock(t[1], t[2], t[5], t[0]);
    std::array<double, 3> roots;
    if (closedForm(t, roots)) return roots;
    return jacobi(t);
}

}  // namespace

PrincipalStresses principalStresses(const StressRecord& stress) {
    Tensor t = tensorOf(stress);
    const double m = largestMagnitude(t);
    if (m == 0.0) return {};
    // Scaled by a power of two to a largest entry in [1, 2): no square can overflow or
    // underflow, and the scale comes off exactly.
    const ScaleByTwo scale = ScaleByTwo::toUnit(m);
    for (double& v : t)
        v = scale.down(v);
    const std::array<double, 3> roots = rootsOfScaled(t);
    const auto unscaled = [&scale](double v) { return clampToFinite(scale.up(v)); };
    return {unscaled(roots[0]), unscaled(roots[1]), unscaled(roots[2]),
            unscaled(roots[0] - roots[2])};
}

double vonMisesStress(const StressRecord& stress) {
    const auto formula = [](const Tensor& t) {
        const double dxy = t[0] - t[1], dyz = t[1] - t[2], dzx = t[2] - t[0];
        return std::sqrt(0.5 * (dxy * dxy + dyz * dyz + dzx * dzx) +
                         3.0 * (t[3] * t[3] + t[4] * t[4] + t[5] * t[5]));
    };
    Tensor t = tensorOf(stress);
    const double m = largestMagnitude(t);
    if (m == 0.0 || (m > 1e-140 && m < 1e140)) [[likely]]
        return formula(t);
    const ScaleByTwo scale = ScaleByTwo::toUnit(m);
    for (double& v : t)
        v = scale.down(v);
    return clampToFinite(scale.up(formula(t)));
}

}  // namespace corvelt
