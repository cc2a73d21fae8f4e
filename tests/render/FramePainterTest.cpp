#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "RenderFixtures.h"
#include "render/DepthOrder.h"
#include "render/FramePainter.h"
#include "render/RecordingCanvas.h"
#include "render/ScreenMapper.h"
#include "view/Depth.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::setSe;
using testing::squareRow;
using testing::topCamera;
using Kind = CanvasCall::Kind;

bool sameCall(const CanvasCall& a, const CanvasCall& b) {
    return a.kind == b.kind && a.points == b.points && a.colour == b.colour &&
           a.pen.colour == b.pen.colour && a.pen.width == b.pen.width &&
           a.pen.style == b.pen.style && a.closed == b.closed && a.radius == b.radius &&
           a.fontHeight == b.fontHeight && a.text == b.text;
}

std::vector<CanvasCall> paint(FramePainter& painter, const ShellModel& model,
                              const ViewCamera& camera, int width = 800, int height = 600) {
    RecordingCanvas canvas(width, height);
    painter.paintFrame(model, camera, canvas);
    return canvas.calls();
}

std::vector<CanvasCall> paintFresh(const ShellModel& model, const ViewCamera& camera,
                                   int width = 800, int height = 600) {
    FramePainter painter;
    return paint(painter, model, camera, width, height);
}

// One letter per call: F fill, P path, O circle, B box, T text.
std::string kinds(const std::vector<CanvasCall>& calls) {
    std::string letters;
    for (const CanvasCall& c : calls)
        letters += "CFPOBT"[static_cast<int>(c.kind)];
    return letters;
}

// Two unit squares seen from +z, Se 0..30 on the first and 30..90 on the second.
class Frame : public ::testing::Test {
  protected:
    Frame() : camera(topCamera(100, {0, 0}, {100, 400})) {
        ResultData data = squareRow(2);
        setSe(data, 0, 0, {0, 30, 30, 0});
        setSe(data, 1, 0, {30, 90, 90, 30});
        model = adopt(std::move(data), camera);
    }
    ViewCamera camera;
    ShellModel model;
    FramePainter painter;
};

TEST_F(Frame, EachElementsLayersComeTogetherThenNumbersThenTheLegend) {
    model.elementOutlinePlot = model.elementPlot = model.nodePlot = PlotScope::all;
    model.elementNumberPlot = PlotScope::all;
    const std::string letters = kinds(paint(painter, model, camera));
    // Element 0: contour polygons, outline, fill, four markers; then element 1.
    const std::size_t firstPath = letters.find('P');
    EXPECT_EQ(letters.substr(0, firstPath), std::string(firstPath, 'F'));
    EXPECT_EQ(letters.substr(firstPath, 6), "PFOOOO");
    EXPECT_EQ(letters.substr(letters.size() - 21), "TTBTBTBTBTBTBTBTBTBTT");  // 2 numbers, legend
    EXPECT_EQ(painter.internalErrorCount(), 0);
}

TEST_F(Frame, TheLegendIsDrawnWithoutContourAndWithoutSelection) {
    model.contourOn = false;
    auto calls = paint(painter, model, camera);
    EXPECT_EQ(kinds(calls), "BTBTBTBTBTBTBTBTBTT");
    EXPECT_EQ(calls.back().text, "90        ");

    model.contourOn = true;
    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 0);
    calls = paint(painter, model, camera);
    EXPECT_EQ(kinds(calls), "BTBTBTBTBTBTBTBTBTT");
    EXPECT_EQ(calls.back().text, "0         ");

    model.contourComponent = 11;  // cannot happen; counted, not fatal
    EXPECT_EQ(kinds(paint(painter, model, camera)), "BTBTBTBTBTBTBTBTBTT");
    EXPECT_EQ(painter.internalErrorCount(), 1);
}

