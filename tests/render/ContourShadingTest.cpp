#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <set>

#include "RenderFixtures.h"
#include "render/PaintContext.h"
#include "render/PolygonFill.h"
#include "render/RecordingCanvas.h"
#include "render/Shading.h"
#include "render/SpanFiller.h"
#include "render/StressContour.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::setSe;
using testing::squareRow;
using testing::topCamera;

TEST(BandLimits, RunFromTheSelectionsMinimumToItsMaximumOverBothSurfaces) {
    ResultData data = squareRow(3);
    setSe(data, 0, 0, {0, 10, 20, 30});
    setSe(data, 1, 1, {40, 90, 50, 60});   // the second surface counts
    setSe(data, 2, 0, {-500, 0, 0, 900});  // not selected: does not count
    ShellModel model = adopt(std::move(data), topCamera(1, {}, {}));
    model.elementSelected[2] = 0;
    BandLimits limits;
    ASSERT_TRUE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits.classicLimits(), (std::array<double, 10>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));

    // The inner limits are a running sum; the top is the maximum itself, although
    // nine steps of 0.1 add up to 0.9999999999999999.
    data = squareRow(1, 0.5);
    setSe(data, 0, 0, {0.1, 1.0, 0.5, 0.5});
    model = adopt(std::move(data), topCamera(1, {}, {}));
    ASSERT_TRUE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits[8], 0.8999999999999999);
    EXPECT_EQ(limits[9], 1.0);

    // Nothing selected, or no stress component: all zero, no contour.
    EXPECT_FALSE(computeBandLimits(model, limits, 7));
    model.elementSelected[0] = 0;
    EXPECT_FALSE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits.values, BandLimits{}.values);
}

TEST(ElementContour, TheSurfaceFacingTheViewerIsDrawn) {
    ViewCamera camera = topCamera(100, {0, 0}, {400, 300});
    ResultData data = squareRow(1);
    setSe(data, 0, 0, {0, 90, 90, 0});
    setSe(data, 0, 1, {90, 90, 90, 90});
    ShellModel model = adopt(std::move(data), camera);
    BandLimits limits;
    computeBandLimits(model, limits, Se);

    auto colours = [&]() {
        RecordingCanvas canvas(800, 600);
        PaintContext context(model, camera, canvas);
        drawElementContour(context, 0, limits, Se, 1.0, ScreenReach::insideGuard);
        EXPECT_EQ(context.internalErrors, 0);
        std::set<int> seen;
        for (const CanvasCall& fill : canvas.callsOf(CanvasCall::Kind::fillPolygon))
            seen.insert(fill.colour.red << 16 | fill.colour.green << 8 | fill.colour.blue);
        return seen;
    };
    EXPECT_EQ(colours().size(), 9u);  // the first surface runs through all bands

    camera.viewMatrix = testing::fromBelow;
    projectAllNodes(model, camera);
    const Rgb top = model.colorTable[8];
    EXPECT_EQ(colours(), (std::set<int>{top.red << 16 | top.green << 8 | top.blue}));
}

