// The view matrix built from two angles: where the world axes land on the screen.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestMeshes.h"
#include "view/Depth.h"
#include "view/Projection.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

const double pi = std::acos(-1.0);

double radians(double degrees) {
    return pi * (degrees / 180);
}

// Column c of the rotational part: the world direction of a view axis
// (0 = screen right, 1 = screen up, 2 = toward the viewer).
Point3D viewAxisInWorld(const Matrix4& m, int c) {
    return {m[c], m[4 + c], m[8 + c]};
}

void expectNear(Point3D actual, Point3D expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(ViewMatrix, ZeroAnglesLookFromPlusXWithDepthShiftedByOne) {
    ViewCamera camera;
    camera.buildViewMatrix(0.0, 0.0);
    const Point3D view = transformPoint(camera.viewMatrix, {1, 2, 3});
    EXPECT_DOUBLE_EQ(view.x, 2.0);
    EXPECT_DOUBLE_EQ(view.y, 3.0);
    EXPECT_DOUBLE_EQ(view.z, 0.0);
}

TEST(ViewMatrix, StartViewStandsWorldZUprightAndForeshortensTheAxesAlike) {
    ViewCamera camera;
    camera.buildViewMatrix(pi * 0.25, pi * 0.1958888888888889);
    const Matrix4& m = camera.viewMatrix;

    // Rows 0..2 are the view images of the world axes; their x, y are what the screen shows.
    const double zx = m[8], zy = m[9];
    EXPECT_NEAR(zx, 0.0, 1e-15);
    EXPECT_GT(zy, 0.0);

    double screenAngle[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double x = m[4 * axis], y = m[4 * axis + 1];
        EXPECT_NEAR(std::hypot(x, y), std::sqrt(2.0 / 3.0), 1e-4) << "axis " << axis;
        screenAngle[axis] = std::atan2(y, x) * 180 / pi;
    }
    const auto apart = [](double a, double b) {
        const double d = std::fabs(a - b);
        return d > 180 ? 360 - d : d;
    };
    EXPECT_NEAR(apart(screenAngle[0], screenAngle[1]), 120.0, 0.05);
    EXPECT_NEAR(apart(screenAngle[1], screenAngle[2]), 120.0, 0.05);
    EXPECT_NEAR(apart(screenAngle[2], screenAngle[0]), 120.0, 0.05);
}

TEST(ViewMatrix, AnglesAreStoredAndNodesProjectedButNothingIsFitted) {
    ShellModel model = testing::modelOf(testing::unitGrid(2, 1));
    ViewCamera camera;
    camera.scale = 3.0;
    camera.originX = 11;
    camera.centerX = 0.5;
    setViewAngles(model, camera, -pi / 2, pi / 2);  // from +z: view x, y = world x, y

    EXPECT_DOUBLE_EQ(camera.alpha, -pi / 2);
    EXPECT_DOUBLE_EQ(camera.beta, pi / 2);
    ASSERT_EQ(model.projectedNodes.size(), model.nodes.size());
    for (std::size_t i = 0; i < model.nodes.size(); ++i) {
        EXPECT_NEAR(model.projectedNodes[i].x, model.nodes[i].x, 1e-15) << "node " << i;
        EXPECT_NEAR(model.projectedNodes[i].y, model.nodes[i].y, 1e-15) << "node " << i;
    }
    EXPECT_EQ(camera.scale, 3.0);
    EXPECT_EQ(camera.originX, 11);
    EXPECT_EQ(camera.centerX, 0.5);
}

TEST(DepthKeys, AreMinusViewDepthSoFartherIsLarger) {
    testing::MeshBuilder mesh;
    mesh.addSquare(0, 0, 1, /*z=*/0.0);
    mesh.addQuad({0, 0, 1}, {1, 0, 1}, {1, 1, 3}, {0, 1, 3});  // centroid z = 2
    ShellModel model = testing::modelOf(mesh.take());
    ViewCamera camera;
    camera.buildViewMatrix(-pi / 2, pi / 2);  // looking down from +z: depth = z - 1

    EXPECT_NEAR(nodeDepth(model, camera, 0), 1.0, 1e-15);
    EXPECT_NEAR(nodeDepth(model, camera, 6), -2.0, 1e-15);
    EXPECT_NEAR(elementDepth(model, camera, 0), 1.0, 1e-15);
    EXPECT_NEAR(elementDepth(model, camera, 1), -1.0, 1e-15);
    EXPECT_LT(elementDepth(model, camera, 1),
              elementDepth(model, camera, 0));  // the upper one is in front
}

// The fourteen standard views: azimuth and elevation in degrees and the world
// directions toward the viewer, screen right and screen up.
struct StandardView {
    std::string name;
    double alphaDegrees;
    double betaDegrees;
    Point3D towardViewer;  // unit direction from the model toward the eye
    bool planeView;        // screen right and up are world axes
    Point3D right;
    Point3D up;
};

void PrintTo(const StandardView& view, std::ostream* out) {
    *out << view.name;
}

class StandardViews : public ::testing::TestWithParam<StandardView> {};

TEST_P(StandardViews, PutTheWorldAxesWhereTheButtonSays) {
    const StandardView& view = GetParam();
    ViewCamera camera;
    camera.buildViewMatrix(radians(view.alphaDegrees), radians(view.betaDegrees));
    const Matrix4& m = camera.viewMatrix;

    // Plane views are exact up to the rounding of sin and cos; diagonal ones use 35.26°,
    // which is the isometric elevation only to four places.
    const double tolerance = view.planeView ? 1e-15 : 1e-4;
    expectNear(viewAxisInWorld(m, 2), view.towardViewer, tolerance);
    if (view.planeView) {
        expectNear(viewAxisInWorld(m, 0), view.right, tolerance);
        expectNear(viewAxisInWorld(m, 1), view.up, tolerance);
    }
    // Right, up and toward the viewer form a right-handed frame; the depth row only shifts by -1.
    expectNear(cross(viewAxisInWorld(m, 0), viewAxisInWorld(m, 1)), viewAxisInWorld(m, 2), 1e-15);
    EXPECT_EQ(m[12], 0.0);
    EXPECT_EQ(m[13], 0.0);
    EXPECT_EQ(m[14], -1.0);
    EXPECT_EQ(m[15], 1.0);
}

constexpr double d = 0.57735026918962576;  // 1 / sqrt(3)

INSTANTIATE_TEST_SUITE_P(
    ViewKitButtons, StandardViews,
    ::testing::Values(StandardView{"XOYplus", -90, 90, {0, 0, 1}, true, {1, 0, 0}, {0, 1, 0}},
                      StandardView{"XOYminus", -90, -90, {0, 0, -1}, true, {1, 0, 0}, {0, -1, 0}},
                      StandardView{"XOZplus", 90, 0, {0, 1, 0}, true, {-1, 0, 0}, {0, 0, 1}},
                      StandardView{"XOZminus", -90, 0, {0, -1, 0}, true, {1, 0, 0}, {0, 0, 1}},
                      StandardView{"YOZplus", 0, 0, {1, 0, 0}, true, {0, 1, 0}, {0, 0, 1}},
                      StandardView{"YOZminus", 180, 0, {-1, 0, 0}, true, {0, -1, 0}, {0, 0, 1}},
                      StandardView{"ENplus", 45, 35.26, {d, d, d}, false, {}, {}},
                      StandardView{"ENminus", 45, -35.26, {d, d, -d}, false, {}, {}},
                      StandardView{"WNplus", 135, 35.26, {-d, d, d}, false, {}, {}},
                      StandardView{"WNminus", 135, -35.26, {-d, d, -d}, false, {}, {}},
                      StandardView{"WSplus", -135, 35.26, {-d, -d, d}, false, {}, {}},
                      StandardView{"WSminus", -135, -35.26, {-d, -d, -d}, false, {}, {}},
                      StandardView{"ESplus", -45, 35.26, {d, -d, d}, false, {}, {}},
                      StandardView{"ESminus", -45, -35.26, {d, -d, -d}, false, {}, {}}),
    [](const ::testing::TestParamInfo<StandardView>& info) { return info.param.name; });

}  // namespace
}  // namespace corvelt
