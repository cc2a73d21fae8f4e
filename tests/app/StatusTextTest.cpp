#include "app/StatusText.h"

#include <gtest/gtest.h>

#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/CommandId.h"

namespace corvelt {
namespace {

struct ModeCase {
    std::string name;
    InteractionMode mode;
    int rectanglePick;
    int clickStage;
    std::string text;
};

class ModeText : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeText, SaysWhatTheLeftButtonDoes) {
    AppState state;
    state.interactionMode = GetParam().mode;
    state.rectanglePick = GetParam().rectanglePick;
    state.clickStage = GetParam().clickStage;
    EXPECT_EQ(modeStatusText(state), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeText,
    ::testing::Values(
        ModeCase{"None", InteractionMode::none, 1, 0, "Turn"},
        ModeCase{"Pan", InteractionMode::pan, 1, 0,
                 "Pan: click, move, click (View > Turn Mode to turn)"},
        ModeCase{"ZoomBoxWaiting", InteractionMode::zoomBox, 1, 0,
                 "Zoom box: click, click (View > Turn Mode to turn)"},
        ModeCase{"PanUnderWay", InteractionMode::pan, 1, 1, "Pan: click the second point"},
        ModeCase{"ZoomBox", InteractionMode::zoomBox, 0, 1, "Zoom box: click the second point"},
        ModeCase{"PickElements", InteractionMode::pickElements, 1, 0,
                 "Pick elements in a rectangle"},
        ModeCase{"PickNodesPoint", InteractionMode::pickNodes, 0, 0, "Pick nodes at a point"},
        ModeCase{"UnpickElements", InteractionMode::unpickElements, 1, 1,
                 "Unpick elements in a rectangle: click the second point"},
        ModeCase{"UnpickNodes", InteractionMode::unpickNodes, 0, 0, "Unpick nodes at a point"}),
    [](const auto& info) { return info.param.name; });

TEST(CountText, CountsTheModelTheSelectionAndThePicks) {
    Application app;
    EXPECT_EQ(countStatusTexts(app).model, "No model");
    EXPECT_EQ(countStatusTexts(app).selection, "");

    app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    app.applyViewAngles(-90, 90, true);
    app.leftButtonDown(app.state().clientWidth / 2 + 5, app.state().clientHeight / 2 + 5);
    const CountTexts texts = countStatusTexts(app);
    EXPECT_EQ(texts.model, "15 nodes, 8 elements");
    EXPECT_EQ(texts.selection, "Selected: 8 elements, 15 nodes");
    EXPECT_EQ(texts.picks, "Picked: 1 element, 0 nodes");
}

TEST(LoadTimeText, HundredthsOfASecond) {
    EXPECT_EQ(loadTimeText(0.4249), "Loaded in 0.42 s");
    EXPECT_EQ(loadTimeText(12.0), "Loaded in 12.00 s");
    EXPECT_EQ(loadTimeText(-1.0), "Loaded in 0.00 s");
}

}  // namespace
}  // namespace corvelt
