#include "gui/QtCanvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/DigitStamps.h"
#include "gui/FontMapping.h"
#include "gui/QtPen.h"
#include "gui/RenderImage.h"
#include "render/RubberBands.h"

namespace corvelt {
namespace {

constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb gold{255, 215, 0};
constexpr Rgb magenta{255, 0, 255};

QRgb qrgb(Rgb colour) {
    return qRgb(colour.red, colour.green, colour.blue);
}

// The smallest rectangle holding every pixel that is not the background.
struct Extent {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;  // inclusive
    int bottom = INT_MIN;
    int count = 0;
};

Extent inkExtent(const QImage& image, Rgb backgroundColour = black) {
    Extent extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qrgb(backgroundColour)) continue;
            extent.left = std::min(extent.left, x);
            extent.right = std::max(extent.right, x);
            extent.top = std::min(extent.top, y);
            extent.bottom = std::max(extent.bottom, y);
            ++extent.count;
        }
    }
    return extent;
}

std::set<QRgb> coloursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours;
}

QImage render(int width, int height, const std::function<void(Canvas&)>& draw) {
    return renderImage(width, height, black, draw);
}

TEST(QtCanvasImage, RefusesImagesThatAreNot32BitRgb) {
    QImage grey(4, 4, QImage::Format_Grayscale8);
    EXPECT_THROW(QtCanvas{grey}, std::invalid_argument);
}

TEST(QtCanvasImage, DrawingLeavesACopyTakenBeforeUntouched) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qrgb(black));
    const QImage copy = image;  // shares the pixels until one side writes
    {
        QtCanvas canvas(image);
        canvas.clear(red);
    }
    EXPECT_EQ(image.pixel(3, 3), qrgb(red));
    EXPECT_EQ(copy.pixel(3, 3), qrgb(black));
}

TEST(QtCanvasImage, DirectFillsAndPainterCallsKeepTheirOrder) {
    const QImage image = render(40, 20, [](Canvas& canvas) {
        const std::array<Pixel, 2> line{Pixel{0, 10}, Pixel{40, 10}};
        const std::array<Pixel, 4> patch{Pixel{10, 0}, Pixel{20, 0}, Pixel{20, 20}, Pixel{10, 20}};
        canvas.drawPath(line, false, Pen{white});
        canvas.fillPolygon(patch, gold);  // over the line
        const std::array<Pixel, 2> later{Pixel{15, 0}, Pixel{15, 20}};
        canvas.drawPath(later, false, Pen{red});  // over the patch
    });
    EXPECT_EQ(image.pixel(5, 10), qrgb(white));
    EXPECT_EQ(image.pixel(12, 10), qrgb(gold));
    EXPECT_EQ(image.pixel(15, 10), qrgb(red));
    EXPECT_EQ(image.pixel(25, 10), qrgb(white));
}

TEST(QtCanvasBox, CoversLeftToRightMinusOneWithItsBorderOnTheOutermostPixels) {
    const QImage image =
        render(60, 40, [](Canvas& canvas) { canvas.drawBox(10, 5, 30, 25, gold, Pen{white}); });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.left, 10);
    EXPECT_EQ(extent.right, 29);
    EXPECT_EQ(extent.top, 5);
    EXPECT_EQ(extent.bottom, 24);
    EXPECT_EQ(extent.count, 20 * 20);
    for (const auto& [x, y] : {std::pair{10, 15}, {29, 15}, {20, 5}, {20, 24}, {10, 5}, {29, 24}}) {
        EXPECT_EQ(image.pixel(x, y), qrgb(white)) << x << ", " << y;
    }
    EXPECT_EQ(image.pixel(11, 6), qrgb(gold));
    EXPECT_EQ(image.pixel(28, 23), qrgb(gold));
}

TEST(QtCanvasBox, SwappedCornersGiveTheSameBoxAndEmptyBoxesNothing) {
    const auto draw = [](int left, int top, int right, int bottom) {
        return render(40, 40, [=](Canvas& canvas) {
            canvas.drawBox(left, top, right, bottom, gold, Pen{white});
        });
    };
    EXPECT_EQ(draw(30, 25, 10, 5), draw(10, 5, 30, 25));
    EXPECT_EQ(inkExtent(draw(10, 5, 10, 25)).count, 0);
    EXPECT_EQ(inkExtent(draw(10, 5, 30, 5)).count, 0);
}

