#include <gtest/gtest.h>

#include <cmath>

#include "RenderFixtures.h"
#include "render/PolygonFill.h"
#include "render/RecordingCanvas.h"
#include "render/Shading.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::squareRow;
using testing::topCamera;

// One unit square centred on the origin in the plane z = 0, seen from +z.
class Lighting : public ::testing::Test {
  protected:
    Lighting() : camera(topCamera(100, {0, 0}, {400, 300})) {
        ResultData data = squareRow(1);
        for (Point3D& p : data.nodes)
            p = p - Point3D{0.5, 0.5, 0};
        model = adopt(std::move(data), camera);
    }
    ViewCamera camera;
    ShellModel model;
};

TEST_F(Lighting, TheLightStandsOneDiagonalInFrontOfTheCameraCentre) {
    const auto light = placeLight(model, camera);
    ASSERT_TRUE(light.has_value());
    EXPECT_NEAR(light->x, 0, 1e-12);
    EXPECT_NEAR(light->y, 0, 1e-12);
    EXPECT_NEAR(light->z, std::sqrt(2.0), 1e-12);

    camera.centerX = 3;  // a pan moves the light along
    EXPECT_NEAR(placeLight(model, camera)->x, 3, 1e-12);
}

TEST_F(Lighting, FacingTheLightSquarelyWithTheReflectionAtTheViewerIsFullBrightness) {
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, placeLight(model, camera), 0), 1.0);
}

TEST_F(Lighting, ALightBehindThePlaneLeavesOnlyTheAmbientShare) {
    // The diffuse term comes out negative, so the specular term is dropped too.
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, Point3D{0, 0, -1}, 0), 1.0 / 11.0);
}

TEST_F(Lighting, AnObliqueLightGivesAFactorBetweenTheExtremes) {
    const double factor = shadingFactor(model, camera, Point3D{3, 0, 1}, 0);
    EXPECT_GT(factor, 1.0 / 11.0);
    EXPECT_LT(factor, 1.0);
}

TEST_F(Lighting, WithoutALightNothingIsDarkened) {
    EXPECT_EQ(shadingFactor(model, camera, std::nullopt, 0), 1.0);
}

TEST_F(Lighting, TheNormalIsTurnedTowardTheViewer) {
    EXPECT_EQ(elementNormal(model, camera, 0).z, 1.0);
    camera.viewMatrix = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};  // seen from -z
    EXPECT_EQ(elementNormal(model, camera, 0).z, -1.0);
}

TEST_F(Lighting, MirrorAndCentroid) {
    const Point3D image = mirrorPoint(model, {1, 2, 3}, 0);
    EXPECT_DOUBLE_EQ(image.x, 1);
    EXPECT_DOUBLE_EQ(image.y, 2);
    EXPECT_DOUBLE_EQ(image.z, -3);
    const Point3D centre = elementCentroid(model, 0);
    EXPECT_EQ(centre.x, 0);
    EXPECT_EQ(centre.y, 0);
}

TEST(LightingDegenerate, AnElementWithoutAPlaneGetsTheAmbientShare) {
    ResultData data = squareRow(1);
    data.nodes[3] = data.nodes[0];  // corners 0, 1 and 3 no longer span a plane
    const ViewCamera camera = topCamera(100, {0, 0}, {400, 300});
    ShellModel model = adopt(std::move(data), camera);
    const Point3D n = elementNormal(model, camera, 0);
    EXPECT_EQ(dot(n, n), 0.0);
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, placeLight(model, camera), 0), 1.0 / 11.0);
}

TEST(PolygonFills, ScaleEachChannelAndCutTowardZero) {
    RecordingCanvas canvas(10, 10);
    ScreenPolygon triangle;
    triangle.push({0, 0});
    triangle.push({5, 0});
    triangle.push({0, 5});
    fillShadedPolygon(canvas, triangle, {255, 215, 0}, 0.5);
    fillShadedPolygon(canvas, triangle, {255, 215, 0}, 1.0);
    fillShadedPolygon(canvas, triangle, {255, 255, 255}, 1.0 / 11.0);
    ASSERT_EQ(canvas.calls().size(), 3u);
    EXPECT_EQ(canvas.calls()[0].colour, (Rgb{127, 107, 0}));
    EXPECT_EQ(canvas.calls()[1].colour, (Rgb{255, 215, 0}));
    EXPECT_EQ(canvas.calls()[2].colour, (Rgb{23, 23, 23}));
}

TEST(PolygonFills, FewerThanThreeCornersFillNothing) {
    RecordingCanvas canvas(10, 10);
    ScreenPolygon segment;
    segment.push({0, 0});
    segment.push({5, 5});
    fillPolygon(canvas, segment, {1, 2, 3});
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace corvelt
