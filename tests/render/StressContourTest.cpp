#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "RenderFixtures.h"
#include "render/PaintContext.h"
#include "render/RecordingCanvas.h"
#include "render/StressContour.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::setCornerValues;
using testing::squareRow;
using testing::topCamera;
using Kind = CanvasCall::Kind;

TEST(BandLimits, ZeroToNinetyGivesStepsOfTen) {
    ResultData data = squareRow(2);
    setCornerValues(data, 0, 0, {0, 10, 20, 30});
    setCornerValues(data, 1, 1, {40, 90, 50, 60});  // the second surface counts too
    ShellModel model = adopt(std::move(data), topCamera(1, {}, {}));
    BandLimits limits;
    ASSERT_TRUE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits.values, (std::array<double, 10>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(BandLimits, TheTopLimitIsTheMaximumItselfNotASum) {
    ResultData data = squareRow(1);
    setCornerValues(data, 0, 0, {0.1, 1.0, 0.5, 0.5});
    setCornerValues(data, 0, 1, {0.5, 0.5, 0.5, 0.5});
    ShellModel model = adopt(std::move(data), topCamera(1, {}, {}));
    BandLimits limits;
    ASSERT_TRUE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits[0], 0.1);
    EXPECT_EQ(limits[9], 1.0);
    // The inner limits are a running sum of the step.
    double sum = 0.1;
    for (int k = 1; k < 9; ++k)
        EXPECT_EQ(limits[k], sum += (1.0 - 0.1) / 9) << k;
}

TEST(BandLimits, OnlySelectedElementsCount) {
    ResultData data = squareRow(2);
    setCornerValues(data, 0, 0, {-500, 0, 0, 0});
    setCornerValues(data, 1, 0, {1, 2, 3, 4});
    setCornerValues(data, 1, 1, {1, 2, 3, 4});
    ShellModel model = adopt(std::move(data), topCamera(1, {}, {}));
    model.elementSelected[0] = 0;
    BandLimits limits;
    ASSERT_TRUE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits[0], 1);
    EXPECT_EQ(limits[9], 4);
}

TEST(BandLimits, NoSelectionOrABadComponentGivesZeros) {
    ShellModel model = adopt(squareRow(1, 0.0, 5.0), topCamera(1, {}, {}));
    BandLimits limits;
    limits.values.fill(3);
    EXPECT_FALSE(computeBandLimits(model, limits, 7));
    EXPECT_EQ(limits.values, BandLimits{}.values);
    model.elementSelected[0] = 0;
    limits.values.fill(3);
    EXPECT_FALSE(computeBandLimits(model, limits, Se));
    EXPECT_EQ(limits.values, BandLimits{}.values);
}

TEST(BandLimits, TheCachedValuesGiveTheSameLimits) {
    ResultData data = squareRow(3);
    setCornerValues(data, 0, 0, {-0.0, 3, 1, 2}, Txy);
    setCornerValues(data, 1, 1, {0.0, 7, -2, 2}, Txy);
    setCornerValues(data, 2, 0, {9, 9, 9, 100}, Txy);
    ShellModel model = adopt(std::move(data), topCamera(1, {}, {}));
    model.elementSelected[2] = 0;
    ContourValueCache cache;
    BandLimits direct, cached;
    ASSERT_TRUE(computeBandLimits(model, direct, Txy));
    ASSERT_TRUE(computeBandLimits(cache.valuesFor(model, Txy), model.elementSelected, cached));
    EXPECT_EQ(direct.values, cached.values);
    EXPECT_EQ(std::signbit(direct[0]), std::signbit(cached[0]));
}

// One unit square seen from +z at 100 pixels per unit; the first surface holds
// 0..90 increasing along x, the second surface a constant 90.
class ElementContour : public ::testing::Test {
  protected:
    ElementContour() : camera(topCamera(100, {0, 0}, {100, 300})), canvas(800, 600) {
        ResultData data = squareRow(1);
        setCornerValues(data, 0, 0, {0, 90, 90, 0});
        setCornerValues(data, 0, 1, {90, 90, 90, 90});
        model = adopt(std::move(data), camera);
        computeBandLimits(model, limits, Se);
    }

