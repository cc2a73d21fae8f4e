#include "render/ContourScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "render/ColorLegend.h"
#include "render/RecordingCanvas.h"
#include "render/TriangleBands.h"
#include "view/ViewCamera.h"

namespace corvelt {
namespace {

using Kind = CanvasCall::Kind;

ContourScale scaleOf(double minimum, double maximum, LegendOptions options) {
    return contourScale(ValueRange{minimum, maximum}, options);
}

LegendOptions withBands(int bands) {
    LegendOptions options;
    options.bands = bands;
    return options;
}

struct BandCase {
    int bands;
    std::vector<Rgb> colours;  // of every band, lowest first
};

class BandColours : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandColours, FollowTheRampThroughTheClassicColours) {
    const BandCase& c = GetParam();
    const ContourScale scale = scaleOf(0.0, 1.0, withBands(c.bands));
    ASSERT_EQ(scale.legend.bandCount, c.bands);
    ASSERT_EQ(scale.cut.bandCount, c.bands);
    for (int band = 0; band < c.bands; ++band) {
        EXPECT_EQ(scale.legend.colours[band], c.colours[band]) << band;
        EXPECT_EQ(scale.cut.colours[band], c.colours[band]) << band;
    }
}

const Rgb blue{0, 0, 255}, cyan{0, 255, 255}, green{0, 255, 0}, yellow{255, 255, 0},
    red{255, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Counts, BandColours,
    ::testing::Values(
        BandCase{2, {blue, red}}, BandCase{5, {blue, cyan, green, yellow, red}},
        BandCase{9,
                 {blue, {0, 127, 255}, cyan, {0, 255, 127}, green, {127, 255, 0}, yellow,
                  {255, 127, 0}, red}},
        // Midpoints round halves up: 127 / 2 = 63.5 gives 64, (255 + 127) / 2 = 191.
        BandCase{17,
                 {blue, {0, 64, 255}, {0, 127, 255}, {0, 191, 255}, cyan, {0, 255, 191},
                  {0, 255, 127}, {0, 255, 64}, green, {64, 255, 0}, {127, 255, 0},
                  {191, 255, 0}, yellow, {255, 191, 0}, {255, 127, 0}, {255, 64, 0}, red}}),
    [](const auto& info) { return std::to_string(info.param.bands); });

TEST(BandColours, TwentyFourBandsRunFromBlueToRedWithoutRepeats) {
    const ContourScale scale = scaleOf(0.0, 1.0, withBands(24));
    EXPECT_EQ(scale.legend.colours[0], blue);
    EXPECT_EQ(scale.legend.colours[23], red);
    // Band 1 at t = 1/23: 8/23 of the way from blue to azure, 127 * 8 / 23 = 44.17.
    EXPECT_EQ(scale.legend.colours[1], (Rgb{0, 44, 255}));
    for (int band = 1; band < 24; ++band)
        EXPECT_NE(scale.legend.colours[band], scale.legend.colours[band - 1]) << band;
}

TEST(BandLimitsOfCounts, AreARunningSumEndingAtTheMaximumItself) {
    for (const int bands : {2, 5, 9, 17, 24}) {
        const ContourScale scale = scaleOf(-1.0, 1.3, withBands(bands));
        const double step = 2.3 / bands;
        double sum = -1.0;
        EXPECT_EQ(scale.legend.limits[0], -1.0) << bands;
        for (int k = 1; k < bands; ++k) {
            sum += step;
            EXPECT_EQ(scale.legend.limits[k], sum) << bands << " " << k;
        }
        EXPECT_EQ(scale.legend.limits[bands], 1.3) << bands;
        EXPECT_TRUE(scale.cut.nonDecreasing);
    }
    // Nothing selected: all zero, nothing to paint.
    const ContourScale none = contourScale(std::nullopt, LegendOptions{});
    EXPECT_FALSE(none.haveValues);
    EXPECT_EQ(none.legend.limits[9], 0.0);
}

// Which band of the cut a whole triangle of one value lands in.
int bandOfValue(const BandLimits& cut, double value) {
    int band = -1;
    int polygons = 0;
    cutTriangleIntoBands({Point2D{0, 0}, Point2D{1, 0}, Point2D{0, 1}}, {value, value, value}, cut,
                         [&](int b, std::span<const Point2D> corners) {
                             // Triangles of one value also yield zero-area pieces.
                             const double area = (corners[1].x - corners[0].x) *
                                                     (corners[2].y - corners[0].y) -
                                                 (corners[2].x - corners[0].x) *
                                                     (corners[1].y - corners[0].y);
                             if (area != 0.0) {
                                 band = b;
                                 ++polygons;
                             }
                         });
    EXPECT_LE(polygons, 1);
    return band;
}

TEST(FixedRange, PaintsGreyBeyondItsEndsAndTheBandColoursAtThem) {
    LegendOptions options = withBands(5);
    options.range = LegendRange::fixed;
    options.fixedMin = 10.0;
    options.fixedMax = 60.0;
    const ContourScale scale = scaleOf(-1e9, 1e9, options);  // the selection's range is ignored
    EXPECT_EQ(scale.legend.limits[0], 10.0);
    EXPECT_EQ(scale.legend.limits[5], 60.0);
    EXPECT_TRUE(scale.legend.outOfRangeBoxes);
    const BandLimits& cut = scale.cut;
    ASSERT_EQ(cut.bandCount, 7);
    EXPECT_EQ(cut.colours[0], belowRangeColour);
    EXPECT_EQ(cut.colours[6], aboveRangeColour);

    const double below = std::nextafter(10.0, 0.0);
    const double above = std::nextafter(60.0, 100.0);
    EXPECT_EQ(bandOfValue(cut, -1e300), 0);
    EXPECT_EQ(bandOfValue(cut, below), 0);
    EXPECT_EQ(bandOfValue(cut, 10.0), 1);  // the lowest legend band
    EXPECT_EQ(bandOfValue(cut, std::nextafter(10.0, 20.0)), 1);
    EXPECT_EQ(bandOfValue(cut, 60.0), 5);  // the highest legend band
    EXPECT_EQ(bandOfValue(cut, above), 6);
    EXPECT_EQ(bandOfValue(cut, 1e300), 6);
}

struct FormatCase {
    LegendNumberFormat format;
    int digits;
    double value;
    const char* text;
};

class LegendNumbers : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LegendNumbers, AreWrittenInTheChosenFormat) {
    LegendOptions options;
    options.format = GetParam().format;
    options.digits = GetParam().digits;
    EXPECT_EQ(formatLegendNumber(GetParam().value, options), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LegendNumbers,
    ::testing::Values(FormatCase{LegendNumberFormat::general, 3, 0.5, "0.5       "},
                      FormatCase{LegendNumberFormat::general, 0, -1.5e8, "-1.5e+08  "},
                      FormatCase{LegendNumberFormat::fixed, 0, 2.5, "2"},
                      FormatCase{LegendNumberFormat::fixed, 2, -0.125, "-0.12"},
                      FormatCase{LegendNumberFormat::fixed, 10, 1.0 / 3.0, "0.3333333333"},
                      FormatCase{LegendNumberFormat::scientific, 0, 12345.0, "1e+04"},
                      FormatCase{LegendNumberFormat::scientific, 3, 1e-300, "1.000e-300"},
                      FormatCase{LegendNumberFormat::scientific, 2, -0.0, "-0.00e+00"}));

ViewCamera cameraOf(int width, int height) {
    ViewCamera camera;
    camera.screenWidth = width;
    camera.screenHeight = height;
    return camera;
}

TEST(LegendTitle, NamesTheQuantityAndFaceThenTheUnits) {
    LegendLook look;
    look.quantityTitle = "Stress Intensity";
    look.faceTitle = "Membrane";
    EXPECT_EQ(legendTitleLines(look)[0], "Stress Intensity, Membrane");
    EXPECT_EQ(legendTitleLines(look)[1], "");
    look.options.units = "MPa";
    look.options.title = true;

    RecordingCanvas canvas(800, 600);
    drawLegend(canvas, cameraOf(800, 600), scaleOf(0, 90, LegendOptions{}).legend, look);
    const std::vector<CanvasCall> texts = canvas.callsOf(Kind::drawText);
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[10].text, "Stress Intensity, Membrane");
    EXPECT_EQ(texts[11].text, "MPa");
    // Above the highest label, white on the black background, from the boxes' left
    // unless that would take it out of the window.
    EXPECT_LT(texts[11].points.front().y, texts[9].points.front().y);
    EXPECT_LT(texts[10].points.front().y, texts[11].points.front().y);
    const int width = canvas.textWidth(texts[10].text, Font{25, 0, "Times New Roman"});
    ASSERT_GT(width, 200);
    EXPECT_EQ(texts[10].points.front().x, 800 - 6 - width);
    EXPECT_EQ(texts[11].points.front().x, texts[10].points.front().x);
    EXPECT_EQ(texts[10].colour, (Rgb{255, 255, 255}));
}

