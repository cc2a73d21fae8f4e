#include "model/ShellModel.h"

#include <gtest/gtest.h>

#include "ResultTextBuilder.h"

namespace corvelt {
namespace {

TEST(ShellModel, StartsWithSeContourBlueToRedAndNothingPlotted) {
    const ShellModel model;
    EXPECT_TRUE(model.contourOn);
    EXPECT_EQ(model.contourComponent, Se);
    for (PlotScope scope : {model.nodeNumberPlot, model.elementNumberPlot, model.elementOutlinePlot,
                            model.nodePlot, model.elementPlot})
        EXPECT_EQ(scope, PlotScope::none);
    EXPECT_EQ(ShellModel::colorCount, 9);
    EXPECT_EQ(model.colorTable[0], (Rgb{0, 0, 255}));
    EXPECT_EQ(model.colorTable[4], (Rgb{0, 255, 0}));
    EXPECT_EQ(model.colorTable[8], (Rgb{255, 0, 0}));
    EXPECT_EQ(model.nodeCount(), 0);
    EXPECT_EQ(model.elementCount(), 0);
}

TEST(ShellModel, AdoptResultResetsFlagsKeepsPlotOptionsAndDerivesGeometry) {
    ShellModel model;
    model.adoptResult(testing::twoElementModel());
    model.elementSelected[0] = 0;
    model.nodePicked[5] = 1;
    model.projectedNodes[1] = {3, 4};
    model.contourOn = false;
    model.contourComponent = Sz;
    model.elementOutlinePlot = PlotScope::all;

    model.adoptResult(testing::twoElementModel());
    EXPECT_EQ(model.elementSelected, std::vector<std::uint8_t>(2, 1));
    EXPECT_EQ(model.nodeSelected, std::vector<std::uint8_t>(6, 1));
    EXPECT_EQ(model.elementPicked, std::vector<std::uint8_t>(2, 0));
    EXPECT_EQ(model.nodePicked, std::vector<std::uint8_t>(6, 0));
    EXPECT_EQ(model.projectedNodes[1].x, 0.0);
    EXPECT_FALSE(model.contourOn);
    EXPECT_EQ(model.contourComponent, Sz);
    EXPECT_EQ(model.elementOutlinePlot, PlotScope::all);
    EXPECT_EQ(model.minX, 0.0);
    EXPECT_EQ(model.maxX, 2.0);
    EXPECT_EQ(model.minZ, -0.5);
    EXPECT_EQ(model.maxZ, 0.5);
    // Element 0 has four edges of sqrt(1.25); element 1 two of sqrt(1.25) and two of
    // sqrt(1.0625).
    const double expected = (6 * std::sqrt(1.25) + 2 * std::sqrt(1.0625)) / 8;
    EXPECT_DOUBLE_EQ(model.meanEdgeLength, expected);
}

TEST(ShellModel, ProjectedExtentOfOneNodeIsThatNode) {
    ShellModel model;
    model.adoptResult({{{7, 8, 9}}, {}, {}});
    model.projectedNodes[0] = {-2.5, 4.0};
    const ProjectedExtent extent = model.projectedExtent();
    EXPECT_EQ(extent.minX, -2.5);
    EXPECT_EQ(extent.maxX, -2.5);
    EXPECT_EQ(extent.minY, 4.0);
    EXPECT_EQ(extent.maxY, 4.0);
    EXPECT_EQ(model.minX, model.maxX);
    EXPECT_EQ(model.minZ, 9.0);
}

}  // namespace
}  // namespace corvelt
