// Point and rectangle picking in view space, with depth only breaking ties.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "select/Picking.h"
#include "view/Projection.h"
#include "view/TestMeshes.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

using Flags = std::vector<std::uint8_t>;

// The identity view matrix shows world x, y as view x, y and world z as depth, so a
// larger z is nearer the viewer. View (0, 0) is at pixel (500, 500), 100 pixels per unit.
ViewCamera testCamera() {
    ViewCamera camera;
    camera.viewMatrix = identityMatrix();
    camera.screenWidth = 1000;
    camera.screenHeight = 1000;
    camera.originX = 500;
    camera.originY = 500;
    camera.scale = 100.0;
    return camera;
}

Pixel pixelAt(double x, double y) {
    return {static_cast<std::int32_t>(std::lround(500 + x * 100)),
            static_cast<std::int32_t>(std::lround(500 - y * 100))};
}

struct Scene {
    ShellModel model;
    ViewCamera camera = testCamera();

    explicit Scene(ResultData data) : model(testing::modelOf(std::move(data))) {
        projectAllNodes(model, camera);
    }
};

// Two unit squares on top of each other: element 0 at z = back, element 1 at z = front.
Scene stackedSquares(double zOfFirst, double zOfSecond) {
    testing::MeshBuilder mesh;
    mesh.addSquare(0, 0, 1, zOfFirst);
    mesh.addSquare(0, 0, 1, zOfSecond);
    return Scene(mesh.take());
}

// --- Element point pick ---

TEST(PickElementAtPoint, TheElementInFrontWinsWhateverItsIndex) {
    for (const bool frontFirst : {false, true}) {
        Scene scene = frontFirst ? stackedSquares(1.0, 0.0) : stackedSquares(0.0, 1.0);
        const std::int32_t front = frontFirst ? 0 : 1;
        EXPECT_EQ(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {}), front);
        Flags expected(2, 0);
        expected[front] = 1;
        EXPECT_EQ(scene.model.elementPicked, expected);
    }
}

TEST(PickElementAtPoint, AnExactDepthTieGoesToTheLowerIndex) {
    Scene scene = stackedSquares(0.0, 0.0);
    EXPECT_EQ(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {}), 0);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 0}));
}

TEST(PickElementAtPoint, DepthIsTakenAtTheCornerCentroid) {
    testing::MeshBuilder mesh;
    // A steep element whose nearest corner is in front of the flat one, but whose centroid is
    // behind it.
    mesh.addQuad({0, 0, -3}, {1, 0, -3}, {1, 1, -3}, {0, 1, 2});
    mesh.addSquare(0, 0, 1, 0.0);
    Scene scene(mesh.take());
    EXPECT_EQ(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {}), 1);
}

TEST(PickElementAtPoint, ABackgroundClickChangesNothing) {
    Scene scene = stackedSquares(0.0, 1.0);
    scene.model.elementPicked = {0, 1};
    EXPECT_FALSE(pickElementAtPoint(scene.model, scene.camera, pixelAt(2.0, 0.5), 1, {}));
    EXPECT_FALSE(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 2.0), 0, {}));
    EXPECT_EQ(scene.model.elementPicked, (Flags{0, 1}));
}

TEST(PickElementAtPoint, OnlyFromSelectedSkipsUnselectedElementsEvenInFront) {
    Scene scene = stackedSquares(0.0, 1.0);
    scene.model.elementSelected = {1, 0};
    EXPECT_EQ(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {true}), 0);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 0}));

    scene.model.elementSelected = {0, 0};
    scene.model.elementPicked = {0, 0};
    EXPECT_FALSE(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {true}));
    EXPECT_EQ(scene.model.elementPicked, (Flags{0, 0}));
}

TEST(PickElementAtPoint, UnpickClearsOnlyTheElementInFront) {
    Scene scene = stackedSquares(0.0, 1.0);
    scene.model.elementPicked = {1, 1};
    EXPECT_EQ(pickElementAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 0, {}), 1);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 0}));
}

