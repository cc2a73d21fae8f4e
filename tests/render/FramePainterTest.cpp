#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "RenderFixtures.h"
#include "render/DepthOrder.h"
#include "render/FramePainter.h"
#include "render/RecordingCanvas.h"
#include "view/Depth.h"
#include "view/Projection.h"

namespace corvelt {
namespace {

using testing::adopt;
using testing::setCornerValues;
using testing::squareRow;
using testing::topCamera;
using Kind = CanvasCall::Kind;

bool sameCall(const CanvasCall& a, const CanvasCall& b) {
    return a.kind == b.kind && a.points == b.points && a.colour == b.colour &&
           a.pen.colour == b.pen.colour && a.pen.width == b.pen.width &&
           a.pen.style == b.pen.style && a.closed == b.closed && a.radius == b.radius &&
           a.fontHeight == b.fontHeight && a.fontWidth == b.fontWidth && a.fontFace == b.fontFace &&
           a.text == b.text;
}

void expectSameCalls(const std::vector<CanvasCall>& got, const std::vector<CanvasCall>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        ASSERT_TRUE(sameCall(got[i], want[i])) << "call " << i;
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

std::size_t countOf(const std::vector<CanvasCall>& calls, Kind kind) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [kind](const CanvasCall& c) { return c.kind == kind; }));
}

// The top-left pixel of the outlines, in drawing order: identifies the elements.
std::vector<Pixel> outlineStarts(const std::vector<CanvasCall>& calls) {
    std::vector<Pixel> starts;
    for (const CanvasCall& c : calls)
        if (c.kind == Kind::drawPath) starts.push_back(c.points[0]);
    return starts;
}

// --- One frame ---------------------------------------------------------------------

class Frame : public ::testing::Test {
  protected:
    Frame() : camera(topCamera(100, {0, 0}, {100, 400})) {
        ResultData data = squareRow(2);
        setCornerValues(data, 0, 0, {0, 30, 30, 0});
        setCornerValues(data, 1, 0, {30, 90, 90, 30});
        model = adopt(std::move(data), camera);
    }
    ViewCamera camera;
    ShellModel model;
    FramePainter painter;
};

TEST_F(Frame, LayersOfOneElementAreFinishedBeforeTheNext) {
    model.elementOutlinePlot = PlotScope::all;
    model.elementPlot = PlotScope::all;
    model.nodePlot = PlotScope::all;
    const auto calls = paint(painter, model, camera);
    // Per element: contour polygons, outline, fill, four markers; then the legend.
    std::string kinds;
    for (const CanvasCall& c : calls)
        kinds += "CFPOBT"[static_cast<int>(c.kind)];
    const std::string element0 = kinds.substr(0, kinds.find('P'));
    ASSERT_FALSE(element0.empty());
    EXPECT_EQ(element0.find_first_not_of('F'), std::string::npos);
    EXPECT_EQ(kinds.substr(kinds.find('P'), 6), "PFOOOO");
    EXPECT_EQ(kinds.substr(kinds.size() - 19), "BTBTBTBTBTBTBTBTBTT");
    EXPECT_EQ(painter.internalErrorCount(), 0);
}

TEST_F(Frame, WithoutContourTheLegendIsStillDrawn) {
    model.contourOn = false;
    const auto calls = paint(painter, model, camera);
    EXPECT_EQ(countOf(calls, Kind::fillPolygon), 0u);
    EXPECT_EQ(countOf(calls, Kind::drawBox), 9u);
    EXPECT_EQ(countOf(calls, Kind::drawText), 10u);
    EXPECT_EQ(painter.bandLimits()[9], 90);
}

TEST_F(Frame, UnselectedElementsGetNoContourButKeepTheirOutline) {
    model.elementSelected[1] = 0;
    model.elementOutlinePlot = PlotScope::all;
    const auto calls = paint(painter, model, camera);
    EXPECT_EQ(painter.bandLimits()[9], 30);  // element 1's values left the limits
    const auto paths = outlineStarts(calls);
    ASSERT_EQ(paths.size(), 2u);
    // No contour polygon reaches into the second element's pixels (x 200..300).
    for (const CanvasCall& c : calls) {
        if (c.kind != Kind::fillPolygon) continue;
        for (const Pixel& p : c.points)
            EXPECT_LE(p.x, 200);
    }
}