TEST(QtCanvasBox, IsClippedAtTheCanvasEdges) {
    const QImage image =
        render(20, 20, [](Canvas& canvas) { canvas.drawBox(-10, 12, 50, 300, gold, Pen{white}); });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.left, 0);
    EXPECT_EQ(extent.right, 19);
    EXPECT_EQ(extent.top, 12);
    EXPECT_EQ(extent.bottom, 19);
    EXPECT_EQ(image.pixel(0, 15), qrgb(gold));  // the left border lies outside
    EXPECT_EQ(image.pixel(5, 12), qrgb(white));
}

TEST(QtCanvasBox, AWiderBorderStaysInsideTheBox) {
    const QImage image = render(40, 40, [](Canvas& canvas) {
        canvas.drawBox(10, 10, 30, 30, gold, Pen{red, 2});
    });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.left, 10);
    EXPECT_EQ(extent.right, 29);
    EXPECT_EQ(image.pixel(11, 20), qrgb(red));
    EXPECT_EQ(image.pixel(12, 20), qrgb(gold));
}

class QtCanvasCircle : public ::testing::TestWithParam<int> {};

TEST_P(QtCanvasCircle, CoversTheSquareFromCentreMinusRadiusToCentrePlusRadiusMinusOne) {
    const int radius = GetParam();
    const Pixel centre{30, 25};
    const QImage image =
        render(64, 64, [&](Canvas& canvas) { canvas.drawCircle(centre, radius, Pen{white}); });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.left, centre.x - radius);
    EXPECT_EQ(extent.right, centre.x + radius - 1);
    EXPECT_EQ(extent.top, centre.y - radius);
    EXPECT_EQ(extent.bottom, centre.y + radius - 1);
    EXPECT_EQ(image.pixel(centre.x, centre.y), qrgb(black)) << "an outline, not a disc";
    EXPECT_EQ(coloursOf(image), (std::set<QRgb>{qrgb(black), qrgb(white)}));
}

INSTANTIATE_TEST_SUITE_P(Radii, QtCanvasCircle, ::testing::Values(2, 3, 6, 11));

TEST(QtCanvasCircleWidth, StampedCirclesAreTheSamePixelsAsQtsOwnEllipses) {
    for (const int radius : {1, 3, 6, 11, 40, 70}) {
        for (const int width : {1, 2}) {
            for (const Pixel centre : {Pixel{60, 50}, Pixel{2, 97}}) {  // the second one clipped
                const Pen pen{red, width};
                const QImage stamped = render(
                    120, 100, [&](Canvas& canvas) { canvas.drawCircle(centre, radius, pen); });
                QImage painted(120, 100, QImage::Format_RGB32);
                painted.fill(qrgb(black));
                {
                    QPainter painter(&painted);
                    painter.setPen(toQPen(pen));
                    painter.drawEllipse(QRect(centre.x - radius, centre.y - radius, 2 * radius - 1,
                                              2 * radius - 1));
                }
                EXPECT_EQ(stamped, painted)
                    << "radius " << radius << " width " << width << " at " << centre.x;
            }
        }
    }
}

TEST(QtCanvasCircleWidth, CirclesFarOutsideDrawNothing) {
    const QImage image = render(20, 20, [](Canvas& canvas) {
        canvas.drawCircle({-1000000000, 5}, 6, Pen{white});
        canvas.drawCircle({5, 2000000000}, 6, Pen{white});
        canvas.drawCircle({5, 5}, 0, Pen{white});
    });
    EXPECT_EQ(inkExtent(image).count, 0);
}

TEST(QtCanvasPath, AnOpenPathLeavesOutItsLastPixel) {
    const QImage image = render(20, 10, [](Canvas& canvas) {
        const std::array<Pixel, 3> path{Pixel{2, 2}, Pixel{10, 2}, Pixel{10, 8}};
        canvas.drawPath(path, false, Pen{white});
    });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.count, 8 + 6);
    EXPECT_EQ(image.pixel(2, 2), qrgb(white));
    EXPECT_EQ(image.pixel(10, 2), qrgb(white));  // the inner corner is drawn
    EXPECT_EQ(image.pixel(10, 7), qrgb(white));
    EXPECT_EQ(image.pixel(10, 8), qrgb(black));
}

