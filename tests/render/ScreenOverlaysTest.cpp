#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "render/ColorLegend.h"
#include "render/RecordingCanvas.h"
#include "render/RubberBands.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

using Kind = CanvasCall::Kind;

TEST(Legend, BoxesAndLabelsSitWhereTheLayoutPutsThem) {
    ShellModel model;
    ViewCamera camera;
    camera.screenWidth = 800;
    camera.screenHeight = 600;
    BandLimits limits;
    for (std::size_t k = 0; k < BandLimits::count; ++k)
        limits.values[k] = 10.0 * static_cast<double>(k);
    RecordingCanvas canvas(800, 600);
    drawLegend(canvas, camera, model.colorTable, limits);

    const auto boxes = canvas.callsOf(Kind::drawBox);
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(boxes.size(), 9u);
    ASSERT_EQ(labels.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        if (k < 9) {  // the lowest box spans 422 to 457, the highest 142 to 177
            EXPECT_EQ(boxes[k].points,
                      (std::vector<Pixel>{{600, 422 - 35 * k}, {650, 457 - 35 * k}}));
            EXPECT_EQ(boxes[k].colour, model.colorTable[k]);
            EXPECT_EQ(boxes[k].pen.colour, (Rgb{0, 0, 0}));
        }
        // Labels at 445, 410, ..., 165 and the maximum at 130, each in the colour of
        // the box whose bottom edge it marks (the maximum: the top box).
        EXPECT_EQ(labels[k].points[0], (Pixel{655, 445 - 35 * k}));
        EXPECT_EQ(labels[k].text, formatLabel(10.0 * k));
        EXPECT_EQ(labels[k].colour, model.colorTable[std::min(k, 8)]);
        EXPECT_EQ(labels[k].fontHeight, 25);
        EXPECT_EQ(labels[k].fontFace, "Times New Roman");
    }
}

TEST(LegendLabel, FormatsAsPrintfsLeftAlignedGeneralConversion) {
    EXPECT_EQ(formatLabel(-1.5e8), "-1.5e+08  ");
    EXPECT_EQ(formatLabel(0.5), "0.5       ");
    const double values[] = {0.0,       -0.0,    1.0,        100000.0, 999999.5,   1e6,
                             1234567.0, 0.0001,  0.00012345, 1e-5,     3.14159265, -2.5,
                             1e100,     -7e-300, 45.000001,  99999.95, 123456789.0};
    for (const double value : values) {
        char expected[100];
        std::snprintf(expected, sizeof expected, "%-10g", value);  // the test runs in the C locale
        EXPECT_EQ(formatLabel(value), expected) << value;
    }
}

// Qt sets LC_NUMERIC from the desktop; a decimal-comma desktop must still see 0.5.
TEST(LegendLabel, IgnoresTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    if (!chosen) GTEST_SKIP() << "no decimal-comma locale installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%g", 0.5);
    const std::string label = formatLabel(0.5);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(probe, "0,5") << chosen;
    EXPECT_EQ(label, "0.5       ");
}

TEST(RubberBands, ZoomBoxIsWhiteAndPickRectangleDashedOnlyLeftward) {
    RecordingCanvas canvas(100, 100);
    drawZoomBox(canvas, {10, 20}, {50, 5});
    drawPickRectangle(canvas, {10, 20}, {50, 5});
    drawPickRectangle(canvas, {50, 5}, {10, 20});
    ASSERT_EQ(canvas.calls().size(), 3u);
    const CanvasCall& box = canvas.calls()[0];
    EXPECT_TRUE(box.closed);
    EXPECT_EQ(box.points, (std::vector<Pixel>{{10, 20}, {50, 20}, {50, 5}, {10, 5}}));
    EXPECT_EQ(box.pen.colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(box.pen.style, PenStyle::solid);
    EXPECT_EQ(canvas.calls()[1].pen.colour, (Rgb{255, 0, 255}));
    EXPECT_EQ(canvas.calls()[1].pen.style, PenStyle::solid);
    EXPECT_EQ(canvas.calls()[2].pen.style, PenStyle::dashed);
}

}  // namespace
}  // namespace corvelt
