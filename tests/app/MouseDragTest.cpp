// Drags beside the clicks: the left button turns the model in mode none, the middle
// button pans in every mode, and neither changes what a click does.
#include <gtest/gtest.h>

#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"

namespace corvelt {
namespace {

// The 4 x 2 grid seen from +z in a 400 x 300 client (origin 200, 150).
class Drag : public ::testing::Test {
  protected:
    void SetUp() override { prepare(app); }

    static void prepare(Application& a) {
        a.adoptFile(testing::squareGrid(4, 2), "grid.txt");
        a.resize(400, 300);
        a.applyViewAngles(-90, 90, true);
        a.takeRepaintDue();
    }

    void drag(MouseButton button, Pixel from, Pixel to) {
        app.buttonDown(button, from.x, from.y);
        app.mouseMove(to.x, to.y);
        app.buttonUp(button, to.x, to.y);
    }

    Application app;
};

void expectSameMatrix(const Matrix4& a, const Matrix4& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(a[i], b[i], 1e-14) << "entry " << i;
}

struct TurnCase {
    std::string name;
    Pixel to;  // from (100, 100)
    ArrowKey key;
};

class DragTurn : public Drag, public ::testing::WithParamInterface<TurnCase> {};

// Ten pixels turn as far as one arrow key, about the same screen axis.
TEST_P(DragTurn, TenPixelsTurnAsOneArrowKey) {
    Application reference;
    prepare(reference);
    reference.keyDown(GetParam().key);
    drag(MouseButton::left, {100, 100}, GetParam().to);
    expectSameMatrix(app.camera().viewMatrix, reference.camera().viewMatrix);
    EXPECT_EQ(app.model().projectedNodes.front().x, reference.model().projectedNodes.front().x);
    EXPECT_TRUE(app.takeRepaintDue());
    EXPECT_FALSE(app.dragButton());
}

INSTANTIATE_TEST_SUITE_P(Directions, DragTurn,
                         ::testing::Values(TurnCase{"Right", {110, 100}, ArrowKey::right},
                                           TurnCase{"Left", {90, 100}, ArrowKey::left},
                                           TurnCase{"Down", {100, 110}, ArrowKey::down},
                                           TurnCase{"Up", {100, 90}, ArrowKey::up}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Drag, TurnIsContinuousAndKeepsTheScreenMapping) {
    const ViewCamera before = app.camera();
    app.buttonDown(MouseButton::left, 100, 100);
    app.mouseMove(103, 100);
    const Matrix4 firstStep = app.camera().viewMatrix;
    EXPECT_NE(firstStep, before.viewMatrix);
    app.mouseMove(100, 100);  // back where it started
    app.buttonUp(MouseButton::left, 100, 100);
    expectSameMatrix(app.camera().viewMatrix, before.viewMatrix);
    EXPECT_EQ(app.camera().scale, before.scale);
    EXPECT_EQ(app.camera().originX, before.originX);
}

// A press and release without a move is the plain click of mode none.
TEST_F(Drag, ClickWithoutMoveChangesNothing) {
    const Matrix4 before = app.camera().viewMatrix;
    app.buttonDown(MouseButton::left, 100, 100);
    app.buttonUp(MouseButton::left, 100, 100);
    EXPECT_EQ(app.camera().viewMatrix, before);
    EXPECT_EQ(app.state().clickStage, 0);
    EXPECT_FALSE(app.takeRepaintDue());
}

// In the modes of the gestures the left button clicks and does not turn.
TEST_F(Drag, LeftDragInPanModeIsThePansFirstClick) {
    app.character('p');
    const Matrix4 before = app.camera().viewMatrix;
    drag(MouseButton::left, {100, 100}, {130, 110});
    EXPECT_EQ(app.camera().viewMatrix, before);
    EXPECT_EQ(app.state().clickStage, 1);
    EXPECT_EQ(app.camera().originX, 230);  // the pan gesture follows the move
    EXPECT_EQ(app.camera().originY, 160);
}

TEST_F(Drag, OnlyItsOwnButtonEndsADrag) {
    app.buttonDown(MouseButton::middle, 100, 100);
    app.buttonUp(MouseButton::left, 100, 100);
    EXPECT_EQ(app.dragButton(), MouseButton::middle);
    app.buttonUp(MouseButton::middle, 110, 100);
    app.mouseMove(200, 200);  // no button held: nothing moves
    EXPECT_EQ(app.camera().originX, 210);
    EXPECT_EQ(app.camera().originY, 150);
}

class MiddleDrag : public Drag, public ::testing::WithParamInterface<InteractionMode> {};

// Panning keeps the gesture state and the picks of every mode.
TEST_P(MiddleDrag, PansInEveryMode) {
    app.setInteractionMode(GetParam());
    drag(MouseButton::middle, {100, 100}, {140, 75});
    EXPECT_EQ(app.camera().originX, 240);
    EXPECT_EQ(app.camera().originY, 125);
    EXPECT_EQ(app.state().clickStage, 0);
    EXPECT_EQ(app.model().elementPicked, std::vector<std::uint8_t>(8, 0));
    EXPECT_TRUE(app.takeRepaintDue());
}

INSTANTIATE_TEST_SUITE_P(Modes, MiddleDrag,
                         ::testing::Values(InteractionMode::none, InteractionMode::pan,
                                           InteractionMode::zoomBox, InteractionMode::pickElements,
                                           InteractionMode::pickNodes,
                                           InteractionMode::unpickElements,
                                           InteractionMode::unpickNodes));

// During a pan gesture the picture follows the cursor once, not twice.
TEST_F(Drag, MiddleDragDuringAPanGestureDoesNotPanTwice) {
    app.character('p');
    app.leftButtonDown(100, 100);
    drag(MouseButton::middle, {100, 100}, {120, 100});
    EXPECT_EQ(app.camera().originX, 220);
}

TEST_F(Drag, BatchDragLine) {
    BatchSession session;
    runBatchCommand(*parseBatchLine("drag middle 10 10 30 -5"), app, nullptr, session);
    EXPECT_EQ(app.camera().originX, 220);
    EXPECT_EQ(app.camera().originY, 135);
    EXPECT_FALSE(app.dragButton());
}

}  // namespace
}  // namespace corvelt
