#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/CommandId.h"

namespace corvelt {
namespace {

const double pi = std::acos(-1.0);

TEST(StartState, IsThatOfAFreshWindow) {
    const Application app;
    const AppState& s = app.state();
    EXPECT_TRUE(s.contourOn);
    EXPECT_EQ(s.componentIndex, Se);
    EXPECT_EQ(s.checkedComponentItem(), contourSeCommand);
    for (PlotScope scope :
         {s.nodePlot, s.elementOutlinePlot, s.elementPlot, s.nodeNumberPlot, s.elementNumberPlot})
        EXPECT_EQ(scope, PlotScope::none);
    EXPECT_EQ(s.backgroundIndex, 0);
    EXPECT_EQ(s.checkedBackgroundItem(), 40019);
    EXPECT_EQ(s.backgroundColor(), (Rgb{0, 0, 0}));
    EXPECT_EQ(s.backgroundColors[1], (Rgb{255, 255, 255}));
    EXPECT_FALSE(s.viewKitDialogOpen);
    EXPECT_FALSE(s.selectElementsDialogOpen);
    EXPECT_FALSE(s.selectNodesDialogOpen);
    EXPECT_EQ(s.interactionMode, InteractionMode::none);
    EXPECT_EQ(s.clickStage, 0);
    EXPECT_EQ(s.rectanglePick, 1);
    EXPECT_EQ(s.elementSelectMode, SelectMode::reselect);
    EXPECT_EQ(s.nodeSelectMode, SelectMode::reselect);
    EXPECT_FALSE(s.onlyFromSelectedElements);
    EXPECT_FALSE(s.onlyFromSelectedNodes);
    EXPECT_FALSE(s.modelLoaded);
    EXPECT_EQ(s.rotationStep, std::acos(-1.0) * (1.0 / 36));
    EXPECT_EQ(s.rotationStep, std::acos(-1.0) * 0.027777777777777776);
    EXPECT_EQ(s.clientWidth, Application::defaultClientWidth);
    EXPECT_EQ(s.clientHeight, Application::defaultClientHeight);
    EXPECT_EQ(app.camera().screenWidth, Application::defaultClientWidth);
}

TEST(StartState, CameraLooksFromTheStartAngles) {
    const Application app;
    EXPECT_EQ(app.state().viewAlphaDegrees, 45.0);
    EXPECT_EQ(app.state().viewBetaDegrees, 35.26);
    EXPECT_EQ(app.camera().alpha, pi * 0.25);
    EXPECT_EQ(app.camera().beta, pi * 0.1958888888888889);
    // World z points straight up the screen.
    EXPECT_NEAR(app.camera().viewMatrix[8], 0.0, 1e-15);
    EXPECT_GT(app.camera().viewMatrix[9], 0.0);
}

class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(3, 2));
        testing::writeResultFile(dir.file("stack.txt"), testing::stackedSquares());
    }

    // A model that has been worked with: loaded, turned, zoomed, picked.
    void workWith(Application& app) {
        app.openFile(dir.file("grid.txt"));
        app.keyDown(ArrowKey::left);
        app.wheel(120, 300, 200);
        app.command(selectElementsCommand);
        app.leftButtonDown(-1000, -1000);
        app.leftButtonDown(2000, 2000);
        app.command(plotAllNodesCommand);
    }

    testing::TempDir dir;
};

TEST_F(Loading, OpenShowsTheModelAtTheStoredAnglesFitted) {
    Application app;
    app.openFile(dir.file("grid.txt"));
    EXPECT_TRUE(app.state().modelLoaded);
    EXPECT_EQ(app.state().resultFileName, dir.file("grid.txt").string());
    EXPECT_EQ(app.model().nodeCount(), 12);
    EXPECT_EQ(app.model().elementCount(), 6);
    EXPECT_EQ(app.camera().worldMaxX, 3.0);
    EXPECT_EQ(app.camera().originX, 400);
    EXPECT_EQ(app.camera().alpha, pi * 0.25);
    // Fitted: the projected model spans 95 % of the limiting client side.
    const ViewCamera& c = app.camera();
    const double spanX = (c.viewMaxX - c.viewMinX) * c.scale;
    const double spanY = (c.viewMaxY - c.viewMinY) * c.scale;
    EXPECT_NEAR(std::max(spanX / 800, spanY / 600), 0.95, 1e-12);
    EXPECT_TRUE(app.takeRepaintDue());
}