TEST(QtCanvasPath, AClosedPathDrawsEveryCorner) {
    const QImage image = render(20, 20, [](Canvas& canvas) {
        drawZoomBox(canvas, {3, 4}, {12, 15});
    });
    const Extent extent = inkExtent(image);
    EXPECT_EQ(extent.left, 3);
    EXPECT_EQ(extent.top, 4);
    EXPECT_EQ(extent.right, 12);
    EXPECT_EQ(extent.bottom, 15);
    EXPECT_EQ(extent.count, 2 * 10 + 2 * 10);
    for (const auto& [x, y] : {std::pair{3, 4}, {12, 4}, {12, 15}, {3, 15}}) {
        EXPECT_EQ(image.pixel(x, y), qrgb(white)) << x << ", " << y;
    }
}

// Runs of lit pixels along row y from x = 0.
std::vector<int> litRuns(const QImage& image, int y) {
    std::vector<int> runs;
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != qrgb(black)) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) runs.push_back(run);
    return runs;
}

TEST(QtCanvasPath, DashesAreEighteenOnAndSixOffAndSolidIsUnbroken) {
    const auto line = [](PenStyle style, int width) {
        return render(120, 8, [=](Canvas& canvas) {
            const std::array<Pixel, 2> path{Pixel{0, 4}, Pixel{120, 4}};
            canvas.drawPath(path, false, Pen{magenta, width, style});
        });
    };
    EXPECT_EQ(litRuns(line(PenStyle::solid, 1), 4), std::vector<int>{120});
    EXPECT_EQ(litRuns(line(PenStyle::dashed, 1), 4), (std::vector<int>{18, 18, 18, 18, 18}));
    const std::vector<int> wide = litRuns(line(PenStyle::dashed, 2), 4);
    ASSERT_GE(wide.size(), 4u);
    EXPECT_NEAR(wide[1], 18, 2);
}

TEST(QtCanvasPath, APickRectangleDraggedLeftIsDashedAndOneDraggedRightIsSolid) {
    const auto band = [](Pixel anchor, Pixel current) {
        return render(100, 60, [=](Canvas& canvas) { drawPickRectangle(canvas, anchor, current); });
    };
    const QImage rightward = band({5, 10}, {95, 50});
    const QImage leftward = band({95, 10}, {5, 50});
    EXPECT_EQ(inkExtent(leftward).left, inkExtent(rightward).left);
    EXPECT_LT(inkExtent(leftward).count, inkExtent(rightward).count * 9 / 10);
    EXPECT_EQ(coloursOf(leftward), (std::set<QRgb>{qrgb(black), qrgb(magenta)}));
}

TEST(QtCanvasPath, LinesReachingFarOutsideKeepTheirVisiblePart) {
    const QImage image = render(40, 40, [](Canvas& canvas) {
        const std::array<Pixel, 2> horizontal{Pixel{-2000000000, 10}, Pixel{2000000000, 10}};
        const std::array<Pixel, 2> vertical{Pixel{20, 2000000000}, Pixel{20, -2000000000}};
        canvas.drawPath(horizontal, false, Pen{white});
        canvas.drawPath(vertical, false, Pen{white});
    });
    EXPECT_EQ(litRuns(image, 10), std::vector<int>{40});
    EXPECT_EQ(inkExtent(image).count, 40 + 39);
}