TEST_F(Frame, NoSelectionGivesZeroLimitsNoContourAndALegend) {
    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 0);
    const auto calls = paint(painter, model, camera);
    EXPECT_EQ(painter.bandLimits().values, BandLimits{}.values);
    EXPECT_EQ(countOf(calls, Kind::fillPolygon), 0u);
    ASSERT_EQ(countOf(calls, Kind::drawText), 10u);
    EXPECT_EQ(calls.back().text, "0         ");
}

TEST_F(Frame, ABadComponentIsCountedNotFatal) {
    model.contourComponent = 9;
    const auto calls = paint(painter, model, camera);
    EXPECT_EQ(painter.internalErrorCount(), 1);
    EXPECT_EQ(countOf(calls, Kind::fillPolygon), 0u);
    EXPECT_EQ(countOf(calls, Kind::drawBox), 9u);
}

TEST_F(Frame, NumbersComeAfterAllElementsAndBeforeTheLegend) {
    model.elementPlot = PlotScope::all;
    model.nodeNumberPlot = PlotScope::all;
    model.elementNumberPlot = PlotScope::all;
    const auto calls = paint(painter, model, camera);
    std::size_t lastFill = 0, firstNode = calls.size(), firstElement = calls.size(),
                firstBox = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const CanvasCall& c = calls[i];
        if (c.kind == Kind::fillPolygon) lastFill = i;
        if (c.kind == Kind::drawText && c.colour == Rgb{0, 0, 255})
            firstNode = std::min(firstNode, i);
        if (c.kind == Kind::drawText && c.colour == Rgb{255, 0, 255})
            firstElement = std::min(firstElement, i);
        if (c.kind == Kind::drawBox) firstBox = std::min(firstBox, i);
    }
    EXPECT_LT(lastFill, firstNode);
    EXPECT_LT(firstNode, firstElement);
    EXPECT_LT(firstElement, firstBox);
}

// --- Far to near -----------------------------------------------------------------------

TEST(DepthOrder, FarElementsArePaintedFirst) {
    ViewCamera camera = topCamera(100, {0, 0}, {100, 400});
    ResultData data = squareRow(2);
    data.nodes[4].z = data.nodes[5].z = data.nodes[6].z = data.nodes[7].z =
        -1;  // element 1 farther
    ShellModel model = adopt(std::move(data), camera);
    std::vector<std::int32_t> order;
    orderElementsByDepth(model, camera, order);
    EXPECT_EQ(order, (std::vector<std::int32_t>{1, 0}));

    // Seen from below the other element is farther: the order turns round.
    camera.viewMatrix = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    orderElementsByDepth(model, camera, order);
    EXPECT_EQ(order, (std::vector<std::int32_t>{0, 1}));
}

TEST(DepthOrder, EqualDepthsKeepTheLowerIndexFirst) {
    const ViewCamera camera = topCamera(1, {0, 0}, {0, 0});
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(-3, 3);
    ResultData data = squareRow(500);
    for (std::size_t e = 0; e < 500; ++e) {
        const double z = level(random) * 0.25;
        for (int j = 0; j < 4; ++j)
            data.nodes[4 * e + j].z = z == 0 ? (e % 2 ? -0.0 : 0.0) : z;
    }
    ShellModel model = adopt(std::move(data), camera);
    std::vector<std::int32_t> order, expected(500);
    orderElementsByDepth(model, camera, order);
    for (std::int32_t e = 0; e < 500; ++e)
        expected[e] = e;
    std::stable_sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
        return elementDepth(model, camera, a) > elementDepth(model, camera, b);
    });
    EXPECT_EQ(order, expected);
}

TEST(DepthOrder, CoplanarElementsPaintTheLowerIndexUnderneath) {
    ViewCamera camera = topCamera(100, {0, 0}, {100, 400});
    ResultData data = squareRow(2);
    for (int j = 4; j < 8; ++j)
        data.nodes[j].x -= 0.5;  // overlapping halves
    ShellModel model = adopt(std::move(data), camera);
    model.elementOutlinePlot = PlotScope::all;
    const auto starts = outlineStarts(paintFresh(model, camera));
    EXPECT_EQ(starts, (std::vector<Pixel>{{100, 400}, {150, 400}}));
}

