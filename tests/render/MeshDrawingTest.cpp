#include <gtest/gtest.h>

#include <ostream>

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

constexpr Rgb red{255, 0, 0}, white{255, 255, 255}, grey{90, 90, 90}, gold{255, 215, 0},
    dark{40, 40, 40};

struct StyleRow {
    MeshLayer layer;
    PlotScope scope;
    bool picked;
    bool selected;
    MeshStyle expected;
};

void PrintTo(const StyleRow& row, std::ostream* out) {
    *out << "layer " << static_cast<int>(row.layer) << ", scope " << static_cast<int>(row.scope)
         << (row.picked ? ", picked" : "") << (row.selected ? ", selected" : "");
}

class MeshDecisionTable : public ::testing::TestWithParam<StyleRow> {};

TEST_P(MeshDecisionTable, ChoosesTheRowsStyle) {
    const StyleRow& row = GetParam();
    const MeshStyle style = meshStyle(row.layer, row.scope, row.picked, row.selected);
    ASSERT_EQ(style.drawn, row.expected.drawn);
    if (!style.drawn) return;
    EXPECT_EQ(style.colour, row.expected.colour);
    EXPECT_EQ(style.penWidth, row.expected.penWidth);
    EXPECT_EQ(style.radius, row.expected.radius);
}

constexpr MeshStyle nothing{};
using enum MeshLayer;
INSTANTIATE_TEST_SUITE_P(
    Rows, MeshDecisionTable,
    ::testing::Values(  // picked beats every scope, even none, whatever the selection
        StyleRow{outline, PlotScope::none, true, false, {true, red, 2, 6}},
        StyleRow{outline, PlotScope::selected, true, false, {true, red, 2, 6}},
        StyleRow{fill, PlotScope::none, true, true, {true, red, 2, 6}},
        StyleRow{nodeMarker, PlotScope::none, true, false, {true, red, 2, 6}},
        // scope all
        StyleRow{outline, PlotScope::all, false, true, {true, white, 1, 0}},
        StyleRow{outline, PlotScope::all, false, false, {true, grey, 1, 0}},
        StyleRow{fill, PlotScope::all, false, true, {true, gold, 1, 0}},
        StyleRow{fill, PlotScope::all, false, false, {true, dark, 1, 0}},
        StyleRow{nodeMarker, PlotScope::all, false, true, {true, white, 1, 6}},
        StyleRow{nodeMarker, PlotScope::all, false, false, {true, grey, 1, 3}},
        // scope selected only
        StyleRow{outline, PlotScope::selected, false, true, {true, white, 1, 0}},
        StyleRow{fill, PlotScope::selected, false, true, {true, gold, 1, 0}},
        StyleRow{nodeMarker, PlotScope::selected, false, true, {true, white, 1, 6}},
        StyleRow{outline, PlotScope::selected, false, false, nothing},
        StyleRow{fill, PlotScope::selected, false, false, nothing},
        StyleRow{nodeMarker, PlotScope::selected, false, false, nothing},
        // scope none
        StyleRow{outline, PlotScope::none, false, true, nothing},
        StyleRow{fill, PlotScope::none, false, true, nothing},
        StyleRow{nodeMarker, PlotScope::none, false, true, nothing}));

// Two unit squares seen from +z at 40 pixels per unit (mean edge 1: number font 8
// high, 4 wide), the first one's lower-left corner at pixel (100, 500).
class Mesh : public ::testing::Test {
  protected:
    Mesh() : camera(topCamera(40, {0, 0}, {100, 500})), canvas(800, 600) {
        model = adopt(squareRow(2), camera);
    }
    ViewCamera camera;
    RecordingCanvas canvas;
    ShellModel model;
};

TEST_F(Mesh, WithEveryLayerOffPicksStillShow) {
    model.elementPicked[0] = 1;
    model.nodePicked[5] = 1;  // second element, corner 1
    PaintContext context(model, camera, canvas);
    for (std::int32_t e = 0; e < 2; ++e) {
        drawElementOutline(context, e, ScreenReach::insideGuard);
        drawElementFill(context, e, 0.5, ScreenReach::insideGuard);
        drawElementNodes(context, e);
    }
    drawNodeNumbers(context, PlotScope::none);
    drawElementNumbers(context, PlotScope::none);
    const auto& calls = canvas.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, Kind::drawPath);
    EXPECT_EQ(calls[0].points,
              (std::vector<Pixel>{{100, 500}, {140, 500}, {140, 460}, {100, 460}}));
    EXPECT_TRUE(calls[0].closed);
    EXPECT_EQ(calls[0].pen.width, 2);
    EXPECT_EQ(calls[1].kind, Kind::fillPolygon);
    EXPECT_EQ(calls[1].colour, (Rgb{127, 0, 0}));  // red, shaded
    EXPECT_EQ(calls[2].kind, Kind::drawCircle);
    EXPECT_EQ(calls[2].points[0], (Pixel{180, 500}));
    EXPECT_EQ(calls[2].radius, 6);
}

TEST_F(Mesh, NumberLabelsAnchorAtTheNodeAndCentreOnTheElement) {
    model.nodeSelected[2] = 0;
    PaintContext context(model, camera, canvas);
    drawNodeNumbers(context, PlotScope::selected);
    drawElementNumbers(context, PlotScope::all);
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(labels.size(), 9u);
    EXPECT_EQ(labels[0].text, "0");
    EXPECT_EQ(labels[0].points[0], (Pixel{100, 500}));  // top-left on the node
    EXPECT_EQ(labels[2].text, "3");                     // node 2 is not selected
    EXPECT_EQ(labels[2].colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(labels[2].fontHeight, 8);
    EXPECT_EQ(labels[2].fontWidth, 4);
    // Element 1's centroid (1.5, 0.5) is pixel (160, 480); one character 4 wide.
    EXPECT_EQ(labels[8].text, "1");
    EXPECT_EQ(labels[8].points[0], (Pixel{160 - 2, 480 - 4}));
    EXPECT_EQ(labels[8].colour, (Rgb{255, 0, 255}));
}

// Zoomed out until the labels are less than a pixel high, they are written at the
// font's default size, anchored as the zero height says: element labels with their
// top-left on the centroid.
TEST_F(Mesh, LabelsOfHeightZeroAreWrittenAtTheDefaultSize) {
    camera.scale = 4;  // a fifth of the mean edge is 0.8 pixels
    PaintContext context(model, camera, canvas);
    drawNodeNumbers(context, PlotScope::all);
    drawElementNumbers(context, PlotScope::all);
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(labels.size(), 10u);
    for (const CanvasCall& label : labels) {
        EXPECT_EQ(label.fontHeight, 0);
        EXPECT_EQ(label.fontWidth, 0);
    }
    EXPECT_EQ(labels[9].text, "1");
    EXPECT_EQ(labels[9].points[0], (Pixel{106, 498}));  // centroid (1.5, 0.5)
}

TEST(LabelFont, IsAFifthOfTheMeanEdgeAsShown) {
    EXPECT_EQ(labelFontHeight(2.0, 40.0), 16);
    EXPECT_EQ(labelFontHeight(2.0, 40.0 * 1.1), 17);
    EXPECT_EQ(labelFontHeight(2.0, 1e300), maxLabelHeight);  // deep zoom does not overflow
}

}  // namespace
}  // namespace corvelt