// Short wide solid paths are stamped; they must light the painter's pixels, also
// where they are clipped at the canvas's edges or at a band's rows.
TEST(QtCanvasPath, StampedWidePathsAreThePaintersPixels) {
    std::mt19937 random(7);
    const auto uniform = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int path = 0; path < 300; ++path) {
        const int span = path % 3 == 0 ? 24 : 5;
        std::vector<Pixel> corners{{uniform(-8, 128), uniform(-8, 108)}};
        const int count = uniform(2, 4);
        while (static_cast<int>(corners.size()) < count)
            corners.push_back(
                {corners[0].x + uniform(-span, span), corners[0].y + uniform(-span, span)});
        const bool closed = path % 2 == 0;
        const Pen pen{red, uniform(2, 4)};
        QImage painted(120, 100, QImage::Format_RGB32);
        painted.fill(qrgb(black));
        {
            QPainter painter(&painted);
            painter.setPen(toQPen(pen));
            QPolygon polygon;
            for (const Pixel corner : corners)
                polygon << QPoint(corner.x, corner.y);
            closed ? painter.drawPolygon(polygon) : painter.drawPolyline(polygon);
        }
        EXPECT_EQ(render(120, 100, [&](Canvas& canvas) { canvas.drawPath(corners, closed, pen); }),
                  painted)
            << "path " << path;

        QImage banded(120, 100, QImage::Format_RGB32);
        banded.fill(qrgb(black));
        {
            QtCanvas canvas(banded);
            canvas.rowBand(30, 70)->drawPath(corners, closed, pen);
        }
        for (int y = 0; y < 100; ++y)
            if (y < 30 || y >= 70)
                std::fill_n(reinterpret_cast<QRgb*>(painted.scanLine(y)), 120, qrgb(black));
        EXPECT_EQ(banded, painted) << "path " << path << " in a band";
    }
}

TEST(QtCanvasText, LandsInItsCellInItsColourOnATransparentBackground) {
    const Font font{25, 0, "Times New Roman"};
    const Pixel topLeft{20, 10};
    const QImage image = renderImage(200, 60, gold, [&](Canvas& canvas) {
        canvas.drawText(topLeft, "1.25e+08", font, magenta);
    });
    const Extent extent = inkExtent(image, gold);
    EXPECT_GT(extent.count, 50);
    EXPECT_GE(extent.left, topLeft.x);
    EXPECT_LE(extent.left, topLeft.x + 4);
    EXPECT_GE(extent.top, topLeft.y);
    EXPECT_LT(extent.bottom, topLeft.y + font.height);
    // Glyph pixels in the text colour, everything else the untouched background.
    EXPECT_EQ(coloursOf(image), (std::set<QRgb>{qrgb(gold), qrgb(magenta)}));
}

TEST(QtCanvasText, TheDigitsSitOnTheBaselineAtTheCellsAscent) {
    const ResolvedFont resolved = resolveFont(Font{25, 0, "Times New Roman"});
    const QImage image = render(100, 60, [](Canvas& canvas) {
        canvas.drawText({5, 10}, "80", Font{25}, white);
    });
    EXPECT_EQ(inkExtent(image).bottom, 10 + resolved.ascent - 1);
}

TEST(QtCanvasText, TextPartlyOffTheCanvasIsClippedAndFarAwayTextSkipped) {
    const QImage image = render(30, 30, [](Canvas& canvas) {
        canvas.drawText({-8, -12}, "888", Font{25}, white);
        canvas.drawText({-2000000000, 5}, "888", Font{25}, white);
        canvas.drawText({5, 2000000000}, "888", Font{25}, white);
    });
    const Extent extent = inkExtent(image);
    EXPECT_GT(extent.count, 0);
    EXPECT_EQ(extent.top, 0);
}

TEST(FontMapping, TimesNewRomanResolvesToAMetricCompatibleSerifFace) {
    const ResolvedFont resolved = resolveFont(Font{25});
    EXPECT_EQ(QFontInfo(resolved.font).family(), QString("Liberation Serif"));
}

class FontCellHeight : public ::testing::TestWithParam<int> {};

TEST_P(FontCellHeight, TheDrawnCellHasTheRequestedHeight) {
    const int height = GetParam();
    for (const int width : {0, height / 2}) {
        const ResolvedFont resolved = resolveFont(Font{height, width});
        const QFontMetrics metrics(resolved.font);
        EXPECT_EQ(resolved.cellHeight, metrics.ascent() + metrics.descent());
        EXPECT_NEAR(resolved.cellHeight, height, 1) << "width " << width;
    }
}

INSTANTIATE_TEST_SUITE_P(Heights, FontCellHeight, ::testing::Values(8, 12, 16, 17, 25, 40, 120));