    std::vector<CanvasCall> paint() {
        PaintContext context(model, camera, canvas);
        drawElementContour(context, 0, limits, Se, 1.0, ScreenReach::insideGuard);
        EXPECT_EQ(context.internalErrors, 0);
        return canvas.callsOf(Kind::fillPolygon);
    }

    ViewCamera camera;
    RecordingCanvas canvas;
    ShellModel model;
    BandLimits limits;
};

TEST_F(ElementContour, TheFacingSurfaceIsCutIntoAllBands) {
    const auto fills = paint();
    std::set<int> colours;
    double pixelArea = 0;
    for (const CanvasCall& fill : fills) {
        colours.insert(fill.colour.red << 16 | fill.colour.green << 8 | fill.colour.blue);
        pixelArea += std::abs(testing::doubleArea<Pixel>(fill.points)) / 2;
    }
    // All nine colours appear; the band polygons cover the 100 x 100 pixel square
    // (up to the truncation of their corners).
    EXPECT_EQ(colours.size(), 9u);
    EXPECT_NEAR(pixelArea, 100 * 100, 200);
    EXPECT_EQ(fills.front().colour, model.colorTable[0]);
}

TEST_F(ElementContour, AnElementSeenFromBehindShowsItsSecondSurface) {
    camera.viewMatrix = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};  // looking from -z
    projectAllNodes(model, camera);
    const auto fills = paint();
    // A constant 90 (the maximum) fills the top band whole, four triangles.
    ASSERT_EQ(fills.size(), 4u);
    for (const CanvasCall& fill : fills)
        EXPECT_EQ(fill.colour, model.colorTable[8]);
}

TEST_F(ElementContour, ShadingDarkensEveryBandColour) {
    PaintContext context(model, camera, canvas);
    drawElementContour(context, 0, limits, Se, 0.5, ScreenReach::insideGuard);
    for (const CanvasCall& fill : canvas.callsOf(Kind::fillPolygon)) {
        EXPECT_LE(fill.colour.red, 127);
        EXPECT_LE(fill.colour.green, 127);
        EXPECT_LE(fill.colour.blue, 127);
    }
}

TEST_F(ElementContour, ABadComponentCountsAnInternalErrorAndDrawsNothing) {
    PaintContext context(model, camera, canvas);
    drawElementContour(context, 0, limits, -1, 1.0, ScreenReach::insideGuard);
    EXPECT_EQ(context.internalErrors, 1);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST(TriangleFill, CornersBecomePixelsByTheTruncatingMapping) {
    const ViewCamera camera = topCamera(10, {0, 0}, {50, 50});
    ShellModel model = adopt(squareRow(1), camera);
    RecordingCanvas canvas(100, 100);
    PaintContext context(model, camera, canvas);
    BandLimits limits;
    for (std::size_t k = 0; k < BandLimits::count; ++k)
        limits.values[k] = static_cast<double>(k);
    // Values inside band 4: the whole triangle, corners P0, P1, P2 (row 1d).
    fillTriangleBands(context, {Point2D{-0.07, 0.07}, Point2D{1.0, 0.0}, Point2D{0.0, 1.0}},
                      {4.2, 4.4, 4.6}, limits, 1.0, ScreenReach::insideGuard);
    const auto fills = canvas.callsOf(Kind::fillPolygon);
    ASSERT_EQ(fills.size(), 1u);
    // -0.7 and 0.7 pixels both truncate toward zero.
    EXPECT_EQ(fills[0].points, (std::vector<Pixel>{{50, 50}, {60, 50}, {50, 40}}));
    EXPECT_EQ(fills[0].colour, model.colorTable[4]);
}

}  // namespace
}  // namespace corvelt
