// The flat screen mapping of the camera: fit, pixel conversion, zoom box, wheel and pan.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestMeshes.h"
#include "view/Projection.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

ViewCamera cameraWithExtents(int width, int height, double minX, double maxX, double minY,
                             double maxY) {
    ViewCamera camera;
    camera.screenWidth = width;
    camera.screenHeight = height;
    camera.viewMinX = minX;
    camera.viewMaxX = maxX;
    camera.viewMinY = minY;
    camera.viewMaxY = maxY;
    return camera;
}

// A camera of a 400 x 300 client that shows view (0, 0) at its centre, 2 pixels per unit.
ViewCamera zoomTestCamera() {
    ViewCamera camera;
    camera.screenWidth = 400;
    camera.screenHeight = 300;
    camera.originX = 200;
    camera.originY = 150;
    camera.scale = 2.0;
    return camera;
}

void expectSameMapping(const ViewCamera& actual, const ViewCamera& expected) {
    EXPECT_DOUBLE_EQ(actual.scale, expected.scale);
    EXPECT_EQ(actual.originX, expected.originX);
    EXPECT_EQ(actual.originY, expected.originY);
    EXPECT_DOUBLE_EQ(actual.centerX, expected.centerX);
    EXPECT_DOUBLE_EQ(actual.centerY, expected.centerY);
}

// --- Fitting ---

TEST(FitToExtents, SmallerRatioWinsWithFivePercentMargin) {
    ViewCamera camera = cameraWithExtents(800, 600, -5, 5, -2.5, 2.5);
    camera.fitToExtents();
    EXPECT_DOUBLE_EQ(camera.scale, 76.0);  // min(800 / 10, 600 / 5) * 0.95
    EXPECT_EQ(camera.originX, 400);
    EXPECT_EQ(camera.originY, 300);
    EXPECT_DOUBLE_EQ(camera.centerX, 0.0);
    EXPECT_DOUBLE_EQ(camera.centerY, 0.0);
}

TEST(FitToExtents, OddClientSizesTruncateTheOrigin) {
    ViewCamera camera = cameraWithExtents(801, 601, 1, 3, 10, 11);
    camera.fitToExtents();
    EXPECT_EQ(camera.originX, 400);
    EXPECT_EQ(camera.originY, 300);
    EXPECT_DOUBLE_EQ(camera.centerX, 2.0);
    EXPECT_DOUBLE_EQ(camera.centerY, 10.5);
}

TEST(FitToExtents, AZeroExtentLeavesTheOtherDirectionToDecide) {
    ViewCamera row = cameraWithExtents(800, 600, -5, 5, 1, 1);  // a row of nodes seen along y
    row.fitToExtents();
    EXPECT_DOUBLE_EQ(row.scale, 80 * 0.95);

    ViewCamera column = cameraWithExtents(800, 600, 2, 2, 0, 3);
    column.fitToExtents();
    EXPECT_DOUBLE_EQ(column.scale, 200 * 0.95);
}

TEST(FitToExtents, ZeroSizedClientGivesZeroScale) {
    ViewCamera camera = cameraWithExtents(0, 0, -5, 5, -2.5, 2.5);
    camera.scale = 4.0;
    camera.fitToExtents();
    EXPECT_EQ(camera.scale, 0.0);
    EXPECT_EQ(camera.originX, 0);
    EXPECT_EQ(camera.originY, 0);
}

TEST(FitToExtents, AZeroRatioGivesWayToTheOther) {
    ViewCamera flat = cameraWithExtents(800, 0, -5, 5, -2.5, 2.5);  // a client without height
    flat.fitToExtents();
    EXPECT_DOUBLE_EQ(flat.scale, 80 * 0.95);
}

