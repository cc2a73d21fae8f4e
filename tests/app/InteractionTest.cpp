#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "TestMeshes.h"
#include "app/Application.h"
#include "app/CommandId.h"

namespace corvelt {
namespace {

using testing::RecordingCanvas;

// A 4 x 2 grid seen from +z (world x right, y up) in a 400 x 300 client: the fit
// gives scale 95, origin (200, 150) and centre (2, 1).
class Interaction : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
        app.resize(400, 300);
        app.applyViewAngles(-90, 90, true);
        app.takeRepaintDue();
        ASSERT_NEAR(app.camera().scale, 95.0, 1e-9);
        ASSERT_EQ(app.camera().viewToPixel(2.0, 1.0), (Pixel{200, 150}));
    }

    // The client pixel of a view-space (here: world x, y) point.
    Pixel pixelOf(double x, double y) const { return app.camera().viewToPixel(x, y); }
    void clickAt(Pixel p) { app.leftButtonDown(p.x, p.y); }
    std::vector<std::uint8_t> elementPicks() const { return app.model().elementPicked; }
    std::vector<std::uint8_t> nodePicks() const { return app.model().nodePicked; }

    Application app;
};

// --- The gesture table: clicks counted per mode.

struct StageCase {
    std::string name;
    InteractionMode mode;
    bool rectanglePick;
    int stageAfterFirstClick;
    bool repaintAfterFirstClick;
};

void PrintTo(const StageCase& c, std::ostream* os) {
    *os << c.name;
}

class GestureStages : public Interaction, public ::testing::WithParamInterface<StageCase> {};