// --- Node point pick ---

// Nodes of one square: 0 (0,0), 1 (1,0), 2 (1,1), 3 (0,1), all at depth z.
Scene oneSquare() {
    testing::MeshBuilder mesh;
    mesh.addSquare(0, 0, 1);
    return Scene(mesh.take());
}

TEST(PickNodeAtPoint, PicksTheNearestNodeHoweverFarAway) {
    Scene scene = oneSquare();
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(0.9, 0.2), 1, {}), 1);
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, {-100000, -100000}, 1, {}),
              3);  // far up-left
    EXPECT_EQ(scene.model.nodePicked, (Flags{0, 1, 0, 1}));
}

TEST(PickNodeAtPoint, EqualDistancesGoToTheNearerNodeThenTheLowerIndex) {
    testing::MeshBuilder mesh;
    mesh.addNode({-1, 0, 0});
    mesh.addNode({1, 0, 0.5});  // as far from the click on the screen, but nearer the viewer
    mesh.addNode({0, 1, 0.5});  // the same again, same depth as node 1
    Scene scene(mesh.take());
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(0, 0), 1, {}), 1);

    scene.model.nodes[1].z = 0.0;
    scene.model.nodes[2].z = 0.0;
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(0, 0), 1, {}), 0);
}

TEST(PickNodeAtPoint, OnlyFromSelectedSkipsUnselectedNodes) {
    Scene scene = oneSquare();
    scene.model.nodeSelected = {1, 0, 0, 1};
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(1.0, 0.1), 1, {true}), 0);
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(1.0, 0.9), 1, {true}), 3);
    EXPECT_EQ(scene.model.nodePicked, (Flags{1, 0, 0, 1}));
}

TEST(PickNodeAtPoint, OnlyFromSelectedWithNothingSelectedChangesNothing) {
    Scene scene = oneSquare();
    scene.model.nodeSelected = {0, 0, 0, 0};
    EXPECT_FALSE(pickNodeAtPoint(scene.model, scene.camera, pixelAt(0.5, 0.5), 1, {true}));
    EXPECT_EQ(scene.model.nodePicked, Flags(4, 0));
}

TEST(PickNodeAtPoint, UnpickClearsTheNearestNode) {
    Scene scene = oneSquare();
    scene.model.nodePicked = {1, 1, 1, 1};
    EXPECT_EQ(pickNodeAtPoint(scene.model, scene.camera, pixelAt(1.2, 1.3), 0, {}), 2);
    EXPECT_EQ(scene.model.nodePicked, (Flags{1, 1, 0, 1}));
}

TEST(PickNodeAtPoint, AModelWithoutNodesPicksNothing) {
    Scene scene{ResultData{}};
    EXPECT_FALSE(pickNodeAtPoint(scene.model, scene.camera, pixelAt(0, 0), 1, {}));
    EXPECT_FALSE(pickElementAtPoint(scene.model, scene.camera, pixelAt(0, 0), 1, {}));
}

// --- Rectangles ---

// A unit square at view (0,0)..(1,1), that is pixels x 500..600, y 400..500.
TEST(PickElementsInRectangle, AWindowPicksOnlyElementsWhollyInsideBorderIncluded) {
    Scene scene = oneSquare();
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, {500, 400}, {600, 500}, 1, {}), 1);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1}));

    scene.model.elementPicked = {0};
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, {501, 400}, {600, 500}, 1, {}), 0);
    EXPECT_EQ(scene.model.elementPicked, (Flags{0}));
}