TEST(FitToExtents, NodesOnOnePointKeepThePreviousScale) {
    ViewCamera camera = cameraWithExtents(800, 600, 3, 3, -1, -1);
    camera.scale = 12.5;
    camera.fitToExtents();
    EXPECT_EQ(camera.scale, 12.5);
    EXPECT_EQ(camera.originX, 400);
    EXPECT_EQ(camera.originY, 300);
    EXPECT_EQ(camera.centerX, 3.0);
    EXPECT_EQ(camera.centerY, -1.0);
}

TEST(FitToExtents, NodesOnOnePointAfterAZeroScaleFallBackToOne) {
    ViewCamera camera = cameraWithExtents(800, 600, 3, 3, -1, -1);
    camera.scale = 0.0;  // left by a minimised window
    camera.fitToExtents();
    EXPECT_EQ(camera.scale, 1.0);
    EXPECT_EQ(camera.viewToPixel(3.0, -1.0), (Pixel{400, 300}));
}

TEST(ResizeView, DiscardsZoomAndPanAndFitsAgain) {
    ShellModel model = testing::modelOf(testing::unitGrid(3, 2));
    ViewCamera camera;
    setViewAngles(model, camera, std::acos(-1.0) * 0.25, std::acos(-1.0) * 0.1958888888888889);
    resizeView(model, camera, 640, 480);
    const ViewCamera fitted = camera;

    camera.zoomAtPoint({100, 70}, true);
    camera.zoomToRectangle({10, 10}, {200, 90});
    camera.panBy(35, -12);
    resizeView(model, camera, 640, 480);
    expectSameMapping(camera, fitted);
    EXPECT_EQ(camera.viewMatrix, fitted.viewMatrix);
}

TEST(FitAll, ASingleNodeIsCentredAtThePreviousScale) {
    ResultData data;
    data.nodes = {{4, -2, 7}};
    ShellModel model = testing::modelOf(std::move(data));
    ViewCamera camera;
    camera.scale = 5.0;
    setViewAngles(model, camera, 0.0, 0.0);  // view x, y = world y, z
    resizeView(model, camera, 300, 200);
    EXPECT_EQ(camera.scale, 5.0);
    EXPECT_DOUBLE_EQ(camera.centerX, -2.0);
    EXPECT_DOUBLE_EQ(camera.centerY, 7.0);
    EXPECT_EQ(camera.viewToPixel(model.projectedNodes[0]), (Pixel{150, 100}));
}

TEST(FitAll, WithoutNodesKeepsTheMapping) {
    ShellModel model;
    ViewCamera camera = zoomTestCamera();
    fitAll(model, camera);
    expectSameMapping(camera, zoomTestCamera());
}

// --- Pixel conversion ---

TEST(ViewToPixel, TruncatesTowardZeroOnBothSidesOfTheCentre) {
    ViewCamera camera;
    camera.originX = 400;
    camera.originY = 300;
    camera.centerX = 1.0;
    camera.centerY = -2.0;
    camera.scale = 10.0;

    EXPECT_EQ(camera.viewToPixel(1.0 - 0.5 / 10.0, -2.0), (Pixel{400, 300}));
    EXPECT_EQ(camera.viewToPixel(1.0 + 0.5 / 10.0, -2.0), (Pixel{400, 300}));
    EXPECT_EQ(camera.viewToPixel(1.0 - 0.17, -2.0 - 0.17), (Pixel{399, 301}));  // -1.7 -> -1
    EXPECT_EQ(camera.viewToPixel(1.0 + 0.17, -2.0 + 0.17),
              (Pixel{401, 299}));  // y flips: up is smaller
}