// --- What the painter keeps between frames ----------------------------------------------

// A cylinder of 24 x 6 elements with a varying field, so that depth order, facing
// surface, shading and bands all depend on the view.
ResultData cylinder() {
    ResultData data;
    const int around = 24, along = 6;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < around; ++i)
        for (int j = 0; j <= along; ++j) {
            const double a = 2 * pi * i / around;
            data.nodes.push_back({std::cos(a), std::sin(a), 0.5 * j});
        }
    for (int i = 0; i < around; ++i)
        for (int j = 0; j < along; ++j) {
            const int next = (i + 1) % around;
            const std::int32_t a = i * (along + 1) + j, b = next * (along + 1) + j;
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

TEST(FrameCaches, EveryFrameEqualsOneFromAFreshPainter) {
    ShellModel model;
    model.adoptResult(cylinder());
    ViewCamera camera;
    setViewAngles(model, camera, 0.3, 0.4);
    resizeView(model, camera, 800, 600);
    model.elementOutlinePlot = PlotScope::all;
    model.nodePlot = PlotScope::selected;
    model.elementNumberPlot = PlotScope::all;

    FramePainter painter;
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        expectSameCalls(paint(painter, model, camera), paintFresh(model, camera));
    };
    check("first frame");
    setViewAngles(model, camera, 1.9, -0.6);
    check("after a rotation");
    camera.panBy(130, -40);
    camera.zoomAtPoint({300, 200}, true);
    check("after a pan and a zoom");
    model.contourComponent = Sx;
    check("after a component change");
    model.elementSelected[5] = 0;
    model.nodeSelected[3] = 0;
    model.elementPicked[7] = 1;
    check("after a selection change");
    model.adoptResult(squareRow(3, 0.0, 2.0));
    projectAllNodes(model, camera);
    check("after a reload");

    // Node positions changed in place are noticed once the painter is told.
    model.adoptResult(cylinder());
    projectAllNodes(model, camera);
    paint(painter, model, camera);
    for (Point3D& p : model.nodes)
        p.z = -p.z;
    projectAllNodes(model, camera);
    painter.invalidate();
    check("after an in-place change");
    EXPECT_EQ(painter.internalErrorCount(), 0);
}

TEST(FrameCaches, CullingLeavesThePictureAsItWas) {
    ShellModel model;
    model.adoptResult(cylinder());
    ViewCamera camera;
    setViewAngles(model, camera, 0.3, 0.4);
    resizeView(model, camera, 800, 600);
    camera.zoomAtPoint({650, 150}, true);
    camera.zoomAtPoint({650, 150}, true);
    camera.panBy(-300, 250);  // part of the model now lies outside the window
    model.elementOutlinePlot = PlotScope::all;
    model.elementPlot = PlotScope::all;
    model.nodePlot = PlotScope::all;

    // The same frame on a canvas so large that nothing is culled; the calls that the
    // window's frame leaves out must all lie wholly outside the window.
    const auto window = paintFresh(model, camera, 800, 600);
    const auto everything = paintFresh(model, camera, 4000, 4000);
    ASSERT_LT(window.size(), everything.size());
    std::size_t w = 0;
    for (const CanvasCall& call : everything) {
        if (w < window.size() && sameCall(window[w], call)) {
            ++w;
            continue;
        }
        int left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
        for (const Pixel& p : call.points) {
            const int reach = call.radius + call.pen.width;
            left = std::min(left, p.x - reach);
            right = std::max(right, p.x + reach);
            top = std::min(top, p.y - reach);
            bottom = std::max(bottom, p.y + reach);
        }
        EXPECT_TRUE(right < 0 || left >= 800 || bottom < 0 || top >= 600)
            << "a visible call was left out: kind " << static_cast<int>(call.kind);
    }
    EXPECT_EQ(w, window.size());
}

}  // namespace
}  // namespace corvelt