TEST_P(GestureStages, FirstClickTakesAPointSecondCompletes) {
    const StageCase& c = GetParam();
    app.setInteractionMode(c.mode);
    app.setRectanglePick(c.rectanglePick);
    app.leftButtonDown(120, 100);
    EXPECT_EQ(app.state().clickStage, c.stageAfterFirstClick);
    EXPECT_EQ(app.takeRepaintDue(), c.repaintAfterFirstClick);
    EXPECT_EQ(app.state().lastMouseX, 120);
    app.leftButtonDown(180, 140);
    EXPECT_EQ(app.state().clickStage, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GestureStages,
    ::testing::Values(
        StageCase{"None", InteractionMode::none, true, 0, false},
        StageCase{"Pan", InteractionMode::pan, true, 1, false},
        StageCase{"ZoomBox", InteractionMode::zoomBox, true, 1, false},
        StageCase{"PickElementsRectangle", InteractionMode::pickElements, true, 1, false},
        StageCase{"PickElementsPoint", InteractionMode::pickElements, false, 0, true},
        StageCase{"PickNodesRectangle", InteractionMode::pickNodes, true, 1, false},
        StageCase{"PickNodesPoint", InteractionMode::pickNodes, false, 0, true},
        StageCase{"UnpickElementsRectangle", InteractionMode::unpickElements, true, 1, false},
        StageCase{"UnpickElementsPoint", InteractionMode::unpickElements, false, 0, true},
        StageCase{"UnpickNodesRectangle", InteractionMode::unpickNodes, true, 1, false},
        StageCase{"UnpickNodesPoint", InteractionMode::unpickNodes, false, 0, true}),
    [](const auto& info) { return info.param.name; });

// --- Pan and zoom box.

TEST_F(Interaction, PanFollowsTheCursorFromTheFirstClick) {
    app.character('p');
    app.leftButtonDown(100, 100);
    app.mouseMove(150, 120);
    EXPECT_EQ(app.camera().originX, 250);
    EXPECT_EQ(app.camera().originY, 170);
    EXPECT_TRUE(app.takeRepaintDue());
    app.leftButtonDown(150, 120);  // the second click adds only what moved since
    EXPECT_EQ(app.camera().originX, 250);
    EXPECT_EQ(app.camera().originY, 170);
    EXPECT_EQ(app.state().clickStage, 0);
    app.mouseMove(300, 300);  // no gesture: moving does nothing
    EXPECT_EQ(app.camera().originX, 250);
}

TEST_F(Interaction, ZoomBoxFillsTheClientArea) {
    const ViewCamera before = app.camera();
    const Point2D a = before.pixelToView({10, 10});
    const Point2D b = before.pixelToView({110, 60});
    app.character('Z');
    app.leftButtonDown(10, 10);
    app.mouseMove(110, 60);
    EXPECT_EQ(app.camera().scale, before.scale);  // the overlay moves, the view does not
    app.leftButtonDown(110, 60);
    // 100 x 50 pixels: the width limits, 400 / (100 / s) = 4 s.
    EXPECT_DOUBLE_EQ(app.camera().scale, 400.0 / std::fabs(a.x - b.x));
    EXPECT_NEAR(app.camera().scale, 4 * before.scale, 1e-9);
    EXPECT_DOUBLE_EQ(app.camera().centerX, (a.x + b.x) * 0.5);
    EXPECT_DOUBLE_EQ(app.camera().centerY, (a.y + b.y) * 0.5);
    EXPECT_EQ(app.camera().originX, 200);
    EXPECT_EQ(app.camera().originY, 150);
    EXPECT_EQ(app.state().dragCurrentX, 110);
}

// No width: the height decides. Both clicks on one pixel: the gesture ends and the
// camera stays as it was, its centre too.
TEST_F(Interaction, ZoomBoxWithoutWidthIsFittedByItsHeight) {
    const ViewCamera before = app.camera();
    app.character('z');
    app.leftButtonDown(10, 10);
    app.leftButtonDown(10, 60);
    // 50 pixels high: 300 / (50 / s) = 6 s.
    EXPECT_NEAR(app.camera().scale, 6 * before.scale, 1e-9);
    EXPECT_EQ(app.camera().originY, 150);

    const ViewCamera zoomed = app.camera();
    app.leftButtonDown(30, 40);
    app.leftButtonDown(30, 40);
    EXPECT_EQ(app.state().clickStage, 0);
    EXPECT_EQ(app.camera().scale, zoomed.scale);
    EXPECT_EQ(app.camera().centerX, zoomed.centerX);
    EXPECT_EQ(app.camera().centerY, zoomed.centerY);
    EXPECT_EQ(app.camera().originX, zoomed.originX);
}

// --- A mode change in the middle of a gesture.

TEST_F(Interaction, ZKeepsTheFirstPointOfAnotherMode) {
    Application reference;
    reference.adoptFile(testing::squareGrid(4, 2), "grid.txt");
    reference.resize(400, 300);
    reference.applyViewAngles(-90, 90, true);
    reference.character('z');
    reference.leftButtonDown(10, 10);
    reference.leftButtonDown(110, 60);

    app.command(selectElementsCommand);
    app.leftButtonDown(10, 10);  // first corner of a pick rectangle
    app.character('Z');
    EXPECT_EQ(app.state().clickStage, 1);
    app.leftButtonDown(110, 60);  // completes a zoom box from that corner
    EXPECT_EQ(app.camera().scale, reference.camera().scale);
    EXPECT_EQ(app.camera().centerX, reference.camera().centerX);
    EXPECT_EQ(app.camera().centerY, reference.camera().centerY);
    EXPECT_EQ(elementPicks(), std::vector<std::uint8_t>(8, 0));
}

TEST_F(Interaction, PStartsThePanAfresh) {
    app.character('z');
    app.leftButtonDown(10, 10);
    app.character('P');
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pan);
    EXPECT_EQ(app.state().clickStage, 0);
    app.leftButtonDown(100, 100);  // only an anchor: nothing moves
    EXPECT_EQ(app.camera().originX, 200);
    EXPECT_EQ(app.state().clickStage, 1);
}

