// Arrow-key rotations about the screen axes, the rotation about a line and the
// frame rebuilding that keeps the view matrix orthonormal.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TestMeshes.h"
#include "view/Matrix4.h"
#include "view/Projection.h"
#include "view/Rotation.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

const double pi = std::acos(-1.0);
const double step = pi * (1.0 / 36);  // one arrow key

Point3D row(const Matrix4& m, int r) {
    return {m[4 * r], m[4 * r + 1], m[4 * r + 2]};
}

void expectNear(Point3D actual, Point3D expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "entry " << i;
}

void expectRightHandedOrthonormal(const Matrix4& m, double tolerance) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(length(row(m, r)), 1.0, tolerance) << "row " << r;
    EXPECT_NEAR(dot(row(m, 0), row(m, 1)), 0.0, tolerance);
    EXPECT_NEAR(dot(row(m, 1), row(m, 2)), 0.0, tolerance);
    EXPECT_NEAR(dot(row(m, 2), row(m, 0)), 0.0, tolerance);
    expectNear(cross(row(m, 0), row(m, 1)), row(m, 2), tolerance);
    EXPECT_EQ(m[3], 0.0);
    EXPECT_EQ(m[7], 0.0);
    EXPECT_EQ(m[11], 0.0);
    EXPECT_EQ(m[15], 1.0);
}

// A camera at the start view looking at a box away from the world origin, fitted
// to an 800 x 600 client and then zoomed and panned a little.
struct StartView {
    ShellModel model;
    ViewCamera camera;

    StartView() {
        testing::MeshBuilder mesh;
        mesh.addQuad({10, 20, 5}, {14, 20, 5}, {14, 23, 5}, {10, 23, 5});
        mesh.addQuad({10, 20, 7}, {14, 20, 7}, {14, 23, 8}, {10, 23, 8});
        model = testing::modelOf(mesh.take());
        copyWorldBox(model, camera);
        setViewAngles(model, camera, pi * 0.25, pi * 0.1958888888888889);
        resizeView(model, camera, 800, 600);
        camera.zoomAtPoint({300, 200}, true);
        camera.panBy(17, -9);
    }
};

// --- Rotation about a line ---

TEST(AxisRotationMatrix, TurnsCounterClockwiseSeenFromTheAxisTip) {
    const double angle = 0.3;
    const Matrix4 r = axisRotationMatrix({0, 0, 0}, {0, 0, 1}, angle);
    expectNear(transformPoint(r, {1, 0, 0}), {std::cos(angle), std::sin(angle), 0}, 1e-15);
    expectNear(transformPoint(r, {0, 1, 0}), {-std::sin(angle), std::cos(angle), 0}, 1e-15);
    expectNear(transformPoint(r, {0, 0, 1}), {0, 0, 1}, 1e-15);
}

TEST(AxisRotationMatrix, FollowsTheRightHandRuleAboutEveryAxis) {
    const double quarter = pi / 2;
    // About +x: y turns to z; about +y: z turns to x.
    expectNear(transformPoint(axisRotationMatrix({0, 0, 0}, {2, 0, 0}, quarter), {0, 1, 0}),
               {0, 0, 1}, 1e-15);
    expectNear(transformPoint(axisRotationMatrix({0, 0, 0}, {0, 5, 0}, quarter), {0, 0, 1}),
               {1, 0, 0}, 1e-15);
    // Reversing the axis reverses the turn.
    expectNear(transformPoint(axisRotationMatrix({0, 0, 1}, {0, 0, 0}, quarter), {1, 0, 0}),
               {0, -1, 0}, 1e-15);
}

TEST(AxisRotationMatrix, KeepsPointsOnTheLineAndTurnsOthersAboutIt) {
    const Point3D a{1, 2, 3};
    const Point3D b{2, 3, 4};  // an oblique line
    const Matrix4 r = axisRotationMatrix(a, b, 1.1);
    expectNear(transformPoint(r, a), a, 1e-14);
    expectNear(transformPoint(r, a + (b - a) * 2.5), a + (b - a) * 2.5, 1e-14);

    const Point3D p{4, -1, 0.5};
    const Point3D q = transformPoint(r, p);
    const Point3D u = (b - a) * (1 / length(b - a));
    // Same distance from the line and same position along it.
    EXPECT_NEAR(dot(q - a, u), dot(p - a, u), 1e-13);
    EXPECT_NEAR(length(cross(q - a, u)), length(cross(p - a, u)), 1e-13);
    // Turned by the angle about the line.
    const Point3D pPerp = (p - a) - u * dot(p - a, u);
    const Point3D qPerp = (q - a) - u * dot(q - a, u);
    EXPECT_NEAR(std::atan2(dot(cross(pPerp, qPerp), u), dot(pPerp, qPerp)), 1.1, 1e-13);
}

// --- Frame rebuilding ---

