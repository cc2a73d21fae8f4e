#include <gtest/gtest.h>

#include "RenderFixtures.h"
#include "render/MeshDrawing.h"
#include "render/MeshStyle.h"
#include "render/PaintContext.h"
#include "render/RecordingCanvas.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::squareRow;
using testing::topCamera;
using Kind = CanvasCall::Kind;

constexpr Rgb red{255, 0, 0}, white{255, 255, 255}, grey{90, 90, 90};
constexpr Rgb gold{255, 215, 0}, dark{40, 40, 40};

struct StyleRow {
    MeshLayer layer;
    PlotScope scope;
    bool picked;
    bool selected;
    MeshStyle expected;
};

class MeshDecisionTable : public ::testing::TestWithParam<StyleRow> {};

TEST_P(MeshDecisionTable, ChoosesTheRowsStyle) {
    const StyleRow& row = GetParam();
    const MeshStyle style = meshStyle(row.layer, row.scope, row.picked, row.selected);
    ASSERT_EQ(style.drawn, row.expected.drawn);
    if (!style.drawn) return;
    EXPECT_EQ(style.colour, row.expected.colour);
    if (row.layer != MeshLayer::fill) {
        EXPECT_EQ(style.penWidth, row.expected.penWidth);
    }
    if (row.layer == MeshLayer::nodeMarker) {
        EXPECT_EQ(style.radius, row.expected.radius);
    }
}

constexpr MeshStyle none{};
using enum MeshLayer;
INSTANTIATE_TEST_SUITE_P(
    Rows, MeshDecisionTable,
    ::testing::Values(
        // Picked beats every scope, even none, and whatever the selection.
        StyleRow{outline, PlotScope::none, true, false, {true, red, 2, 0}},
        StyleRow{outline, PlotScope::selected, true, false, {true, red, 2, 0}},
        StyleRow{outline, PlotScope::all, true, true, {true, red, 2, 0}},
        StyleRow{fill, PlotScope::none, true, true, {true, red, 1, 0}},
        StyleRow{nodeMarker, PlotScope::none, true, false, {true, red, 2, 6}},
        // Scope all.
        StyleRow{outline, PlotScope::all, false, true, {true, white, 1, 0}},
        StyleRow{outline, PlotScope::all, false, false, {true, grey, 1, 0}},
        StyleRow{fill, PlotScope::all, false, true, {true, gold, 1, 0}},
        StyleRow{fill, PlotScope::all, false, false, {true, dark, 1, 0}},
        StyleRow{nodeMarker, PlotScope::all, false, true, {true, white, 1, 6}},
        StyleRow{nodeMarker, PlotScope::all, false, false, {true, grey, 1, 3}},
        // Scope selected only.
        StyleRow{outline, PlotScope::selected, false, true, {true, white, 1, 0}},
        StyleRow{outline, PlotScope::selected, false, false, none},
        StyleRow{fill, PlotScope::selected, false, true, {true, gold, 1, 0}},
        StyleRow{fill, PlotScope::selected, false, false, none},
        StyleRow{nodeMarker, PlotScope::selected, false, true, {true, white, 1, 6}},
        StyleRow{nodeMarker, PlotScope::selected, false, false, none},
        // Scope none.
        StyleRow{outline, PlotScope::none, false, true, none},
        StyleRow{fill, PlotScope::none, false, true, none},
        StyleRow{nodeMarker, PlotScope::none, false, true, none}));

// Two unit squares seen from +z at 40 pixels per unit, lower-left corner of the
// first at pixel (100, 500).
class Mesh : public ::testing::Test {
  protected:
    Mesh() : camera(topCamera(40, {0, 0}, {100, 500})), canvas(800, 600) {
        model = adopt(squareRow(2), camera);
    }
    PaintContext context() { return PaintContext(model, camera, canvas); }

    ViewCamera camera;
    RecordingCanvas canvas;
    ShellModel model;
};

TEST_F(Mesh, OutlineIsTheClosedPathOfTheCornersInOrder) {
    model.elementOutlinePlot = PlotScope::all;
    auto ctx = context();
    drawElementOutline(ctx, 1, ScreenReach::insideGuard);
    const auto paths = canvas.callsOf(Kind::drawPath);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(paths[0].closed);
    EXPECT_EQ(paths[0].points,
              (std::vector<Pixel>{{140, 500}, {180, 500}, {180, 460}, {140, 460}}));
    EXPECT_EQ(paths[0].pen.colour, white);
    EXPECT_EQ(paths[0].pen.style, PenStyle::solid);
}