// The classic average width: the weighted mean of the lower-case letters and the space.
double averageWidth(const QFont& font) {
    static constexpr std::array<int, 27> weights{64, 14, 27, 35, 100, 20, 14, 42, 63,
                                                 3,  6,  35, 20, 56,  56, 17, 4,  49,
                                                 56, 71, 31, 10, 18,  3,  18, 2,  166};
    const QFontMetricsF metrics(font);
    double sum = weights[26] * metrics.horizontalAdvance(QChar(u' '));
    for (int i = 0; i < 26; ++i)
        sum += weights[i] * metrics.horizontalAdvance(QChar(u'a' + i));
    return sum / 1000.0;
}

TEST(FontMapping, AGivenAverageWidthStretchesTheFontToIt) {
    for (const auto& [height, width] : {std::pair{16, 8}, {25, 12}, {40, 10}, {12, 6}}) {
        const ResolvedFont resolved = resolveFont(Font{height, width});
        EXPECT_NEAR(averageWidth(resolved.font), width, 0.02 * width + 0.1)
            << height << " x " << width;
    }
}

TEST(FontMapping, HeightZeroIsTheDefaultSizeAndANegativeHeightTheEm) {
    EXPECT_EQ(resolveFont(Font{0}).font.pixelSize(), defaultFontPixelSize);
    EXPECT_EQ(resolveFont(Font{-20}).font.pixelSize(), 20);
}

TEST(FontMapping, AHugeHeightIsCapped) {
    const ResolvedFont resolved = resolveFont(Font{2000000000, 1000000000});
    EXPECT_LE(resolved.font.pixelSize(), 10000);
    EXPECT_GT(resolved.cellHeight, 1000);
}

}  // namespace
}  // namespace corvelt

namespace corvelt {
namespace {

// Our canvas with every text through the painter, as numbers went before they were
// stamped.
class PainterTextCanvas : public QtCanvas {
  public:
    using QtCanvas::QtCanvas;

    void drawText(Pixel topLeft, std::string_view text, const Font& font, Rgb colour) override {
        const ResolvedFont& resolved = fonts_.resolve(font);
        QPainter& qpainter = painter();
        qpainter.setFont(resolved.font);
        qpainter.setPen(qrgb(colour));
        qpainter.drawText(QPoint(topLeft.x, topLeft.y + resolved.ascent),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

  private:
    FontCache fonts_;
};

template <typename CanvasType>
QImage labels(int height, int seed) {
    QImage image(300, 120, QImage::Format_RGB32);
    image.fill(Qt::black);
    CanvasType canvas(image);
    std::uint32_t state = static_cast<std::uint32_t>(seed);
    const auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % range);
    };
    // Numbers of one to seven digits all over the image and across its edges, in
    // the label font of that height; "11" and "71" are kerned in most faces.
    for (const std::string_view text : {"0", "11", "171", "1111", "9876543", "1010", "47"}) {
        const Pixel at{next(340) - 40, next(160) - 40};
        canvas.drawText(at, text, Font{height, height / 2, "Times New Roman"},
                        Rgb{0, 0, static_cast<std::uint8_t>(155 + next(100))});
        canvas.drawText(at, std::to_string(next(10000000)), Font{height, height / 2},
                        Rgb{255, 0, 255});
    }
    canvas.finish();
    return image;
}

// Labels from about a pixel high to large ones, and height 0 (the default size).
TEST(StampedNumbers, AreThePaintersText) {
    for (int height = 0; height <= 70; ++height)
        for (int seed = 1; seed <= 3; ++seed)
            ASSERT_TRUE(labels<QtCanvas>(height, seed) == labels<PainterTextCanvas>(height, seed))
                << "height " << height << ", seed " << seed;
}

TEST(StampedNumbers, AreUsedForDigitsOfLabelSizes) {
    FontCache fonts;
    DigitStampCache stamps;
    for (const int height : {1, 8, 16, 40}) {
        EXPECT_NE(stamps.stampsFor(Font{height, height / 2}, fonts), nullptr) << height;
    }
    EXPECT_EQ(stamps.stampsFor(Font{500, 250}, fonts), nullptr);  // too big to be worth it
}

}  // namespace
}  // namespace corvelt