TEST(LegendLayout, ManyBandsShrinkToTheHeightAndTheBackingCoversEverything) {
    LegendLook look;
    look.options = withBands(24);
    look.options.backing = true;
    look.background = Rgb{255, 255, 255};
    RecordingCanvas canvas(800, 600);
    drawLegend(canvas, cameraOf(800, 600), scaleOf(0, 1, look.options).legend, look);
    const std::vector<CanvasCall> boxes = canvas.callsOf(Kind::drawBox);
    ASSERT_EQ(boxes.size(), 25u);  // the panel first, then a box per band
    const CanvasCall& panel = boxes[0];
    EXPECT_EQ(panel.colour, (Rgb{215, 215, 215}));
    const int boxHeight = boxes[1].points[1].y - boxes[1].points[0].y;
    EXPECT_EQ(boxHeight, (600 - 80) / 24);
    EXPECT_LE(24 * boxHeight, 600 - 80);
    for (const CanvasCall& text : canvas.callsOf(Kind::drawText)) {
        EXPECT_GE(text.points.front().y, panel.points[0].y);
        EXPECT_LE(text.points.front().y + text.fontHeight, panel.points[1].y);
    }
    // Nine bands keep their 35 pixels, whatever the height.
    RecordingCanvas small(800, 300);
    drawLegend(small, cameraOf(800, 300), scaleOf(0, 1, LegendOptions{}).legend, LegendLook{});
    const CanvasCall box = small.callsOf(Kind::drawBox).front();
    EXPECT_EQ(box.points[1].y - box.points[0].y, 35);
}

}  // namespace
}  // namespace corvelt