// The triangles and labels go over the elements and numbers, under the legend, at
// the corners that carry the legend's end values of the selection; the labels say
// on which surface.
TEST_F(Frame, PeakMarkersMarkTheLegendsEndValuesUnderTheLegend) {
    const auto withMarkers = [&] {
        RecordingCanvas canvas(800, 600);
        painter.paintFrame(model, camera, canvas, FrameOptions{true});
        return canvas.calls();
    };
    // Two triangles (path, fill), then two labels (shadow, text) before the legend.
    const auto marked = [&] {
        std::vector<CanvasCall> calls = withMarkers();
        const auto legend = std::find_if(calls.begin(), calls.end(), [](const CanvasCall& c) {
            return c.kind == Kind::drawBox;
        });
        return std::vector<CanvasCall>(legend - 8, legend);
    };
    const auto expectMarkers = [](const std::vector<CanvasCall>& calls, Pixel minNode,
                                  Pixel maxNode, const std::string& minLabel,
                                  const std::string& maxLabel) {
        EXPECT_EQ(kinds(calls), "PFPFTTTT");
        EXPECT_EQ(calls[0].points.front(), (Pixel{minNode.x, minNode.y + 8}));  // tip down
        EXPECT_EQ(calls[2].points.front(), (Pixel{maxNode.x, maxNode.y - 8}));  // tip up
        EXPECT_EQ(calls[5].text, minLabel);
        EXPECT_EQ(calls[7].text, maxLabel);
    };
    expectMarkers(marked(), {100, 400}, {300, 400}, "Min 0 (surface 1)",  // element 0, corner 0
                  "Max 90 (surface 1)");                                  // element 1, corner 1

    model.elementSelected[1] = 0;
    expectMarkers(marked(), {100, 400}, {200, 400}, "Min 0 (surface 1)",
                  "Max 30 (surface 1)");  // element 0, corner 1: the first 30

    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 0);
    EXPECT_EQ(kinds(withMarkers()), "BTBTBTBTBTBTBTBTBTT");
}

TEST_F(Frame, PeakLabelsStayInsideTheWindowsTopAndBottomEdges) {
    const auto labelTops = [&](int height) {
        RecordingCanvas canvas(800, height);
        painter.paintFrame(model, camera, canvas, FrameOptions{true});
        std::vector<int> tops;
        for (const CanvasCall& text : canvas.callsOf(Kind::drawText))
            if (text.text.starts_with("M")) tops.push_back(text.points.front().y);
        return tops;
    };
    // Nodes on row 400: the minimum's labels (shadow, then text) below it, cut at 410.
    EXPECT_EQ(labelTops(410), (std::vector<int>{392, 391, 383, 382}));
    camera.originY -= 390;  // nodes on row 10: the maximum's labels above it
    projectAllNodes(model, camera);
    EXPECT_EQ(labelTops(600), (std::vector<int>{12, 11, 1, 0}));
}

// The selection sort as it is meant: for each position, the first of the largest
// keys left is swapped into place.
std::vector<std::int32_t> selectionSortOrder(std::vector<double> keys) {
    std::vector<std::int32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        std::size_t largest = i;
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            if (keys[j] > keys[largest]) largest = j;
        if (largest == i) continue;
        std::swap(keys[i], keys[largest]);
        std::swap(order[i], order[largest]);
    }
    return order;
}