TEST(PickElementsInRectangle, TheVerticalDragDirectionPlaysNoPart) {
    for (const auto& drag : {std::pair{Pixel{490, 390}, Pixel{610, 510}},
                             std::pair{Pixel{490, 510}, Pixel{610, 390}}}) {
        Scene scene = oneSquare();
        EXPECT_EQ(
            pickElementsInRectangle(scene.model, scene.camera, drag.first, drag.second, 1, {}), 1);
    }
    for (const auto& drag : {std::pair{Pixel{590, 410}, Pixel{520, 480}},
                             std::pair{Pixel{590, 480}, Pixel{520, 410}}}) {
        Scene scene = oneSquare();
        EXPECT_EQ(
            pickElementsInRectangle(scene.model, scene.camera, drag.first, drag.second, 1, {}), 1)
            << "crossing inside the element";
    }
}

struct RectangleCase {
    std::string name;
    Pixel left;     // the corner with the smaller x
    Pixel right;    // the corner with the larger x
    bool window;    // picked when dragged from left to right
    bool crossing;  // picked when dragged from right to left
};

void PrintTo(const RectangleCase& c, std::ostream* out) {
    *out << c.name;
}

class RectangleAgainstSquare : public ::testing::TestWithParam<RectangleCase> {};

TEST_P(RectangleAgainstSquare, DragDirectionChoosesWindowOrCrossing) {
    const RectangleCase& c = GetParam();
    Scene window = oneSquare();
    pickElementsInRectangle(window.model, window.camera, c.left, c.right, 1, {});
    EXPECT_EQ(window.model.elementPicked[0], c.window ? 1 : 0) << "window";

    Scene crossing = oneSquare();
    pickElementsInRectangle(crossing.model, crossing.camera, c.right, c.left, 1, {});
    EXPECT_EQ(crossing.model.elementPicked[0], c.crossing ? 1 : 0) << "crossing";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RectangleAgainstSquare,
    ::testing::Values(RectangleCase{"AroundIt", {450, 350}, {650, 550}, true, true},
                      RectangleCase{"ExactlyOnItsBorder", {500, 400}, {600, 500}, true, true},
                      RectangleCase{"InsideIt", {520, 420}, {580, 480}, false, true},
                      RectangleCase{"OverOneCorner", {580, 380}, {650, 420}, false, true},
                      RectangleCase{"BandAcrossItsMiddle", {450, 440}, {650, 460}, false, true},
                      RectangleCase{"TouchingItsRightSide", {600, 420}, {650, 480}, false, true},
                      RectangleCase{"TouchingACornerOnly", {600, 350}, {650, 400}, false, true},
                      RectangleCase{"BesideIt", {610, 400}, {700, 500}, false, false},
                      RectangleCase{"BelowIt", {500, 510}, {600, 600}, false, false}),
    [](const ::testing::TestParamInfo<RectangleCase>& info) { return info.param.name; });

TEST(PickElementsInRectangle, CrossingSkipsAnElementWhoseBoxOnlyOverlaps) {
    testing::MeshBuilder mesh;
    mesh.addQuad({1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0});  // a diamond
    Scene scene(mesh.take());
    // View (0.1 .. 0.3, 0.1 .. 0.3): inside the diamond's box, outside the diamond.
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(0.3, 0.3),
                                      pixelAt(0.1, 0.1), 1, {}),
              0);
    // Moved up to straddle the diamond's lower-left side.
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(0.7, 0.7),
                                      pixelAt(0.1, 0.1), 1, {}),
              1);
}

TEST(PickElementsInRectangle, PicksEveryQualifyingElementOfTheFilterAndCountsThem) {
    Scene scene{testing::unitGrid(3, 2)};
    // A window around the lower row (view 0..3 x 0..1) and a bit more.
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(-0.1, -0.1),
                                      pixelAt(3.1, 1.1), 1, {}),
              3);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 1, 1, 0, 0, 0}));

    scene.model.elementPicked.assign(6, 0);
    scene.model.elementSelected = {1, 0, 1, 0, 1, 0};
    // A crossing through the middle of all six, limited to the selected ones.
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(2.9, 1.2),
                                      pixelAt(0.1, 0.8), 1, {true}),
              3);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 0, 1, 0, 1, 0}));
}

