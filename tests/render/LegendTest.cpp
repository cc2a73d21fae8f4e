#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "render/ColorLegend.h"
#include "render/RecordingCanvas.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

using Kind = CanvasCall::Kind;

class Legend : public ::testing::Test {
  protected:
    Legend() : canvas(800, 600) {
        camera.screenWidth = 800;
        camera.screenHeight = 600;
        for (std::size_t k = 0; k < BandLimits::count; ++k)
            limits.values[k] = 10.0 * static_cast<double>(k);
        drawLegend(canvas, camera, model.colorTable, limits);
    }

    ShellModel model;
    ViewCamera camera;
    BandLimits limits;
    RecordingCanvas canvas;
};

TEST_F(Legend, NineBoxesStackUpwardFromTheLowestBand) {
    const auto boxes = canvas.callsOf(Kind::drawBox);
    ASSERT_EQ(boxes.size(), 9u);
    for (int band = 0; band < 9; ++band) {
        const int bottom = 457 - 35 * band;
        EXPECT_EQ(boxes[band].points, (std::vector<Pixel>{{600, bottom - 35}, {650, bottom}}))
            << band;
        EXPECT_EQ(boxes[band].colour, model.colorTable[band]);
        EXPECT_EQ(boxes[band].pen.colour, (Rgb{0, 0, 0}));
        EXPECT_EQ(boxes[band].pen.width, 1);
    }
    EXPECT_EQ(boxes[8].points[0].y, 142);  // the highest box spans 142 to 177
}

TEST_F(Legend, TenLabelsStraddleTheBoxEdges) {
    const auto labels = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(labels.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(labels[k].points[0], (Pixel{655, 445 - 35 * k})) << k;
        EXPECT_EQ(labels[k].text, formatLabel(10.0 * k));
        EXPECT_EQ(labels[k].fontHeight, 25);
        EXPECT_EQ(labels[k].fontWidth, 0);
        EXPECT_EQ(labels[k].fontFace, "Times New Roman");
        // Each label in the colour of the box whose bottom edge it marks; the maximum
        // in that of the top box.
        EXPECT_EQ(labels[k].colour, model.colorTable[std::min(k, 8)]);
    }
    EXPECT_EQ(labels[9].points[0].y, 130);
}

TEST(LegendLabel, FormatsLikeLeftAlignedGeneralConversion) {
    EXPECT_EQ(formatLabel(-1.5e8), "-1.5e+08  ");
    EXPECT_EQ(formatLabel(0.5), "0.5       ");
    EXPECT_EQ(formatLabel(123456789.0), "1.23457e+08");  // longer than ten: no padding
}

TEST(LegendLabel, AgreesWithPrintfInTheCLocale) {
    const double values[] = {0.0,       -0.0,   1.0,        100000.0,  999999.0, 1e6,
                             1234567.0, 0.0001, 0.00012345, 1e-5,      -1e-5,    3.14159265,
                             -2.5,      1e100,  -7e-300,    45.000001, 99999.95, 0.1 + 0.2};
    for (const double value : values) {
        char expected[100];
        std::snprintf(expected, sizeof expected, "%-10g", value);
        EXPECT_EQ(formatLabel(value), expected) << value;
    }
}

// A desktop with a decimal comma sets LC_NUMERIC; the legend must still write 0.5.
TEST(LegendLabel, IgnoresTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE",
                                  "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
    const char* chosen = nullptr;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    if (!chosen) GTEST_SKIP() << "no decimal-comma locale installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%g", 0.5);
    const std::string label = formatLabel(0.5);
    const std::string big = formatLabel(-1.5e8);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(probe, "0,5") << "the locale " << chosen << " should use a decimal comma";
    EXPECT_EQ(label, "0.5       ");
    EXPECT_EQ(big, "-1.5e+08  ");
}

}  // namespace
}  // namespace corvelt
