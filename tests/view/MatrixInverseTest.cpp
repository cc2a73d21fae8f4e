// The 4x4 inverse with full pivoting and the view-to-world mapping built on it.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "view/Matrix4.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "entry " << i;
}

Matrix4 transposed(const Matrix4& m) {
    Matrix4 t{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t[4 * c + r] = m[4 * r + c];
    return t;
}

TEST(InvertMatrix4, IdentityIsItsOwnInverse) {
    const std::optional<Matrix4> inverse = invertMatrix4(identityMatrix());
    ASSERT_TRUE(inverse);
    EXPECT_EQ(*inverse, identityMatrix());
}

TEST(InvertMatrix4, PermutationNeedsRowAndColumnExchanges) {
    // Every pivot search ties at 1, and the first 1 in row-major order is off the diagonal.
    const Matrix4 permutation{0, 0, 1, 0,  //
                              1, 0, 0, 0,  //
                              0, 0, 0, 1,  //
                              0, 1, 0, 0};
    const std::optional<Matrix4> inverse = invertMatrix4(permutation);
    ASSERT_TRUE(inverse);
    EXPECT_EQ(*inverse, transposed(permutation));
}

TEST(InvertMatrix4, TiedMagnitudesGiveTheExactInverse) {
    // A Hadamard matrix: every entry is +-1, so every pivot search is a tie.
    const Matrix4 hadamard{1, 1,  1,  1,   //
                           1, -1, 1,  -1,  //
                           1, 1,  -1, -1,  //
                           1, -1, -1, 1};
    const std::optional<Matrix4> inverse = invertMatrix4(hadamard);
    ASSERT_TRUE(inverse);
    Matrix4 expected = hadamard;  // symmetric, and H * H = 4 I
    for (double& entry : expected)
        entry *= 0.25;
    expectMatrixNear(*inverse, expected, 1e-15);
}

TEST(InvertMatrix4, RandomScrambledMatricesRoundTrip) {
    // Dominant entries spread over the matrix so that the pivots wander off the diagonal.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> entry(-1.0, 1.0);
    const int columnOfRow[4] = {2, 0, 3, 1};
    for (int trial = 0; trial < 200; ++trial) {
        Matrix4 m;
        for (double& value : m)
            value = entry(random);
        for (int r = 0; r < 4; ++r)
            m[4 * r + columnOfRow[(r + trial) % 4]] += 4.0 + r;
        const std::optional<Matrix4> inverse = invertMatrix4(m);
        ASSERT_TRUE(inverse) << "trial " << trial;
        expectMatrixNear(multiply(m, *inverse), identityMatrix(), 1e-13);
    }
}

TEST(InvertMatrix4, SingularMatricesGiveNoResultAndLeaveTheSource) {
    const Matrix4 zeroRow{1, 2, 3, 4,  //
                          0, 0, 0, 0,  //
                          5, 6, 7, 8,  //
                          9, 1, 2, 3};
    const Matrix4 zeroRowCopy = zeroRow;
    EXPECT_FALSE(invertMatrix4(zeroRow));
    EXPECT_EQ(zeroRow, zeroRowCopy);

    const Matrix4 dependentRows{1, 2, 3, 4,  //
                                2, 4, 6, 8,  //
                                0, 1, 0, 1,  //
                                1, 0, 1, 0};
    EXPECT_FALSE(invertMatrix4(dependentRows));

    EXPECT_FALSE(invertMatrix4(Matrix4{}));
}

TEST(InvertMatrix4, RoundingLeftOverFromDependentRowsStillCountsAsSingular) {
    // Row 2 is a blend of rows 0 and 1; elimination leaves a pivot of rounding size,
    // not an exact zero, which must not be inverted into huge entries.
    for (const double angle : {0.1, 0.37, 0.9, 1.3}) {
        ViewCamera camera;
        camera.buildViewMatrix(angle, angle * 0.7);
        Matrix4 m = camera.viewMatrix;
        for (int c = 0; c < 3; ++c)
            m[8 + c] = m[c] * 0.3 + m[4 + c] * 0.7;
        EXPECT_FALSE(invertMatrix4(m)) << "angle " << angle;
    }
}

TEST(ScreenToWorld, ReturnsTheWorldPointOfItsFullViewPoint) {
    ViewCamera camera;
    camera.buildViewMatrix(std::acos(-1.0) * 0.25, std::acos(-1.0) * 0.1958888888888889);
    camera.worldMinX = 10;
    camera.worldMaxX = 20;
    camera.worldMaxY = 4;
    rotateAboutScreenY(camera, 0.3);
    rotateAboutScreenX(camera, -0.7);

    for (const Point3D world : {Point3D{0, 0, 0}, Point3D{15, 2, -3}, Point3D{-1e3, 250.5, 1e-3}}) {
        const Point3D view = transformPoint(camera.viewMatrix, world);
        const std::optional<Point3D> back = screenToWorld(view, camera);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, world.x, 1e-12 * (1 + std::fabs(world.x)));
        EXPECT_NEAR(back->y, world.y, 1e-12 * (1 + std::fabs(world.x)));
        EXPECT_NEAR(back->z, world.z, 1e-12 * (1 + std::fabs(world.x)));
    }
}

TEST(ScreenToWorld, DepthOfTheViewPointMatters) {
    ViewCamera camera;
    camera.buildViewMatrix(0.0, 0.0);  // from +x: depth = x - 1
    const std::optional<Point3D> world = screenToWorld({2, 3, 4}, camera);
    ASSERT_TRUE(world);
    EXPECT_NEAR(world->x, 5.0, 1e-15);
    EXPECT_NEAR(world->y, 2.0, 1e-15);
    EXPECT_NEAR(world->z, 3.0, 1e-15);
}

}  // namespace
}  // namespace corvelt