TEST(ViewToPixel, FarAndNonFinitePointsStayInsideTheIntegerRange) {
    ViewCamera camera;
    camera.originX = 100;
    camera.originY = 100;
    camera.scale = 1e6;
    const double huge = 1e300;
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();

    const Pixel farRight = camera.viewToPixel(huge, -huge);
    EXPECT_GT(farRight.x, 1'000'000'000);
    EXPECT_GT(farRight.y, 1'000'000'000);
    const Pixel farLeft = camera.viewToPixel(-inf, inf);
    EXPECT_LT(farLeft.x, -1'000'000'000);
    EXPECT_LT(farLeft.y, -1'000'000'000);
    EXPECT_EQ(camera.viewToPixel(nan, nan), (Pixel{100, 100}));

    camera.originX = std::numeric_limits<std::int32_t>::max();  // panned to the very edge
    EXPECT_EQ(camera.viewToPixel(huge, 0.0).x, std::numeric_limits<std::int32_t>::max());
}

TEST(PixelToView, InvertsTheMappingWithoutRounding) {
    ViewCamera camera;
    camera.originX = 400;
    camera.originY = 300;
    camera.centerX = 1.0;
    camera.centerY = -2.0;
    camera.scale = 8.0;
    const Point2D v = camera.pixelToView({403, 290});
    EXPECT_DOUBLE_EQ(v.x, 1.0 + 3 / 8.0);
    EXPECT_DOUBLE_EQ(v.y, -2.0 + 10 / 8.0);
    EXPECT_EQ(camera.viewToPixel(v), (Pixel{403, 290}));
}

TEST(PixelToView, ZeroScaleGivesTheCentre) {
    ViewCamera camera;
    camera.centerX = 4.0;
    camera.centerY = 5.0;
    camera.scale = 0.0;
    const Point2D v = camera.pixelToView({123, -77});
    EXPECT_EQ(v.x, 4.0);
    EXPECT_EQ(v.y, 5.0);
}

// --- Zoom box ---

TEST(ZoomToRectangle, CentresTheBoxAndFitsItsLimitingSideWithoutMargin) {
    ViewCamera camera = zoomTestCamera();
    // (10, 10) is view (-95, 70) and (110, 60) is view (-45, 45): 50 x 25 units.
    camera.zoomToRectangle({10, 10}, {110, 60});
    EXPECT_DOUBLE_EQ(camera.centerX, -70.0);
    EXPECT_DOUBLE_EQ(camera.centerY, 57.5);
    EXPECT_DOUBLE_EQ(camera.scale, 8.0);  // min(400 / 50, 300 / 25)
    EXPECT_EQ(camera.originX, 200);
    EXPECT_EQ(camera.originY, 150);
    // The limiting side (the width) now runs from client edge to client edge.
    EXPECT_EQ(camera.viewToPixel(-95.0, 57.5).x, 0);
    EXPECT_EQ(camera.viewToPixel(-45.0, 57.5).x, 400);
}

TEST(ZoomToRectangle, DoesNotDependOnTheDragDirection) {
    const Pixel corners[4][2] = {
        {{10, 10}, {110, 60}}, {{110, 60}, {10, 10}}, {{110, 10}, {10, 60}}, {{10, 60}, {110, 10}}};
    ViewCamera reference = zoomTestCamera();
    reference.zoomToRectangle(corners[0][0], corners[0][1]);
    for (const auto& drag : corners) {
        ViewCamera camera = zoomTestCamera();
        camera.zoomToRectangle(drag[0], drag[1]);
        expectSameMapping(camera, reference);
    }
}

TEST(ZoomToRectangle, TallBoxIsLimitedByItsHeight) {
    ViewCamera camera = zoomTestCamera();
    camera.zoomToRectangle({100, 0}, {120, 150});  // 10 x 75 units
    EXPECT_DOUBLE_EQ(camera.scale, 4.0);           // min(400 / 10, 300 / 75)
}

// A box of no width or no height is fitted by the side it has (the other side's
// ratio is infinite); a box of one point changes nothing at all.
TEST(ZoomToRectangle, ABoxWithoutWidthOrHeightIsFittedByItsOtherSide) {
    struct Case {
        Pixel anchor, current;
        double scale;
    };
    // 100 pixels are 50 view units and 50 pixels are 25 at scale 2.
    for (const Case& c : {Case{{10, 10}, {110, 10}, 8.0}, Case{{10, 60}, {10, 10}, 12.0}}) {
        ViewCamera camera = zoomTestCamera();
        const Point2D a = camera.pixelToView(c.anchor);
        const Point2D b = camera.pixelToView(c.current);
        camera.zoomToRectangle(c.anchor, c.current);
        EXPECT_DOUBLE_EQ(camera.scale, c.scale);
        EXPECT_DOUBLE_EQ(camera.centerX, (a.x + b.x) * 0.5);
        EXPECT_DOUBLE_EQ(camera.centerY, (a.y + b.y) * 0.5);
        EXPECT_EQ(camera.originX, 200);
        EXPECT_EQ(camera.originY, 150);
    }
    ViewCamera camera = zoomTestCamera();
    camera.originX = 123;
    camera.zoomToRectangle({50, 40}, {50, 40});
    ViewCamera unchanged = zoomTestCamera();
    unchanged.originX = 123;
    expectSameMapping(camera, unchanged);
}

// --- Wheel and pan ---

TEST(ZoomAtPoint, KeepsTheViewPointUnderTheCursor) {
    ViewCamera camera = zoomTestCamera();
    camera.centerX = 3.0;
    const Pixel cursor{37, 250};
    const Point2D before = camera.pixelToView(cursor);

    camera.zoomAtPoint(cursor, true);
    EXPECT_DOUBLE_EQ(camera.scale, 2.2);
    EXPECT_EQ(camera.originX, cursor.x);
    EXPECT_EQ(camera.originY, cursor.y);
    const Point2D during = camera.pixelToView(cursor);
    EXPECT_DOUBLE_EQ(during.x, before.x);
    EXPECT_DOUBLE_EQ(during.y, before.y);
    // A view point off the cursor moves away from it by the zoom factor.
    const Pixel off = camera.viewToPixel(before.x + 10.0, before.y);
    EXPECT_EQ(off.x - cursor.x, 22);

    camera.zoomAtPoint(cursor, false);
    EXPECT_NEAR(camera.scale, 2.0, 1e-15);
    const Point2D after = camera.pixelToView(cursor);
    EXPECT_DOUBLE_EQ(after.x, before.x);
    EXPECT_DOUBLE_EQ(after.y, before.y);
}

TEST(ZoomAtPoint, ZeroScaleStaysPut) {
    ViewCamera camera = zoomTestCamera();
    camera.scale = 0.0;
    camera.zoomAtPoint({10, 20}, true);
    EXPECT_EQ(camera.scale, 0.0);
    EXPECT_TRUE(std::isfinite(camera.centerX));
    EXPECT_TRUE(std::isfinite(camera.centerY));
}

TEST(PanBy, MovesEveryPixelByTheMouseMovementOnly) {
    ViewCamera camera = zoomTestCamera();
    camera.centerX = 1.5;
    const Pixel before = camera.viewToPixel(7.25, -3.5);
    camera.panBy(13, -21);
    EXPECT_EQ(camera.originX, 213);
    EXPECT_EQ(camera.originY, 129);
    EXPECT_EQ(camera.centerX, 1.5);
    EXPECT_EQ(camera.centerY, 0.0);
    EXPECT_EQ(camera.scale, 2.0);
    const Pixel after = camera.viewToPixel(7.25, -3.5);
    EXPECT_EQ(after.x - before.x, 13);
    EXPECT_EQ(after.y - before.y, -21);
}

TEST(PanBy, SaturatesInsteadOfOverflowing) {
    ViewCamera camera;
    camera.originX = std::numeric_limits<std::int32_t>::max() - 5;
    camera.originY = std::numeric_limits<std::int32_t>::min() + 5;
    camera.panBy(100, -100);
    EXPECT_EQ(camera.originX, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(camera.originY, std::numeric_limits<std::int32_t>::min());
}

}  // namespace
}  // namespace corvelt
