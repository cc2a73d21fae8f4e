// The application state a session starts from: every run begins the same way.

#include <gtest/gtest.h>

#include <cmath>

#include "app/AppState.h"

namespace corvelt {
namespace {

TEST(AppStateStart, PlotOptionsShowTheSeContourAndNothingElse) {
    const AppState state;
    EXPECT_TRUE(state.contourOn);
    EXPECT_EQ(state.componentIndex, Se);
    EXPECT_EQ(state.checkedComponentItem(), 40009);
    EXPECT_EQ(state.elementOutlinePlot, PlotScope::none);
    EXPECT_EQ(state.nodePlot, PlotScope::none);
    EXPECT_EQ(state.elementPlot, PlotScope::none);
    EXPECT_EQ(state.nodeNumberPlot, PlotScope::none);
    EXPECT_EQ(state.elementNumberPlot, PlotScope::none);
    EXPECT_EQ(static_cast<int>(PlotScope::none), 2);
}

TEST(AppStateStart, BackgroundIsBlack) {
    const AppState state;
    EXPECT_EQ(state.backgroundIndex, 0);
    EXPECT_EQ(state.checkedBackgroundItem(), 40019);
    EXPECT_EQ(state.backgroundColor(), (Rgb{0, 0, 0}));
    EXPECT_EQ(state.backgroundColors[1], (Rgb{255, 255, 255}));
}

TEST(AppStateStart, InteractionAndSelectionStartNeutral) {
    const AppState state;
    EXPECT_EQ(state.interactionMode, InteractionMode::none);
    EXPECT_EQ(state.clickStage, 0);
    EXPECT_EQ(state.rectanglePick, 1);
    EXPECT_EQ(state.elementSelectMode, SelectMode::reselect);
    EXPECT_EQ(state.nodeSelectMode, SelectMode::reselect);
    EXPECT_FALSE(state.onlyFromSelectedElements);
    EXPECT_FALSE(state.onlyFromSelectedNodes);
    EXPECT_FALSE(state.viewKitDialogOpen);
    EXPECT_FALSE(state.selectElementsDialogOpen);
    EXPECT_FALSE(state.selectNodesDialogOpen);
    EXPECT_FALSE(state.modelLoaded);
}

TEST(AppStateStart, RotationStepIsFiveDegreesAsComputedInDouble) {
    const AppState state;
    EXPECT_EQ(state.rotationStep, std::acos(-1.0) * (1.0 / 36));
    EXPECT_EQ(state.rotationStep, std::acos(-1.0) * 0.027777777777777776);
}

}  // namespace
}  // namespace corvelt
