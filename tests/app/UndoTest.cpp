// Undo and redo: every operation that changes selected or picked flags is one named
// step that undo takes back exactly and redo makes again; one that changes nothing
// is none. Turn Mode leaves every mode and gesture.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/StateDump.h"

namespace corvelt {
namespace {

using Flags = std::array<std::vector<std::uint8_t>, 4>;

Flags flagsOf(const Application& app) {
    const ShellModel& m = app.model();
    return {m.elementSelected, m.elementPicked, m.nodeSelected, m.nodePicked};
}

// The 4 x 2 grid seen from +z in a 400 x 300 client, both selection dialogs open:
// elements 0 .. 3 selected and 2, 5 picked, nodes 1 and 9 picked, every node
// selected; the mouse picks nodes at a point.
class Undo : public ::testing::Test {
  public:
    void SetUp() override {
        app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
        app.resize(400, 300);
        app.applyViewAngles(-90, 90, true);
        app.command(selectElementsCommand);
        clickAt(-0.2, -0.2);
        clickAt(4.2, 1.2);
        press(DialogKind::selectElements, SelectElementsControl::apply);
        app.setRectanglePick(false);
        clickAt(2.5, 0.5);
        clickAt(1.5, 1.5);
        app.command(selectNodesCommand);
        app.setRectanglePick(false);
        clickAt(1.0, 0.0);
        clickAt(4.0, 1.0);
    }

    void clickAt(double x, double y) {
        const Pixel p = app.camera().viewToPixel(x, y);
        app.leftButtonDown(p.x, p.y);
    }
    void press(DialogKind kind, int control) {
        app.pressDialogControl(app.newestDialog(kind)->id, control);
    }