TEST_F(Interaction, LeftoverFirstPointCompletesARectangleEvenWithPointPicking) {
    app.character('z');
    app.leftButtonDown(pixelOf(-0.5, 2.5).x, pixelOf(-0.5, 2.5).y);
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    clickAt(pixelOf(1.5, -0.5));  // a window over elements 0 and 4
    EXPECT_EQ(elementPicks(), (std::vector<std::uint8_t>{1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(app.state().clickStage, 0);
}

// --- Picks through clicks.

TEST_F(Interaction, PointPickTakesTheElementUnderTheCursor) {
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    clickAt(pixelOf(2.5, 1.5));  // element 6: column 2, row 1
    EXPECT_EQ(elementPicks(), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 1, 0}));
    clickAt(pixelOf(5.0, 5.0));  // empty background
    EXPECT_EQ(elementPicks(), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 1, 0}));
    app.setInteractionMode(InteractionMode::unpickElements);
    clickAt(pixelOf(2.5, 1.5));
    EXPECT_EQ(elementPicks(), std::vector<std::uint8_t>(8, 0));
}

TEST_F(Interaction, RectanglePickingNeedsTwoClicks) {
    app.command(selectElementsCommand);
    clickAt(pixelOf(-0.2, -0.2));
    EXPECT_EQ(elementPicks(), std::vector<std::uint8_t>(8, 0));
    clickAt(pixelOf(2.2, 1.2));  // to the right: elements wholly inside
    EXPECT_EQ(elementPicks(), (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Interaction, RectangleDraggedLeftTakesWhatItTouches) {
    app.command(selectElementsCommand);
    clickAt(pixelOf(1.2, 0.8));
    clickAt(pixelOf(0.8, 0.2));
    EXPECT_EQ(elementPicks(), (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Interaction, NodePicksTakeTheNearestNodeAndRectangles) {
    app.command(selectNodesCommand);
    app.setRectanglePick(false);
    clickAt(pixelOf(3.9, 0.2));  // nearest: node (4, 0), index 4
    EXPECT_EQ(nodePicks()[4], 1);
    app.setRectanglePick(true);
    clickAt(pixelOf(-0.1, 2.1));
    clickAt(pixelOf(1.1, 0.9));  // nodes (0..1, 1..2): 5, 6, 10, 11
    std::vector<std::uint8_t> expected(15, 0);
    for (int n : {4, 5, 6, 10, 11})
        expected[n] = 1;
    EXPECT_EQ(nodePicks(), expected);
}

TEST(Picking, FrontMostElementWins) {
    Application app;
    app.adoptFile(testing::stackedSquares(), "stack.txt");
    app.applyViewAngles(-90, 90, true);  // from +z: element 1 (z = 1) is in front
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    const Pixel centre = app.camera().viewToPixel(0.5, 0.5);
    app.leftButtonDown(centre.x, centre.y);
    EXPECT_EQ(app.model().elementPicked, (std::vector<std::uint8_t>{0, 1}));

    app.applyViewAngles(-90, -90, true);  // from -z: element 0 is in front
    const Pixel mirrored = app.camera().viewToPixel(0.5, -0.5);
    app.leftButtonDown(mirrored.x, mirrored.y);
    EXPECT_EQ(app.model().elementPicked, (std::vector<std::uint8_t>{1, 1}));
}

// --- Esc clears the picks of the picking mode only, and always repaints.

struct EscapeCase {
    std::string name;
    InteractionMode mode;
    bool clearsElements;
    bool clearsNodes;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class Escape : public Interaction, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(Escape, ClearsThePicksOfItsMode) {
    app.command(selectElementsCommand);
    clickAt(pixelOf(-1, -1));
    clickAt(pixelOf(5, 3));
    app.command(selectNodesCommand);
    clickAt(pixelOf(-1, -1));
    clickAt(pixelOf(5, 3));
    app.setInteractionMode(GetParam().mode);
    app.takeRepaintDue();

    app.character(escapeCharacter);
    EXPECT_TRUE(app.takeRepaintDue());
    EXPECT_EQ(elementPicks(), std::vector<std::uint8_t>(8, GetParam().clearsElements ? 0 : 1));
    EXPECT_EQ(nodePicks(), std::vector<std::uint8_t>(15, GetParam().clearsNodes ? 0 : 1));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Escape,
    ::testing::Values(EscapeCase{"None", InteractionMode::none, false, false},
                      EscapeCase{"Pan", InteractionMode::pan, false, false},
                      EscapeCase{"ZoomBox", InteractionMode::zoomBox, false, false},
                      EscapeCase{"PickElements", InteractionMode::pickElements, true, false},
                      EscapeCase{"PickNodes", InteractionMode::pickNodes, false, true},
                      EscapeCase{"UnpickElements", InteractionMode::unpickElements, false, false},
                      EscapeCase{"UnpickNodes", InteractionMode::unpickNodes, false, false}),
    [](const auto& info) { return info.param.name; });

// --- The wheel: one step per notch, small deltas add up.

struct WheelCase {
    std::string name;
    InteractionMode mode;
    std::vector<int> deltas;
    int netSteps;  // zoom-in steps minus zoom-out steps
};

void PrintTo(const WheelCase& c, std::ostream* os) {
    *os << c.name;
}

class Wheel : public Interaction, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(Wheel, ZoomsOneStepPerNotch) {
    app.setInteractionMode(GetParam().mode);
    const double before = app.camera().scale;
    for (int delta : GetParam().deltas)
        app.wheel(delta, 123, 77);
    EXPECT_NEAR(app.camera().scale, before * std::pow(1.1, GetParam().netSteps), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Deltas, Wheel,
    ::testing::Values(
        WheelCase{"OneNotchIn", InteractionMode::none, {120}, 1},
        WheelCase{"OneNotchOut", InteractionMode::none, {-120}, -1},
        WheelCase{"DoubleNotchIsOneStep", InteractionMode::none, {240}, 1},
        WheelCase{"LargeOutIsOneStep", InteractionMode::none, {-600}, -1},
        WheelCase{"ZeroDoesNothing", InteractionMode::none, {0}, 0},
        WheelCase{"TouchpadAddsUp", InteractionMode::none, {30, 30, 30, 30}, 1},
        WheelCase{"TouchpadShortOfANotch", InteractionMode::none, {30, 30, 30}, 0},
        WheelCase{"TouchpadTwoNotches", InteractionMode::none, {30, 30, 30, 30, 30, 30, 30, 30}, 2},
        WheelCase{"TouchpadOut", InteractionMode::none, {-40, -40, -40}, -1},
        WheelCase{"TouchpadBackAndForth", InteractionMode::none, {60, -60, 60}, 0},
        WheelCase{"NotchDropsTheRemainder", InteractionMode::none, {100, 120, 20}, 1},
        WheelCase{"PanMode", InteractionMode::pan, {120}, 1},
        WheelCase{"ZoomBoxMode", InteractionMode::zoomBox, {-120}, -1},
        WheelCase{"PickElementsIgnores", InteractionMode::pickElements, {120, 120}, 0},
        WheelCase{"PickNodesIgnores", InteractionMode::pickNodes, {120}, 0},
        WheelCase{"UnpickElementsIgnores", InteractionMode::unpickElements, {-120}, 0},
        WheelCase{"UnpickNodesIgnores", InteractionMode::unpickNodes, {30, 30, 30, 30}, 0}),
    [](const auto& info) { return info.param.name; });

TEST_F(Interaction, WheelKeepsThePointUnderTheCursor) {
    const Point2D under = app.camera().pixelToView({123, 77});
    app.wheel(120, 123, 77);
    EXPECT_EQ(app.camera().viewToPixel(under), (Pixel{123, 77}));
    app.wheel(-120, 123, 77);
    EXPECT_NEAR(app.camera().scale, 95.0, 1e-9);
    EXPECT_TRUE(app.takeRepaintDue());
}

// --- Keys.

void expectSameMatrix(const Matrix4& a, const Matrix4& b, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], tolerance) << "entry " << i;
}

TEST_F(Interaction, UpThenDownRestoresTheView) {
    const Matrix4 before = app.camera().viewMatrix;
    const Point2D corner = app.model().projectedNodes[0];
    app.keyDown(ArrowKey::up);
    EXPECT_GT(std::fabs(app.model().projectedNodes[0].y - corner.y), 1e-3);  // projected anew
    app.keyDown(ArrowKey::down);
    expectSameMatrix(app.camera().viewMatrix, before, 1e-12);
    EXPECT_NEAR(app.model().projectedNodes[0].y, corner.y, 1e-12);
}

TEST_F(Interaction, SeventyTwoRightsTurnFullCircle) {
    const Matrix4 before = app.camera().viewMatrix;
    const double scale = app.camera().scale;
    for (int i = 0; i < 72; ++i)
        app.keyDown(ArrowKey::right);
    expectSameMatrix(app.camera().viewMatrix, before, 1e-9);
    EXPECT_EQ(app.camera().scale, scale);  // rotations do not fit
    EXPECT_TRUE(app.takeRepaintDue());
}

TEST_F(Interaction, OReturnsToTheStoredAnglesAndFits) {
    app.keyDown(ArrowKey::left);
    app.wheel(120, 10, 10);
    app.character('o');
    EXPECT_EQ(app.camera().alpha, std::acos(-1.0) * (-90.0 / 180));
    expectSameMatrix(
        app.camera().viewMatrix,
        [] {
            ViewCamera c;
            c.buildViewMatrix(-std::acos(-1.0) / 2, std::acos(-1.0) / 2);
            return c.viewMatrix;
        }(),
        1e-15);
    EXPECT_NEAR(app.camera().scale, 95.0, 1e-9);
}

TEST_F(Interaction, AFitsWithoutTurning) {
    app.keyDown(ArrowKey::up);
    const Matrix4 turned = app.camera().viewMatrix;
    app.wheel(120, 10, 10);
    app.character('A');
    EXPECT_EQ(app.camera().viewMatrix, turned);
    EXPECT_EQ(app.camera().originX, 200);
}

TEST_F(Interaction, OtherCharactersDoNothing) {
    const InteractionMode mode = app.state().interactionMode;
    for (char32_t c : {U'x', U'1', U' ', U'\r'})
        app.character(c);
    EXPECT_EQ(app.state().interactionMode, mode);
    EXPECT_FALSE(app.takeRepaintDue());
}

// --- Painting: background, and the rubber band of a gesture under way.

const Rgb magenta{255, 0, 255};
const Rgb white{255, 255, 255};

TEST_F(Interaction, ZoomBoxOverlayFollowsTheCursor) {
    app.character('z');
    app.leftButtonDown(10, 20);
    app.mouseMove(110, 60);
    RecordingCanvas canvas(400, 300);
    app.paint(canvas);
    ASSERT_FALSE(canvas.paths.empty());
    const RecordingCanvas::Path& band = canvas.paths.back();
    EXPECT_EQ(band.pen.colour, white);
    EXPECT_EQ(band.pen.style, PenStyle::solid);
    EXPECT_EQ(band.corners.front(), (Pixel{10, 20}));
    EXPECT_EQ(band.corners[2], (Pixel{110, 60}));
}

TEST_F(Interaction, PickRectangleIsDashedWhenDraggedLeft) {
    app.command(selectNodesCommand);
    app.leftButtonDown(200, 100);
    app.mouseMove(150, 160);
    RecordingCanvas canvas(400, 300);
    app.paint(canvas);
    ASSERT_FALSE(canvas.paths.empty());
    EXPECT_EQ(canvas.paths.back().pen.colour, magenta);
    EXPECT_EQ(canvas.paths.back().pen.style, PenStyle::dashed);
}

TEST_F(Interaction, NoRubberBandWithoutAGestureUnderWay) {
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    app.mouseMove(150, 160);
    app.command(whiteBackgroundCommand);
    RecordingCanvas canvas(400, 300);
    app.paint(canvas);
    EXPECT_EQ(canvas.background, white);
    for (const auto& path : canvas.paths)
        EXPECT_NE(path.pen.colour, magenta);
}

TEST(Painting, WithoutAModelOnlyTheBackground) {
    Application app;
    app.character('z');
    app.leftButtonDown(10, 10);
    RecordingCanvas canvas(800, 600);
    app.paint(canvas);
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.background, (Rgb{0, 0, 0}));
    EXPECT_TRUE(canvas.paths.empty());
}

}  // namespace
}  // namespace corvelt