TEST(PickElementsInRectangle, UnpickUsesTheSameGeometry) {
    Scene scene{testing::unitGrid(3, 1)};
    scene.model.elementPicked = {1, 1, 1};
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(0.9, -0.1),
                                      pixelAt(2.1, 1.1), 0, {}),
              1);
    EXPECT_EQ(scene.model.elementPicked, (Flags{1, 0, 1}));
    EXPECT_EQ(pickElementsInRectangle(scene.model, scene.camera, pixelAt(2.1, 1.1),
                                      pixelAt(0.9, -0.1), 0, {}),
              3);
    EXPECT_EQ(scene.model.elementPicked, (Flags{0, 0, 0}));
}

TEST(PickNodesInRectangle, PicksNodesInsideBorderIncludedInEitherDirection) {
    Scene scene{testing::unitGrid(2, 1)};  // nodes 0 1 2 at y 0, 3 4 5 at y 1
    // View x 1 .. 2, y 0 .. 1 exactly: nodes 1, 2, 4 and 5 lie on its border.
    EXPECT_EQ(pickNodesInRectangle(scene.model, scene.camera, pixelAt(2, 0), pixelAt(1, 1), 1, {}),
              4);
    EXPECT_EQ(scene.model.nodePicked, (Flags{0, 1, 1, 0, 1, 1}));

    scene.model.nodePicked.assign(6, 0);
    EXPECT_EQ(pickNodesInRectangle(scene.model, scene.camera, pixelAt(1, 1), pixelAt(2, 0), 1, {}),
              4);
    EXPECT_EQ(scene.model.nodePicked, (Flags{0, 1, 1, 0, 1, 1}));
}

TEST(PickNodesInRectangle, OnlyFromSelectedAndUnpick) {
    Scene scene{testing::unitGrid(2, 1)};
    scene.model.nodeSelected = {1, 1, 0, 0, 0, 1};
    scene.model.nodePicked = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(
        pickNodesInRectangle(scene.model, scene.camera, pixelAt(-1, -1), pixelAt(3, 3), 0, {true}),
        3);
    EXPECT_EQ(scene.model.nodePicked, (Flags{0, 0, 1, 1, 1, 0}));
}

// --- Geometry ---

struct PointCase {
    std::string name;
    std::vector<Point3D> corners;
    Point2D point;
    bool inside;
};

void PrintTo(const PointCase& c, std::ostream* out) {
    *out << c.name;
}

class PointInElement : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointInElement, CountsCrossingsOfARayTowardPlusX) {
    const PointCase& c = GetParam();
    testing::MeshBuilder mesh;
    mesh.addQuad(c.corners[0], c.corners[1], c.corners[2], c.corners[3]);
    Scene scene(mesh.take());
    EXPECT_EQ(pointInElement(scene.model, 0, c.point), c.inside);
}