    Application app;
};

struct StepCase {
    std::string name;
    std::function<void(Undo&)> operation;
    std::optional<std::string> step;  // its name; none when it changes nothing
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << c.name;
}

class UndoSteps : public Undo, public ::testing::WithParamInterface<StepCase> {};

TEST_P(UndoSteps, UndoRestoresTheFlagsAndRedoMakesTheStepAgain) {
    const StepCase& c = GetParam();
    const Flags before = flagsOf(app);
    const std::size_t steps = app.history().undoCount();
    c.operation(*this);
    const Flags after = flagsOf(app);
    if (!c.step) {
        EXPECT_EQ(app.history().undoCount(), steps);
        EXPECT_EQ(after, before);
        return;
    }
    ASSERT_NE(after, before) << "the case must change a flag";
    EXPECT_EQ(app.history().undoCount(), steps + 1);
    EXPECT_EQ(app.undoText(), "Undo " + *c.step);
    EXPECT_EQ(app.redoText(), "Redo");

    app.takeRepaintDue();
    app.command(undoCommand);
    EXPECT_EQ(flagsOf(app), before);
    EXPECT_TRUE(app.takeRepaintDue());
    EXPECT_EQ(app.redoText(), "Redo " + *c.step);
    app.command(redoCommand);
    EXPECT_EQ(flagsOf(app), after);
    EXPECT_EQ(app.history().redoCount(), 0u);
}

const auto pressing = [](DialogKind kind, std::vector<int> controls) {
    return [=](Undo& t) {
        for (const int control : controls)
            t.press(kind, control);
    };
};
const auto clickingAt = [](InteractionMode mode, bool rectangle,
                           std::vector<std::pair<double, double>> points) {
    return [=](Undo& t) {
        t.app.setInteractionMode(mode);
        t.app.setRectanglePick(rectangle);
        for (const auto& [x, y] : points)
            t.clickAt(x, y);
    };
};
const auto typing = [](InteractionMode mode, char32_t c) {
    return [=](Undo& t) {
        t.app.setInteractionMode(mode);
        t.app.character(c);
    };
};

constexpr auto e = DialogKind::selectElements;
constexpr auto n = DialogKind::selectNodes;
using E = SelectElementsControl;
using N = SelectNodesControl;

INSTANTIATE_TEST_SUITE_P(
    Operations, UndoSteps,
    ::testing::Values(
        StepCase{"ElementApply", pressing(e, {E::apply}), "Apply (Reselect)"},
        StepCase{"ElementApplyAlso", pressing(e, {E::reselect + 1, E::apply}),
                 "Apply (Also Select)"},
        StepCase{"NodeApplyUnselect", pressing(n, {N::unselect, N::apply}), "Apply (Unselect)"},
        StepCase{"ElementSelectAll", pressing(e, {E::selectAll}), "Select All"},
        StepCase{"ElementSelectNone", pressing(e, {E::selectNone}), "Select None"},
        StepCase{"ElementInvert", pressing(e, {E::invert}), "Invert"},
        StepCase{"NodeSelectNone", pressing(n, {N::selectNone}), "Select None"},
        StepCase{"NodeInvert", pressing(n, {N::invert}), "Invert"},
        StepCase{"NodesInElements", pressing(n, {N::nodesInSelectedElements}),
                 "Select Nodes In Elements Selected"},
        StepCase{"ElementReset", pressing(e, {E::reset}), "Reset"},
        StepCase{"NodeReset", pressing(n, {N::reset}), "Reset"},
        StepCase{"ElementExit", pressing(e, {E::exit}), "Close Select Element(s)"},
        StepCase{"ElementCancel", pressing(e, {cancelControl}), "Close Select Element(s)"},
        StepCase{"PointPick", clickingAt(InteractionMode::pickElements, false, {{3.5, 1.5}}),
                 "Pick"},
        StepCase{"PointUnpick", clickingAt(InteractionMode::unpickElements, false, {{2.5, 0.5}}),
                 "Unpick"},
        StepCase{"RectanglePick",
                 clickingAt(InteractionMode::pickNodes, true, {{-0.2, 1.8}, {4.2, 2.2}}), "Pick"},
        StepCase{"EscOfElementPicks", typing(InteractionMode::pickElements, escapeCharacter),
                 "Esc"},
        StepCase{"EscOfNodePicks", typing(InteractionMode::pickNodes, escapeCharacter), "Esc"},
        // Nothing changes: no step.
        StepCase{"NodeSelectAll", pressing(n, {N::selectAll}), std::nullopt},
        StepCase{"ResetTwice", pressing(e, {E::reset, E::reset}), "Reset"},
        StepCase{"NodeExit", pressing(n, {N::exit}), std::nullopt},
        StepCase{"EscInUnpickMode", typing(InteractionMode::unpickNodes, escapeCharacter),
                 std::nullopt},
        StepCase{"PickOffTheModel", clickingAt(InteractionMode::pickElements, false, {{9, 9}}),
                 std::nullopt},
        StepCase{"FirstCornerOnly", clickingAt(InteractionMode::pickElements, true, {{0, 0}}),
                 std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST_F(Undo, FromFileIsAStepAndARefusedFileNone) {
    const testing::TempDir dir;
    std::ofstream(dir.file("good.txt")) << "6 7\n";
    std::ofstream(dir.file("bad.txt")) << "6 x\n";
    const Flags before = flagsOf(app);
    app.readSelectionFile(ItemKind::elements, dir.file("good.txt"));
    EXPECT_EQ(app.history().nextUndo(), "From File");
    const std::size_t steps = app.history().undoCount();
    EXPECT_ANY_THROW(app.readSelectionFile(ItemKind::elements, dir.file("bad.txt")));
    EXPECT_EQ(app.history().undoCount(), steps);
    app.command(undoCommand);
    EXPECT_EQ(flagsOf(app), before);
}

// A new step after an undo drops what could be redone; opening a file forgets all.
TEST_F(Undo, ANewStepDropsTheRedoAndOpeningAFileForgetsEveryStep) {
    press(DialogKind::selectElements, SelectElementsControl::invert);
    app.command(undoCommand);
    press(DialogKind::selectElements, SelectElementsControl::selectNone);
    EXPECT_EQ(app.history().redoCount(), 0u);
    app.command(undoCommand);
    ASSERT_EQ(app.history().nextRedo(), "Select None");
    app.adoptFile(testing::squareGrid(2, 1), "small.txt");
    EXPECT_EQ(app.history().undoCount(), 0u);
    EXPECT_EQ(app.history().redoCount(), 0u);
    EXPECT_EQ(app.undoText(), "Undo");
    app.takeRepaintDue();
    app.command(undoCommand);
    EXPECT_FALSE(app.takeRepaintDue()) << "nothing to undo, nothing to repaint";
}

// Turn Mode drops whatever gesture has its first point and leaves the mode for good.
TEST_F(Undo, TurnModeLeavesEveryModeAndGesture) {
    for (const char32_t key : {U'p', U'z'}) {
        app.character(key);
        app.leftButtonDown(50, 50);
        ASSERT_EQ(app.state().clickStage, 1);
        const ViewCamera camera = app.camera();
        EXPECT_EQ(app.command(turnModeCommand), CommandOutcome::done);
        EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
        EXPECT_EQ(app.state().clickStage, 0);
        app.mouseMove(120, 90);
        app.leftButtonDown(120, 90);
        EXPECT_EQ(app.camera().originX, camera.originX);
        EXPECT_EQ(app.camera().scale, camera.scale);
    }
}

// The batch's commands 40041 .. 40043 and the state's history.
TEST_F(Undo, BatchCommandsAndTheHistoryInTheState) {
    const testing::TempDir dir;
    const std::string state = dir.file("s.json").string();
    std::istringstream script("button elements 1063\ncommand 40042\nstate " + state +
                              "\ncommand 40043\ncommand 40041\nstate " + state + "2\n");
    ASSERT_FALSE(runBatch(script, app, nullptr));
    std::ifstream first(state), second(state + "2");
    const nlohmann::json undone = nlohmann::json::parse(first)["history"];
    const nlohmann::json redone = nlohmann::json::parse(second)["history"];
    EXPECT_EQ(undone["redo"], 1);
    EXPECT_EQ(undone["nextRedo"], "Invert");
    EXPECT_EQ(undone["nextUndo"], "Pick");
    EXPECT_EQ(redone["redo"], 0);
    EXPECT_TRUE(redone["nextRedo"].is_null());
    EXPECT_EQ(redone["nextUndo"], "Invert");
    EXPECT_EQ(redone["undo"], undone["undo"].get<int>() + 1);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
}

}  // namespace
}  // namespace corvelt