TEST(OrthonormalizeFrame, KeepsXAndMakesYPerpendicularInTheSamePlane) {
    const Point3D origin{1, 1, 1};
    const Point3D xPoint = origin + Point3D{2, 0, 0};
    Point3D yPoint = origin + Point3D{1, 3, 0};  // leans toward x
    Point3D zPoint{99, 99, 99};                  // never read
    EXPECT_TRUE(orthonormalizeFrame(origin, xPoint, yPoint, zPoint));

    const Point3D x = xPoint - origin, y = yPoint - origin, z = zPoint - origin;
    EXPECT_NEAR(dot(x, y), 0.0, 1e-15);
    EXPECT_NEAR(dot(x, z), 0.0, 1e-15);
    EXPECT_NEAR(dot(y, z), 0.0, 1e-15);
    EXPECT_NEAR(y.z, 0.0, 1e-15);  // still in the plane of x and the old y
    EXPECT_GT(y.y, 0.0);           // on the old y's side of x
    EXPECT_GT(z.z, 0.0);           // right-handed
}

// --- Arrow-key rotations ---

TEST(ScreenRotation, SeventyTwoStepsMakeAFullTurn) {
    for (const auto rotate : {rotateAboutScreenX, rotateAboutScreenY}) {
        StartView view;
        const Matrix4 start = view.camera.viewMatrix;
        for (int press = 0; press < 72; ++press)
            rotate(view.camera, step);
        expectMatrixNear(view.camera.viewMatrix, start, 1e-9);
    }
}

TEST(ScreenRotation, OppositeStepsRestoreTheView) {
    StartView view;
    const Matrix4 start = view.camera.viewMatrix;
    rotateAboutScreenY(view.camera, step);   // Right
    rotateAboutScreenY(view.camera, -step);  // Left
    expectMatrixNear(view.camera.viewMatrix, start, 1e-12);
    rotateAboutScreenX(view.camera, step);   // Down
    rotateAboutScreenX(view.camera, -step);  // Up
    expectMatrixNear(view.camera.viewMatrix, start, 1e-12);
}

TEST(ScreenRotation, ManyMixedStepsKeepTheFrameAndTheBoxCentreInPlace) {
    StartView view;
    const ViewCamera before = view.camera;
    const Point3D pivot = transformPoint(view.camera.viewMatrix, view.camera.worldBoxCenter());
    const Pixel pivotPixel = view.camera.viewToPixel(pivot.x, pivot.y);

    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> key(0, 3);
    for (int press = 0; press < 10000; ++press) {
        switch (key(random)) {
            case 0:
                rotateAboutScreenX(view.camera, -step);
                break;
            case 1:
                rotateAboutScreenX(view.camera, step);
                break;
            case 2:
                rotateAboutScreenY(view.camera, -step);
                break;
            default:
                rotateAboutScreenY(view.camera, step);
                break;
        }
    }

    expectRightHandedOrthonormal(view.camera.viewMatrix, 1e-13);
    const Point3D pivotAfter = transformPoint(view.camera.viewMatrix, view.camera.worldBoxCenter());
    expectNear(pivotAfter, pivot, 1e-9);
    EXPECT_EQ(view.camera.viewToPixel(pivotAfter.x, pivotAfter.y), pivotPixel);
    EXPECT_EQ(view.camera.scale, before.scale);
    EXPECT_EQ(view.camera.originX, before.originX);
    EXPECT_EQ(view.camera.originY, before.originY);
    EXPECT_EQ(view.camera.centerX, before.centerX);
    EXPECT_EQ(view.camera.centerY, before.centerY);
    EXPECT_EQ(view.camera.alpha, before.alpha);
    EXPECT_EQ(view.camera.beta, before.beta);
}

TEST(ScreenRotation, RepairsASlightlyShearedMatrix) {
    StartView view;
    view.camera.viewMatrix[1] += 1e-3;  // shear and stretch row 0
    view.camera.viewMatrix[8] *= 1.01;
    rotateAboutScreenY(view.camera, step);
    expectRightHandedOrthonormal(view.camera.viewMatrix, 1e-15);
}

TEST(ScreenRotation, DownBringsTheTopTowardTheViewer) {
    StartView view;
    const Point3D top{12, 21.5, 8};  // above the box centre (12, 21.5, 6.5)
    const Point3D bottom{12, 21.5, 5};
    const double topDepth = view.camera.viewDepth(top);
    const double bottomDepth = view.camera.viewDepth(bottom);
    rotateAboutScreenX(view.camera, step);
    EXPECT_GT(view.camera.viewDepth(top), topDepth);
    EXPECT_LT(view.camera.viewDepth(bottom), bottomDepth);
}

TEST(ScreenRotation, RightBringsTheNearSideToTheRight) {
    StartView view;
    // The point nearest the viewer straight in front of the box centre.
    const Point3D nearPoint = view.camera.worldBoxCenter() + view.camera.viewAxis() * 3.0;
    const double xBefore = transformPoint(view.camera.viewMatrix, nearPoint).x;
    rotateAboutScreenY(view.camera, step);
    EXPECT_GT(transformPoint(view.camera.viewMatrix, nearPoint).x, xBefore);
}

}  // namespace
}  // namespace corvelt
