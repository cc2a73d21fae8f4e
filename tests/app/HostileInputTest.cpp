// What a file the reader accepts and any sequence of input events must never do:
// paint with undefined arithmetic (the asan preset aborts on it), throw a corner of
// the picture far off the client area, or leave a value of the state non-finite.
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/CommandId.h"
#include "app/DisplayText.h"
#include "app/StateDump.h"
#include "render/RecordingCanvas.h"

namespace corvelt {
namespace {

constexpr double largest = std::numeric_limits<double>::max();

// A null in the state stands for a number that is not finite, except that of a
// closed dialog and the name of a step that is not there.
bool stateIsFinite(const Application& app) {
    std::ostringstream out;
    writeStateJson(out, app);
    nlohmann::json state = nlohmann::json::parse(out.str());
    state.erase("dialogs");
    state.erase("history");
    // An automatic legend range has no bounds: null says so, not an overflow.
    if (state["legend"]["rangeMode"] == "auto") {
        state["legend"].erase("fixedMin");
        state["legend"].erase("fixedMax");
    }
    return state.dump().find("null") == std::string::npos;
}

// Paints one frame and checks that every polygon, path and circle stays within the
// guard band around the client area, where the painter clips everything it draws.
void expectSanePaint(Application& app) {
    RecordingCanvas canvas(app.state().clientWidth, app.state().clientHeight);
    app.paint(canvas);
    constexpr int band = 300;
    for (const CanvasCall& call : canvas.calls()) {
        if (call.kind == CanvasCall::Kind::drawText || call.kind == CanvasCall::Kind::drawBox)
            continue;
        for (const Pixel& p : call.points) {
            EXPECT_GT(p.x, -band);
            EXPECT_LT(p.x, canvas.width() + band);
            EXPECT_GT(p.y, -band);
            EXPECT_LT(p.y, canvas.height() + band);
        }
    }
    EXPECT_EQ(app.internalErrorCount(), 0);
    EXPECT_TRUE(stateIsFinite(app));
}

void showEveryLayer(Application& app) {
    for (const int id : {plotAllElementOutlinesCommand, plotAllNodesCommand,
                         plotAllNodeNumbersCommand, plotAllElementNumbersCommand})
        app.command(id);
}

struct HostileModel {
    std::string name;
    ResultData data;
};

void PrintTo(const HostileModel& m, std::ostream* out) {
    *out << m.name;
}

ResultData withCoordinates(std::vector<Point3D> nodes) {
    ResultData data = testing::squareGrid(1, 1);
    data.nodes = std::move(nodes);
    return data;
}

// A 2 x 2 grid ten units wide whose stresses alternate between -s and s.
ResultData withStresses(double s) {
    ResultData data = testing::squareGrid(2, 2);
    for (Point3D& p : data.nodes)
        p = p * 10.0;
    int k = 0;
    for (ElementStressBlock& block : data.elementStresses)
        for (auto& surface : block.surfaces)
            for (StressRecord& corner : surface)
                corner.fill(++k % 2 == 0 ? s : -s);
    return data;
}

class HostilePaint : public ::testing::TestWithParam<HostileModel> {};

TEST_P(HostilePaint, StaysDefinedNearTheClientAreaAndFinite) {
    Application app;
    ResultData data = GetParam().data;
    app.adoptFile(std::move(data), "hostile.txt");
    EXPECT_TRUE(std::isfinite(app.model().meanEdgeLength));
    expectSanePaint(app);
    showEveryLayer(app);
    for (const auto& [alpha, beta] : {std::pair{45.0, 35.26}, {-90.0, 90.0}, {0.0, 0.0}}) {
        app.applyViewAngles(alpha, beta, true);
        expectSanePaint(app);
    }
    app.keyDown(ArrowKey::left);
    app.keyDown(ArrowKey::up);
    expectSanePaint(app);
    app.command(plotAllElementsCommand);
    app.wheel(120, 100, 100);
    expectSanePaint(app);
    app.character(U'z');
    app.leftButtonDown(10, 10);
    app.leftButtonDown(700, 500);
    expectSanePaint(app);
}

INSTANTIATE_TEST_SUITE_P(
    Models, HostilePaint,
    ::testing::Values(
        HostileModel{"NodesAt1e308",
                     withCoordinates({{0, 0, 0}, {1e308, 0, 0}, {1e308, 1, 0}, {0, 1, 0}})},
        HostileModel{"EndsOfTheDoubleRange", withCoordinates({{-largest, -largest, -largest},
                                                              {largest, -largest, 0},
                                                              {largest, largest, largest},
                                                              {-largest, largest, 0}})},
        HostileModel{"FarOutlier",
                     withCoordinates({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1e300, -1e300, 1e300}})},
        HostileModel{"StressesOf8e307", withStresses(8e307)},
        HostileModel{"StressesAtTheEndsOfTheRange", withStresses(largest)}),
    [](const auto& info) { return info.param.name; });

// --- The view under long sequences of events.

class LongGestures : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
        app.resize(400, 300);
        startScale = app.camera().scale;
    }
    Application app;
    double startScale = 0.0;
};

TEST_F(LongGestures, WheelFarOutStopsAndTheSameNotchesInReturn) {
    int taken = 0;
    for (int notch = 0; notch < 10000; ++notch) {
        const double before = app.camera().scale;
        app.wheel(-120, 123, 77);
        if (app.camera().scale != before) ++taken;
    }
    EXPECT_LT(taken, 10000);  // the zoom stopped at its limit
    EXPECT_GE(app.camera().scale, ViewCamera::minimumScale);
    EXPECT_TRUE(stateIsFinite(app));
    for (int notch = 0; notch < taken; ++notch)
        app.wheel(120, 123, 77);
    EXPECT_NEAR(app.camera().scale, startScale, startScale * 1e-9);
    EXPECT_TRUE(stateIsFinite(app));
}

TEST_F(LongGestures, DeepZoomAndEndlessPanningStayDefined) {
    showEveryLayer(app);
    for (int notch = 0; notch < 200; ++notch)
        app.wheel(120, 200, 150);
    app.character(U'p');
    for (int gesture = 0; gesture < 33000; ++gesture) {
        app.leftButtonDown(-32768, 0);
        app.leftButtonDown(32767, -32768);
    }
    EXPECT_EQ(app.camera().originX, std::numeric_limits<std::int32_t>::max());
    expectSanePaint(app);
    app.wheel(120, 32767, 32767);
    expectSanePaint(app);
}

// --- Names shown to the user.

struct ShownText {
    std::string name;
    std::string bytes;
    std::string shown;
};

void PrintTo(const ShownText& t, std::ostream* out) {
    *out << t.name;
}

class DisplayText : public ::testing::TestWithParam<ShownText> {};

TEST_P(DisplayText, KeepsUtf8AndEscapesEveryOtherByte) {
    EXPECT_EQ(displayText(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DisplayText,
    ::testing::Values(ShownText{"Ascii", "plate.txt", "plate.txt"},
                      ShownText{"Utf8", "\xe5\xba\x94\xe5\x8a\x9b \xf0\x9f\x98\x80",
                                "\xe5\xba\x94\xe5\x8a\x9b \xf0\x9f\x98\x80"},
                      ShownText{"Latin1", "out_\xff\xfe.png", "out_\\xFF\\xFE.png"},
                      ShownText{"Overlong", "\xc0\xaf", "\\xC0\\xAF"},
                      ShownText{"Surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
                      ShownText{"BeyondUnicode", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
                      ShownText{"CutShort", "a\xe2\x82", "a\\xE2\\x82"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelt
