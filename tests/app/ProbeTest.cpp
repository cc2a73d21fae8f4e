// The probe: the element under a pixel as a point pick finds it, the plotted value
// there as the contour paints it, and the nearest corner with all its stresses.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "samples/PressurizedCylinder.h"
#include "select/Picking.h"

namespace corvelt {
namespace {

// One unit square seen from +z in a 400 x 400 client; corner j carries Sx = 10 j on
// the first surface and 100 + 10 j on the second, Sy = -j on both.
ResultData rampSquare() {
    ResultData data;
    data.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    data.connectivity = {0, 1, 2, 3};
    ElementStressBlock block{};
    for (int j = 0; j < 4; ++j) {
        block.surfaces[0][j][Sx] = 10.0 * j;
        block.surfaces[1][j][Sx] = 100.0 + 10.0 * j;
        block.surfaces[0][j][Sy] = block.surfaces[1][j][Sy] = -j;
    }
    data.elementStresses = {block};
    return data;
}

class Probe : public ::testing::Test {
  protected:
    void SetUp() override {
        app.adoptFile(rampSquare(), "ramp.txt");
        app.resize(400, 400);
        app.command(contourSxCommand);
    }
    Pixel pixelOf(double x, double y) const { return app.camera().viewToPixel(x, y); }
    std::optional<ProbeReading> probeAt(double x, double y) {
        const Pixel p = pixelOf(x, y);
        return app.probe(p.x, p.y);
    }

    Application app;
};

// The value at a pixel, from the file's corner values: linear over the triangle
// between the centre (the mean, 15) and the edge the point lies towards. Below the
// centre that is the triangle of corners 0 (value 0) and 1 (value 10), where the
// value is 10 x + 20 y.
TEST_F(Probe, ValueIsTheContoursInterpolation) {
    app.applyViewAngles(-90, 90, true);  // from +z: the first surface faces the viewer
    for (const Point2D target : {Point2D{0.5, 0.25}, Point2D{0.3, 0.1}, Point2D{0.55, 0.4}}) {
        const Pixel pixel = pixelOf(target.x, target.y);
        const Point2D at = app.camera().pixelToView(pixel);
        const std::optional<ProbeReading> reading = app.probe(pixel.x, pixel.y);
        ASSERT_TRUE(reading);
        EXPECT_EQ(reading->element, 0);
        EXPECT_EQ(reading->surface, 0);
        EXPECT_EQ(reading->component, Sx);
        EXPECT_NEAR(reading->value, 10.0 * at.x + 20.0 * at.y, 1e-9);
    }
}

TEST_F(Probe, NearestCornerWithBothSurfaces) {
    app.applyViewAngles(-90, 90, true);
    const std::optional<ProbeReading> reading = probeAt(0.9, 0.8);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->corner, 2);
    EXPECT_EQ(reading->node, 2);
    EXPECT_EQ(reading->cornerStresses[0][Sx], 20.0);
    EXPECT_EQ(reading->cornerStresses[1][Sx], 120.0);
    EXPECT_EQ(reading->cornerStresses[1][Sy], -2.0);
}

TEST_F(Probe, SeenFromBelowTheSecondSurfaceFaces) {
    app.applyViewAngles(-90, -90, true);  // view y is world -y
    const std::optional<ProbeReading> reading = probeAt(0.5, -0.5);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->surface, 1);
    EXPECT_NEAR(reading->value, 115.0, 1.0);  // the second surface's mean, near the centre
}

TEST_F(Probe, NothingOffTheModelOrOffTheClientArea) {
    app.applyViewAngles(-90, 90, true);
    EXPECT_FALSE(app.probe(2, 2));
    EXPECT_FALSE(app.probe(-1, 200));
    EXPECT_FALSE(app.probe(200, 400));
    EXPECT_FALSE(Application().probe(400, 300));  // no model
}

TEST(ProbeElement, FrontMostOfStackedElements) {
    Application app;
    app.adoptFile(testing::stackedSquares(), "stacked.txt");
    app.applyViewAngles(-90, 90, true);
    const Pixel centre = app.camera().viewToPixel(0.5, 0.5);
    EXPECT_EQ(app.probe(centre.x, centre.y)->element, 1);
    app.applyViewAngles(-90, -90, true);
    const Pixel below = app.camera().viewToPixel(0.5, -0.5);
    EXPECT_EQ(app.probe(below.x, below.y)->element, 0);
}

// The grid finds what a point pick finds, at every sampled pixel of a curved model
// seen from several sides, also after a turn and a zoom.
TEST(ProbeElement, AgreesWithPointPicking) {
    samples::CylinderSample sample;
    sample.axialElements = 20;
    sample.hoopElements = 24;
    sample.sweepDegrees = 360.0;
    Application app;
    app.adoptFile(samples::generateCylinderResult(sample), "tube.txt");
    app.resize(320, 240);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(0, 319), row(0, 239);
    const auto agree = [&] {
        ShellModel copy = app.model();
        for (int i = 0; i < 400; ++i) {
            const Pixel p{column(random), row(random)};
            const std::optional<ProbeReading> reading = app.probe(p.x, p.y);
            const std::optional<std::int32_t> picked =
                pickElementAtPoint(copy, app.camera(), p, 1, PickScope{});
            ASSERT_EQ(reading.has_value(), picked.has_value()) << p.x << ", " << p.y;
            if (picked) {
                EXPECT_EQ(reading->element, *picked) << p.x << ", " << p.y;
            }
        }
    };
    agree();
    app.keyDown(ArrowKey::up);
    app.keyDown(ArrowKey::left);
    agree();
    app.wheel(120, 100, 100);
    app.wheel(120, 100, 100);
    agree();
}

TEST_F(Probe, BatchProbeGoesIntoTheNextStateOnly) {
    app.applyViewAngles(-90, 90, true);
    const testing::TempDir dir;
    const Pixel corner = pixelOf(0.95, 0.95);
    std::istringstream script("probe " + std::to_string(corner.x) + " " + std::to_string(corner.y) +
                              "\nstate " + dir.file("a.json").string() + "\nprobe 0 0\nstate " +
                              dir.file("b.json").string() + "\nstate " +
                              dir.file("c.json").string() + "\n");
    ASSERT_FALSE(runBatch(script, app, nullptr));
    const auto a = nlohmann::json::parse(testing::readText(dir.file("a.json")));
    EXPECT_EQ(a["probe"]["x"], corner.x);
    EXPECT_EQ(a["probe"]["element"], 0);
    EXPECT_EQ(a["probe"]["node"], 2);
    EXPECT_EQ(a["probe"]["cornerStresses"][1][Sx], 120.0);
    const auto b = nlohmann::json::parse(testing::readText(dir.file("b.json")));
    EXPECT_TRUE(b["probe"]["element"].is_null());
    const auto c = nlohmann::json::parse(testing::readText(dir.file("c.json")));
    EXPECT_FALSE(c.contains("probe"));
}

}  // namespace
}  // namespace corvelt