TEST(DepthOrder, IsTheSelectionSortsOrderAlsoForEqualKeys) {
    // A square (0) and a diamond (1) around the same centre, a square behind them
    // (2): fetching 2 displaces 0 behind 1.
    ViewCamera camera = topCamera(1, {0, 0}, {0, 0});
    ResultData data = squareRow(3);
    const std::array<Point3D, 4> diamond{
        {{1.5, -0.5, 0}, {2.5, 0.5, 0}, {1.5, 1.5, 0}, {0.5, 0.5, 0}}};
    std::copy(diamond.begin(), diamond.end(), data.nodes.begin() + 4);
    for (int j = 0; j < 4; ++j) {
        data.nodes[j].x += 1;
        data.nodes[j].z = data.nodes[4 + j].z = -1;
        data.nodes[8 + j].z = -2;
    }
    std::vector<std::int32_t> order;
    orderElementsByDepth(adopt(std::move(data), camera), camera, order);
    EXPECT_EQ(order, (std::vector<std::int32_t>{2, 1, 0}));

    // Random rows of squares on a few levels, seen from above and below (-0 and +0
    // are equal keys), and random keys with infinities and NaNs.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int count = 1 + static_cast<int>(random() % 40);
        const int levels = 1 + static_cast<int>(random() % 4);
        ResultData row = squareRow(count);
        for (int e = 0; e < count; ++e) {
            const double z = static_cast<int>(random() % levels) * 0.25;
            for (int j = 0; j < 4; ++j)
                row.nodes[4 * e + j].z = z == 0 && random() % 2 ? -0.0 : z;
        }
        const ShellModel model = adopt(std::move(row), camera);
        for (const Matrix4& view : {identityMatrix(), testing::fromBelow}) {
            camera.viewMatrix = view;
            std::vector<double> depths(count);
            for (std::int32_t e = 0; e < count; ++e)
                depths[e] = elementDepth(model, camera, e);
            orderElementsByDepth(model, camera, order);
            ASSERT_EQ(order, selectionSortOrder(depths)) << "round " << round;
        }

        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const std::array<double, 6> values{-inf, -1.5, 0.0, 2.0, inf, nan};
        std::vector<double> keys(count);
        for (double& key : keys)
            key = values[random() % (round % 2 ? values.size() : 3)];
        orderByDecreasingKey(keys, order);
        ASSERT_EQ(order, selectionSortOrder(keys)) << "round " << round;
    }
}

TEST(DepthOrder, BigOrdersAreTheSameWhicheverWayTheyAreSorted) {
    // Big orders are bucketed on all cores; a NaN key sends the same keys through
    // the radix sort instead (the NaN keeps its place at the end).
    std::mt19937 random(11);
    for (const int distinctValues : {0, 1000, 3}) {
        std::vector<double> keys(100000);
        for (double& key : keys)
            key = distinctValues == 0 ? std::ldexp(static_cast<double>(random()), -20) - 2000.0
                                      : static_cast<double>(random() % distinctValues) * 0.5;
        std::vector<std::int32_t> bucketed, radix;
        orderByDecreasingKey(keys, bucketed);
        keys.push_back(std::numeric_limits<double>::quiet_NaN());
        orderByDecreasingKey(keys, radix);
        ASSERT_EQ(radix.back(), 100000);
        radix.pop_back();
        EXPECT_EQ(bucketed, radix) << distinctValues << " distinct values";
    }
}

// A cylinder of 24 x 6 elements with a varying field, so that the depth order, the
// facing surface, the shading and the bands all depend on the view.
ResultData cylinder() {
    ResultData data;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 24; ++i)
        for (int j = 0; j <= 6; ++j)
            data.nodes.push_back({std::cos(pi * i / 12), std::sin(pi * i / 12), 0.5 * j});
    for (int i = 0; i < 24; ++i)
        for (int j = 0; j < 6; ++j) {
            const std::int32_t a = i * 7 + j, b = (i + 1) % 24 * 7 + j;
            data.connectivity.insert(data.connectivity.end(), {a, b, b + 1, a + 1});
            ElementStressBlock block;
            for (int s = 0; s < 2; ++s)
                for (int c = 0; c < 4; ++c)
                    for (int k = 0; k < 7; ++k)
                        block.surfaces[s][c][k] = std::sin(i * 0.7 + c + k) * 50 + j * 3 + s * 20;
            data.elementStresses.push_back(block);
        }
    return data;
}

struct CylinderScene {
    CylinderScene() {
        model.adoptResult(cylinder());
        setViewAngles(model, camera, 0.3, 0.4);
        resizeView(model, camera, 800, 600);
        model.elementOutlinePlot = model.elementPlot = model.nodePlot = PlotScope::all;
        model.elementNumberPlot = PlotScope::selected;
    }
    ShellModel model;
    ViewCamera camera;
};

TEST(FrameCaches, EveryFrameEqualsOneFromAFreshPainter) {
    CylinderScene scene;
    ShellModel& model = scene.model;
    ViewCamera& camera = scene.camera;
    FramePainter painter;
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        const auto kept = paint(painter, model, camera), fresh = paintFresh(model, camera);
        ASSERT_EQ(kept.size(), fresh.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_TRUE(sameCall(kept[i], fresh[i])) << "call " << i;
    };
    check("first frame");
    setViewAngles(model, camera, 1.9, -0.6);
    check("after a rotation");
    camera.panBy(130, -40);
    camera.zoomAtPoint({300, 200}, true);
    check("after a pan and a zoom");
    model.contourComponent = Sx;
    check("after a component change");
    model.elementSelected[5] = model.nodeSelected[3] = 0;
    model.elementPicked[7] = 1;
    check("after a selection change");
    model.adoptResult(squareRow(3, 2.0));
    projectAllNodes(model, camera);
    check("after a reload");
    // Nodes moved in place are noticed once the painter is told.
    model.adoptResult(cylinder());
    projectAllNodes(model, camera);
    paint(painter, model, camera);
    for (Point3D& p : model.nodes)
        p.z = -p.z;
    projectAllNodes(model, camera);
    painter.invalidate();
    check("after an in-place change");
}

TEST(FrameCulling, LeavesOutOnlyWhatLiesWhollyOutsideTheWindow) {
    CylinderScene scene;
    scene.camera.zoomAtPoint({650, 150}, true);
    scene.camera.panBy(-300, 250);  // part of the model now lies outside the window
    // The same frame on a canvas so large that nothing is culled.
    const auto window = paintFresh(scene.model, scene.camera, 800, 600);
    const auto everything = paintFresh(scene.model, scene.camera, 4000, 4000);
    ASSERT_LT(window.size(), everything.size());
    std::size_t matched = 0;
    for (const CanvasCall& call : everything) {
        if (matched < window.size() && sameCall(window[matched], call)) {
            ++matched;
            continue;
        }
        int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
        for (const Pixel& p : call.points) {
            const int reach = call.radius + call.pen.width + (call.kind == Kind::drawText ? 40 : 0);
            left = std::min(left, p.x - reach);
            right = std::max(right, p.x + reach);
            top = std::min(top, p.y - reach);
            bottom = std::max(bottom, p.y + reach);
        }
        EXPECT_TRUE(right < 0 || left >= 800 || bottom < 0 || top >= 600)
            << "left out: " << left << ", " << top;
    }
    EXPECT_EQ(matched, window.size());
}

TEST(GuardBand, DeepZoomKeepsEdgesStraightAndPixelsSmall) {
    // At 1e9 pixels per unit the corners lie some 1e10 pixels away, beyond int32;
    // the edge a-b (slope -1/2 on the screen) crosses the middle of the window.
    const ViewCamera camera = topCamera(1e9, {0, 0}, {400, 300});
    const ScreenMapper screen(camera, 800, 600);
    ScreenPolygon pixels, neighbour;
    screen.mapPolygon(std::array<Point2D, 3>{Point2D{-10, -5}, Point2D{10, 5}, Point2D{-10, 10}},
                      true, pixels);
    screen.mapPolygon(std::array<Point2D, 3>{Point2D{10, 5}, Point2D{-10, -5}, Point2D{10, -10}},
                      true, neighbour);
    const int band = static_cast<int>(ScreenMapper::guardPixels) + 1;
    int onEdge = 0;
    for (const Pixel& p : pixels.points()) {
        const int dx = p.x - 400, dy = p.y - 300;
        EXPECT_LE(std::abs(dx), 400 + band);
        EXPECT_LE(std::abs(dy), 300 + band);
        if (std::abs(dy + dx / 2.0) <= 1.0) {
            // Where a-b was cut, the corner still lies on a-b, and the neighbour
            // across a-b has the very same corner: no seam.
            EXPECT_NE(std::find(neighbour.points().begin(), neighbour.points().end(), p),
                      neighbour.points().end());
            ++onEdge;
        } else {  // otherwise a corner of the guard band
            EXPECT_GE(std::abs(dx), 400 + band - 2) << p.x << ", " << p.y;
            EXPECT_GE(std::abs(dy), 300 + band - 2) << p.x << ", " << p.y;
        }
    }
    EXPECT_EQ(onEdge, 2);
}

}  // namespace
}  // namespace corvelt