TEST_F(Loading, ReopenReplacesTurnsAndSelectionButKeepsPlotOptions) {
    Application app;
    workWith(app);
    app.openFile(dir.file("stack.txt"));
    EXPECT_EQ(app.camera().alpha, pi * 0.25);
    Application fresh;
    fresh.openFile(dir.file("stack.txt"));
    EXPECT_EQ(app.camera().viewMatrix, fresh.camera().viewMatrix);
    EXPECT_EQ(app.camera().scale, fresh.camera().scale);
    EXPECT_EQ(app.model().elementPicked, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(app.model().elementSelected, (std::vector<std::uint8_t>{1, 1}));
    EXPECT_EQ(app.state().nodePlot, PlotScope::all);
    EXPECT_EQ(app.model().nodePlot, PlotScope::all);
}

// The old program ended the process on a bad file and lost the user's work; a
// refused file must leave everything as it was.
TEST_F(Loading, RefusedFileKeepsModelViewAndSelection) {
    std::ofstream(dir.file("broken.txt")) << "NPOIN=2\nNELEM=0\n0,0,0\n1,oops,0\n";
    std::ofstream(dir.file("empty.txt")) << "NPOIN=0\nNELEM=0\n";
    Application app;
    workWith(app);
    const ViewCamera camera = app.camera();
    const std::vector<std::uint8_t> picks = app.model().elementPicked;
    ASSERT_NE(picks, std::vector<std::uint8_t>(6, 0));

    for (const char* name : {"missing.txt", "broken.txt", "empty.txt"}) {
        EXPECT_THROW(app.openFile(dir.file(name)), ResultFileError) << name;
        EXPECT_EQ(app.model().nodeCount(), 12) << name;
        EXPECT_EQ(app.model().elementPicked, picks) << name;
        EXPECT_EQ(app.camera().viewMatrix, camera.viewMatrix) << name;
        EXPECT_EQ(app.camera().scale, camera.scale) << name;
        EXPECT_EQ(app.camera().originX, camera.originX) << name;
        EXPECT_EQ(app.state().resultFileName, dir.file("grid.txt").string()) << name;
        EXPECT_TRUE(app.state().modelLoaded);
    }
}

// Prepared on another thread from settings taken before the window was resized: the
// adoption shows what opening the file in the resized window shows. A progress that
// says stop during the preparation stops it, and nothing changes.
TEST_F(Loading, PreparedElsewhereAsIfOpenedHereAndCancelledAtAnyPart) {
    Application app;
    workWith(app);
    const std::filesystem::path stack = dir.file("stack.txt");
    std::vector<double> told;
    PreparedResult prepared =
        Application::prepareFile(stack, app.loadSettings(), [&told](double fraction) {
            told.push_back(fraction);
            return true;
        });
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 1.0);
    const std::size_t preparationParts = 2 + FramePainter::preparationParts;
    ASSERT_GT(told.size(), preparationParts);

    app.resize(500, 300);
    app.adoptPrepared(std::move(prepared), stack);
    Application fresh;
    fresh.resize(500, 300);
    fresh.openFile(stack);
    EXPECT_EQ(app.camera().viewMatrix, fresh.camera().viewMatrix);
    EXPECT_EQ(app.camera().scale, fresh.camera().scale);
    EXPECT_EQ(app.camera().originX, 250);
    EXPECT_EQ(app.model().projectedNodes.back().x, fresh.model().projectedNodes.back().x);
    EXPECT_EQ(app.model().elementPicked, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(app.model().nodePlot, PlotScope::all);

    for (std::size_t part = told.size() - preparationParts; part < told.size(); ++part) {
        const double stopAt = told[part];
        EXPECT_THROW(
            Application::prepareFile(stack, app.loadSettings(),
                                     [stopAt](double fraction) { return fraction != stopAt; }),
            ReadCancelled)
            << stopAt;
    }
    EXPECT_EQ(app.model().elementCount(), 2);
}

TEST_F(Loading, RefusedFirstFileLeavesNoModel) {
    Application app;
    EXPECT_THROW(app.openFile(dir.file("missing.txt")), ResultFileError);
    EXPECT_FALSE(app.state().modelLoaded);
    EXPECT_EQ(app.model().nodeCount(), 0);
}

TEST(Adopting, RefusesDataThePaintersCannotDraw) {
    Application app;
    app.adoptFile(testing::squareGrid(1, 1), "one.txt");
    ResultData noNodes;
    EXPECT_THROW(app.adoptFile(std::move(noNodes), "none.txt"), std::invalid_argument);
    ResultData badCorner = testing::squareGrid(1, 1);
    badCorner.connectivity[2] = 4;
    EXPECT_THROW(app.adoptFile(std::move(badCorner), "bad.txt"), std::invalid_argument);
    ResultData shortConnectivity = testing::squareGrid(1, 1);
    shortConnectivity.connectivity.pop_back();
    EXPECT_THROW(app.adoptFile(std::move(shortConnectivity), "short.txt"), std::invalid_argument);
    EXPECT_EQ(app.model().nodeCount(), 4);
    EXPECT_EQ(app.state().resultFileName, "one.txt");
}

TEST(Resizing, FitsAgainAfterPanAndZoom) {
    Application app;
    app.adoptFile(testing::squareGrid(2, 2), "grid.txt");
    app.resize(400, 300);
    const ViewCamera fitted = app.camera();
    app.character('p');
    app.leftButtonDown(10, 10);
    app.leftButtonDown(50, 70);
    app.wheel(120, 5, 5);
    app.resize(400, 300);
    EXPECT_EQ(app.camera().scale, fitted.scale);
    EXPECT_EQ(app.camera().originX, 200);
    EXPECT_EQ(app.camera().centerX, fitted.centerX);
    EXPECT_EQ(app.state().clientWidth, 400);
}

TEST(ViewAngles, StoredAndAppliedWithOrWithoutFit) {
    Application app;
    app.adoptFile(testing::squareGrid(2, 1), "grid.txt");
    app.wheel(120, 5, 5);
    const double zoomed = app.camera().scale;
    app.applyViewAngles(0, 0, false);  // as the View Kit's Apply: no fit
    EXPECT_EQ(app.state().viewAlphaDegrees, 0.0);
    EXPECT_EQ(app.camera().scale, zoomed);
    // From +x: view x is world y, view y is world z.
    EXPECT_EQ(app.model().projectedNodes[4].x, 1.0);  // node (1, 1, 0)
    app.applyViewAngles(-90, 90, true);
    EXPECT_EQ(app.state().viewBetaDegrees, 90.0);
    EXPECT_NE(app.camera().scale, zoomed);
}

}  // namespace
}  // namespace corvelt