// An element within one band is filled as one quadrilateral when its four triangles
// do not fold over each other: the pixels must be exactly those of the triangles,
// for convex, concave, folded and degenerate corners alike.
TEST(ElementContour, OneBandElementsCoverTheirTrianglesPixels) {
    const ViewCamera camera = topCamera(1, {0, 0}, {0, 0}, 24, 24);
    const ShellModel model = adopt(squareRow(1), camera);
    BandLimits limits;
    for (std::size_t k = 0; k < BandLimits::count; ++k)
        limits.values[k] = static_cast<double>(k);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(1.0, 17.0);
    int quadrilaterals = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        ProjectedCorners corners;
        for (Point2D& p : corners)
            p = {coordinate(random), -coordinate(random)};
        if (trial % 3 == 0) corners[3] = corners[trial % 2];  // degenerate
        const double value = 2.5;
        RecordingCanvas canvas(24, 24);
        PaintContext context(model, camera, canvas);
        drawElementContour(context, corners, {value, value, value, value}, limits, 1.0,
                           ScreenReach::insideGuard, trianglesWithPixels);

        std::array<std::uint32_t, 24 * 24> drawn{};
        std::array<std::uint32_t, 24 * 24> expected{};
        SpanFiller drawnFiller({drawn.data(), 24, 24, 24});
        SpanFiller expectedFiller({expected.data(), 24, 24, 24});
        for (const CanvasCall& fill : canvas.callsOf(CanvasCall::Kind::fillPolygon)) {
            drawnFiller.fillPolygon(fill.points, 1);
            quadrilaterals += fill.points.size() == 4 ? 1 : 0;
        }
        const Pixel centre = context.screen.toPixelInGuard(contourCentre(corners));
        for (int j = 0; j < 4; ++j) {
            const std::array<Pixel, 3> triangle{
                centre, context.screen.toPixelInGuard(corners[j]),
                context.screen.toPixelInGuard(corners[(j + 1) % 4])};
            expectedFiller.fillPolygon(triangle, 1);
        }
        ASSERT_EQ(drawn, expected) << "trial " << trial;
    }
    EXPECT_GT(quadrilaterals, 1000);
}

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

TEST_F(Lighting, FactorsRunFromOneEleventhToOne) {
    // The light stands one box diagonal in front of the view centre, so the square
    // faces it squarely and the reflected ray points straight at the viewer.
    const auto light = placeLight(model, camera);
    ASSERT_TRUE(light.has_value());
    EXPECT_NEAR(light->z, std::sqrt(2.0), 1e-12);
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, light, 0), 1.0);
    // A negative diffuse term drops the specular term too.
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, Point3D{0, 0, -1}, 0), 1.0 / 11.0);
    // No light (a view matrix that cannot be inverted): nothing is darkened.
    EXPECT_EQ(shadingFactor(model, camera, std::nullopt, 0), 1.0);
    // Seen from below, the normal turns toward the viewer.
    camera.viewMatrix = testing::fromBelow;
    EXPECT_EQ(elementNormal(model, camera, 0).z, -1.0);
}

TEST(LightingDegenerate, AnElementWithoutAPlaneGetsTheAmbientShare) {
    ResultData data = squareRow(1);
    data.nodes[3] = data.nodes[0];  // corners 0, 1 and 3 span no plane
    const ViewCamera camera = topCamera(100, {0, 0}, {400, 300});
    ShellModel model = adopt(std::move(data), camera);
    EXPECT_DOUBLE_EQ(shadingFactor(model, camera, placeLight(model, camera), 0), 1.0 / 11.0);
}

TEST(PolygonFills, ScaleEachChannelAndCutTowardZero) {
    RecordingCanvas canvas(10, 10);
    ScreenPolygon triangle;
    for (const Pixel p : {Pixel{0, 0}, Pixel{5, 0}, Pixel{0, 5}})
        triangle.push(p);
    fillShadedPolygon(canvas, triangle, {255, 215, 0}, 0.5);
    fillShadedPolygon(canvas, triangle, {255, 215, 0}, 1.0);
    fillShadedPolygon(canvas, triangle, {255, 255, 255}, 1.0 / 11.0);
    ScreenPolygon segment;
    segment.push({0, 0});
    segment.push({5, 5});
    fillPolygon(canvas, segment, {1, 2, 3});  // fewer than three corners: nothing
    ASSERT_EQ(canvas.calls().size(), 3u);
    EXPECT_EQ(canvas.calls()[0].colour, (Rgb{127, 107, 0}));
    EXPECT_EQ(canvas.calls()[1].colour, (Rgb{255, 215, 0}));
    EXPECT_EQ(canvas.calls()[2].colour, (Rgb{23, 23, 23}));
}

}  // namespace
}  // namespace corvelt
