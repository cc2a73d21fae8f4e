#include "model/PrincipalStress.h"

#include <gtest/gtest.h>

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace corvelt {
namespace {

using Matrix = Eigen::Matrix<long double, 3, 3>;

StressRecord record(double sx, double sy, double sz, double txy, double txz, double tyz) {
    return {sx, sy, sz, txy, txz, tyz, 0.0};
}

// An independent solver in extended precision on the very entries we hand ours.
std::array<long double, 3> referenceRoots(const StressRecord& s) {
    Matrix a;
    a << s[Sx], s[Txy], s[Txz], s[Txy], s[Sy], s[Tyz], s[Txz], s[Tyz], s[Sz];
    const Eigen::SelfAdjointEigenSolver<Matrix> solver(a, Eigen::EigenvaluesOnly);
    const auto& values = solver.eigenvalues();  // ascending
    return {values[2], values[1], values[0]};
}

double largestEntry(const StressRecord& s) {
    double m = 0.0;
    for (int c = 0; c < Se; ++c)
        m = std::max(m, std::fabs(s[c]));
    return m;
}

// Within 1e-12 of the largest entry, ordered, finite.
void expectAccurate(const StressRecord& s, const std::string& what) {
    const PrincipalStresses p = principalStresses(s);
    const auto ref = referenceRoots(s);
    const long double bound = 1e-12L * largestEntry(s);
    EXPECT_LE(std::fabs(p.p1 - ref[0]), bound) << what;
    EXPECT_LE(std::fabs(p.p2 - ref[1]), bound) << what;
    EXPECT_LE(std::fabs(p.p3 - ref[2]), bound) << what;
    EXPECT_LE(std::fabs(p.intensity - (ref[0] - ref[2])), 2 * bound) << what;
    EXPECT_TRUE(p.p1 >= p.p2 && p.p2 >= p.p3) << what;
}

// Q diag(roots) Q^T for a rotation from three angles, rounded to doubles.
StressRecord rotated(std::array<long double, 3> roots, long double a, long double b,
                     long double c) {
    const Eigen::Matrix<long double, 3, 3> q =
        (Eigen::AngleAxis<long double>(a, Eigen::Matrix<long double, 3, 1>::UnitZ()) *
         Eigen::AngleAxis<long double>(b, Eigen::Matrix<long double, 3, 1>::UnitY()) *
         Eigen::AngleAxis<long double>(c, Eigen::Matrix<long double, 3, 1>::UnitX()))
            .toRotationMatrix();
    const Matrix t = q *
                     Eigen::Matrix<long double, 3, 1>(roots[0], roots[1], roots[2]).asDiagonal() *
                     q.transpose();
    return record(static_cast<double>(t(0, 0)), static_cast<double>(t(1, 1)),
                  static_cast<double>(t(2, 2)), static_cast<double>(t(0, 1)),
                  static_cast<double>(t(0, 2)), static_cast<double>(t(1, 2)));
}

struct TensorCase {
    const char* name;
    StressRecord stress;
    std::array<double, 3> exact;  // where the roots are known exactly
};

class KnownRoots : public ::testing::TestWithParam<TensorCase> {};

TEST_P(KnownRoots, AreFoundExactlyEnough) {
    const TensorCase& c = GetParam();
    const PrincipalStresses p = principalStresses(c.stress);
    const double bound = 1e-12 * largestEntry(c.stress);
    EXPECT_NEAR(p.p1, c.exact[0], bound);
    EXPECT_NEAR(p.p2, c.exact[1], bound);
    EXPECT_NEAR(p.p3, c.exact[2], bound);
    expectAccurate(c.stress, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Tensors, KnownRoots,
    ::testing::Values(
        TensorCase{"zero", record(0, 0, 0, 0, 0, 0), {0, 0, 0}},
        TensorCase{"triple", record(7, 7, 7, 0, 0, 0), {7, 7, 7}},
        TensorCase{"uniaxial", record(0, -5, 0, 0, 0, 0), {0, 0, -5}},
        TensorCase{"pureShearXY", record(0, 0, 0, 4, 0, 0), {4, 0, -4}},
        TensorCase{"pureShearAll", record(0, 0, 0, 1, 1, 1), {2, -1, -1}},
        TensorCase{"repeatedByShear", record(2, 2, 2, 1, 1, 1), {4, 1, 1}},
        TensorCase{"repeatedBelow", record(2, 2, 2, -1, -1, -1), {3, 3, 0}},
        TensorCase{
            "planeStress", record(3, 1, 0, 1, 0, 0), {2 + std::sqrt(2.0), 2 - std::sqrt(2.0), 0}},
        TensorCase{"huge", record(1e300, 1e300, 1e300, 1e300, 1e300, 1e300), {3e300, 0, 0}},
        TensorCase{"tiny", record(0, 0, 0, 1e-300, 1e-300, 1e-300), {2e-300, -1e-300, -1e-300}},
        TensorCase{"subnormal", record(0, 0, 0, 4e-320, 0, 0), {4e-320, 0, -4e-320}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrincipalStresses, AgreeWithTheReferenceOnRandomAndNearlyRepeatedRoots) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<long double> angle(0.0L, 6.3L);
    std::uniform_real_distribution<long double> value(-1.0L, 1.0L);
    std::uniform_int_distribution<int> decade(-14, 0);
    for (int i = 0; i < 20000; ++i) {
        const long double a = value(random);
        // Every fourth tensor two roots apart by 10^-14 .. 1, every eighth all three.
        const long double gap = std::pow(10.0L, decade(random));
        std::array<long double, 3> roots{a, value(random), value(random)};
        if (i % 4 == 0) roots[1] = a + gap;
        if (i % 8 == 0) roots[2] = a - gap;
        const long double scale = std::pow(10.0L, decade(random) * 20);
        for (long double& r : roots)
            r *= scale;
        const StressRecord s = rotated(roots, angle(random), angle(random), angle(random));
        expectAccurate(s, "tensor " + std::to_string(i));
        if (HasFailure()) return;
    }
}

TEST(PrincipalStresses, StopAtTheLargestDoubleInsteadOfOverflowing) {
    const double big = std::numeric_limits<double>::max();
    const PrincipalStresses p = principalStresses(record(big, -big, 0, big, 0, 0));
    EXPECT_EQ(p.p1, big);
    EXPECT_EQ(p.p3, -big);
    EXPECT_EQ(p.intensity, big);
    EXPECT_TRUE(std::isfinite(p.p2));
}

TEST(VonMises, MatchesItsFormulaAtEveryScale) {
    EXPECT_EQ(vonMisesStress(record(5, 0, 0, 0, 0, 0)), 5.0);
    EXPECT_EQ(vonMisesStress(record(3, 3, 3, 0, 0, 0)), 0.0);
    EXPECT_DOUBLE_EQ(vonMisesStress(record(0, 0, 0, 2, 0, 0)), 2 * std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(vonMisesStress(record(1e300, 0, 0, 0, 0, 0)), 1e300);
    EXPECT_DOUBLE_EQ(vonMisesStress(record(-1e-300, 0, 0, 0, 0, 0)), 1e-300);
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(vonMisesStress(record(0, 0, 0, big, big, big)), big);
    // Ordinary magnitudes give the plain formula's bits.
    const double plain =
        std::sqrt(0.5 * ((1.5 - -2.0) * (1.5 - -2.0) + (-2.0 - 0.25) * (-2.0 - 0.25) +
                         (0.25 - 1.5) * (0.25 - 1.5)) +
                  3.0 * (0.1 * 0.1 + 0.2 * 0.2 + 0.3 * 0.3));
    EXPECT_EQ(vonMisesStress(record(1.5, -2.0, 0.25, 0.1, 0.2, 0.3)), plain);
}

}  // namespace
}  // namespace corvelt