TEST_F(Mesh, AllScopesNoneStillShowPicks) {
    model.elementPicked[0] = 1;
    model.nodePicked[5] = 1;  // second element, corner 1
    auto ctx = context();
    for (std::int32_t e = 0; e < 2; ++e) {
        drawElementOutline(ctx, e, ScreenReach::insideGuard);
        drawElementFill(ctx, e, 1.0, ScreenReach::insideGuard);
        drawElementNodes(ctx, e);
    }
    drawNodeNumbers(ctx, PlotScope::none);
    drawElementNumbers(ctx, PlotScope::none);
    ASSERT_EQ(canvas.calls().size(), 3u);
    EXPECT_EQ(canvas.calls()[0].kind, Kind::drawPath);
    EXPECT_EQ(canvas.calls()[0].pen.width, 2);
    EXPECT_EQ(canvas.calls()[1].kind, Kind::fillPolygon);
    EXPECT_EQ(canvas.calls()[1].colour, red);
    EXPECT_EQ(canvas.calls()[2].kind, Kind::drawCircle);
    EXPECT_EQ(canvas.calls()[2].points[0], (Pixel{180, 500}));
    EXPECT_EQ(canvas.calls()[2].radius, 6);
}

TEST_F(Mesh, FillColourIsShadedPerChannel) {
    model.elementPlot = PlotScope::selected;
    auto ctx = context();
    drawElementFill(ctx, 0, 1.0, ScreenReach::insideGuard);
    drawElementFill(ctx, 0, 0.5, ScreenReach::insideGuard);
    const auto fills = canvas.callsOf(Kind::fillPolygon);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].colour, gold);
    EXPECT_EQ(fills[1].colour, (Rgb{127, 107, 0}));
    EXPECT_EQ(fills[0].points,
              (std::vector<Pixel>{{100, 500}, {140, 500}, {140, 460}, {100, 460}}));
}

TEST_F(Mesh, NodeMarkersFollowEachNodesFlags) {
    model.nodePlot = PlotScope::all;
    model.nodeSelected[1] = 0;
    auto ctx = context();
    drawElementNodes(ctx, 0);
    const auto circles = canvas.callsOf(Kind::drawCircle);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_EQ(circles[0].radius, 6);
    EXPECT_EQ(circles[0].pen.colour, white);
    EXPECT_EQ(circles[1].radius, 3);
    EXPECT_EQ(circles[1].pen.colour, grey);
    EXPECT_EQ(circles[1].points[0], (Pixel{140, 500}));
}

TEST(LabelFont, IsAFifthOfTheMeanEdgeAsShown) {
    EXPECT_EQ(labelFontHeight(2.0, 40.0), 16);
    EXPECT_EQ(labelFontHeight(2.0, 40.0 * 1.1), 17);
    EXPECT_EQ(labelFontHeight(2.0, 1e300), maxLabelHeight);  // never overflows
    EXPECT_EQ(labelFontHeight(0.0, 40.0), 0);
}

TEST_F(Mesh, NodeNumbersSitWithTheirTopLeftOnTheNode) {
    // Mean edge 1 at 40 pixels per unit: font 8 high, 4 wide.
    model.nodeSelected[2] = 0;
    auto ctx = context();
    drawNodeNumbers(ctx, PlotScope::selected);
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[0].text, "0");
    EXPECT_EQ(labels[0].points[0], (Pixel{100, 500}));
    EXPECT_EQ(labels[2].text, "3");  // node 2 is not selected
    EXPECT_EQ(labels[2].colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(labels[2].fontHeight, 8);
    EXPECT_EQ(labels[2].fontWidth, 4);
}

TEST(ElementNumbers, AreCentredAsIfEveryCharacterWereOneFontWidth) {
    // Thirteen squares at 80 pixels per unit: font 16 high, 8 wide.
    const ViewCamera camera = topCamera(80, {0, 0}, {0, 500}, 1200, 600);
    ShellModel model = adopt(squareRow(13), camera);
    RecordingCanvas canvas(1200, 600);
    PaintContext context(model, camera, canvas);
    drawElementNumbers(context, PlotScope::all);
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(labels.size(), 13u);
    // Centroid of element 12 at view (12.5, 0.5): pixel (1000, 460).
    EXPECT_EQ(labels[12].text, "12");
    EXPECT_EQ(labels[12].points[0], (Pixel{1000 - 8, 460 - 8}));
    EXPECT_EQ(labels[3].points[0], (Pixel{280 - 4, 460 - 8}));
    EXPECT_EQ(labels[3].colour, (Rgb{255, 0, 255}));
}

TEST_F(Mesh, LabelsFarOutsideTheWindowAreSkipped) {
    camera.originX = -5000;  // panned far to the left
    auto ctx = context();
    drawNodeNumbers(ctx, PlotScope::all);
    drawElementNumbers(ctx, PlotScope::all);
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace corvelt