const std::vector<Point3D> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
const std::vector<Point3D> clockwiseSquare{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
const std::vector<Point3D> diamond{{1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0}};
const std::vector<Point3D> dart{{0, 0, 0}, {2, 1, 0}, {0, 2, 0}, {1, 1, 0}};  // notch on the left

INSTANTIATE_TEST_SUITE_P(
    Cases, PointInElement,
    ::testing::Values(PointCase{"SquareInterior", square, {0.5, 0.5}, true},
                      PointCase{"SquareBottomSide", square, {0.5, 0.0}, true},
                      PointCase{"SquareRightSide", square, {1.0, 0.5}, true},
                      PointCase{"SquareTopSide", square, {0.5, 1.0}, false},
                      PointCase{"SquareLeftSide", square, {0.0, 0.5}, false},
                      PointCase{"SquareBottomRightCorner", square, {1.0, 0.0}, true},
                      PointCase{"SquareBottomLeftCorner", square, {0.0, 0.0}, false},
                      PointCase{"SquareTopRightCorner", square, {1.0, 1.0}, false},
                      PointCase{"SquareOutsideRight", square, {1.5, 0.5}, false},
                      PointCase{"SquareOutsideBelow", square, {0.5, -0.01}, false},
                      PointCase{"ClockwiseSquareInterior", clockwiseSquare, {0.3, 0.7}, true},
                      PointCase{"ClockwiseSquareBottomSide", clockwiseSquare, {0.5, 0.0}, true},
                      PointCase{"ClockwiseSquareTopSide", clockwiseSquare, {0.5, 1.0}, false},
                      PointCase{"DiamondCentreLevelWithTwoVertices", diamond, {1.0, 1.0}, true},
                      PointCase{"DiamondRightVertex", diamond, {2.0, 1.0}, true},
                      PointCase{"DiamondLeftVertex", diamond, {0.0, 1.0}, false},
                      PointCase{"DiamondBoxCorner", diamond, {0.2, 0.2}, false},
                      PointCase{"DiamondNearSlantedSide", diamond, {1.45, 0.5}, true},
                      PointCase{"DiamondOnLowerRightSide", diamond, {1.5, 0.5}, true},
                      PointCase{"DiamondOnLowerLeftSide", diamond, {0.5, 0.5}, false},
                      PointCase{"DiamondJustOutsideSlantedSide", diamond, {1.55, 0.5}, false},
                      PointCase{"DartInTheNotch", dart, {0.5, 1.0}, false},
                      PointCase{"DartBesideTheNotch", dart, {1.5, 1.0}, true},
                      PointCase{"DartLowerWing", dart, {0.5, 0.4}, true}),
    [](const ::testing::TestParamInfo<PointCase>& info) { return info.param.name; });

struct SegmentCase {
    std::string name;
    Point2D p1, p2, q1, q2;
    bool meet;
};

void PrintTo(const SegmentCase& c, std::ostream* out) {
    *out << c.name;
}

class SegmentsIntersect : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentsIntersect, TreatsSegmentsAsClosedAndEitherOrder) {
    const SegmentCase& c = GetParam();
    EXPECT_EQ(segmentsIntersect(c.p1, c.p2, c.q1, c.q2), c.meet);
    EXPECT_EQ(segmentsIntersect(c.q1, c.q2, c.p1, c.p2), c.meet);
    EXPECT_EQ(segmentsIntersect(c.p2, c.p1, c.q2, c.q1), c.meet);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SegmentsIntersect,
    ::testing::Values(SegmentCase{"Crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, true},
                      SegmentCase{"EndPointOnTheOther", {0, 0}, {2, 0}, {1, 0}, {1, 1}, true},
                      SegmentCase{"SharedEndPoint", {0, 0}, {1, 1}, {1, 1}, {2, 0}, true},
                      SegmentCase{"CollinearOverlap", {0, 0}, {2, 0}, {1, 0}, {3, 0}, true},
                      SegmentCase{"CollinearContained", {0, 0}, {3, 3}, {1, 1}, {2, 2}, true},
                      SegmentCase{"CollinearApart", {0, 0}, {1, 0}, {2, 0}, {3, 0}, false},
                      SegmentCase{"ParallelApart", {0, 0}, {2, 0}, {0, 1}, {2, 1}, false},
                      SegmentCase{
                          "LinesMeetBeyondOneSegment", {0, 0}, {2, 2}, {2, 0}, {1.2, 0.8}, false},
                      SegmentCase{"TShapeShortOfTheBar", {0, 0}, {2, 0}, {1, 0.001}, {1, 1}, false},
                      SegmentCase{"PointOnASegment", {1, 0}, {1, 0}, {0, 0}, {2, 0}, true}),
    [](const ::testing::TestParamInfo<SegmentCase>& info) { return info.param.name; });

}  // namespace
}  // namespace corvelt
