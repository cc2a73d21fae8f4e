#include "render/SpanFiller.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace corvelt {
namespace {

constexpr std::uint32_t background = 0xFF000000u;
constexpr std::uint32_t ink = 0xFFFFFFFFu;

__extension__ using Int128 = __int128;

// A pixel block with optional padding at the end of every row.
struct Raster {
    explicit Raster(int width, int height, int padding = 0)
        : stride(width + padding), pixels(static_cast<std::size_t>(stride) * height, background) {
        buffer = {pixels.data(), width, height, stride};
    }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * stride + x];
    }

    int stride;
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer;
};

struct EdgeSide {
    bool crossesRowAtOrLeft =
        false;                   // the edge crosses the row's centre line at or left of the centre
    bool throughCentre = false;  // ... exactly through the centre
};

// Where a slanted or vertical edge crosses the centre line of row y, relative to
// the centre of pixel x; exact for all 32-bit corners.
EdgeSide edgeSide(Pixel a, Pixel b, int x, int y) {
    if (a.y > b.y) std::swap(a, b);
    if (!(a.y <= y && y < b.y)) return {};
    const Int128 dx = Int128{b.x} - a.x;
    const Int128 dy = Int128{b.y} - a.y;
    // crossing - centre, times 2 dy > 0
    const Int128 offset = 2 * Int128{a.x} * dy + (2 * Int128{y} + 1 - 2 * Int128{a.y}) * dx -
                          (2 * Int128{x} + 1) * dy;
    return {offset <= 0, offset == 0};
}

// The coverage rule written out per pixel: inside when an odd number of edges
// cross the row's centre line at or left of the centre.
bool centreInside(std::span<const Pixel> polygon, int x, int y) {
    bool inside = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        if (edgeSide(polygon[i], polygon[(i + 1) % polygon.size()], x, y).crossesRowAtOrLeft)
            inside = !inside;
    }
    return inside;
}

bool centreOnAnEdge(std::span<const Pixel> polygon, int x, int y) {
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        if (edgeSide(polygon[i], polygon[(i + 1) % polygon.size()], x, y).throughCentre)
            return true;
    }
    return false;
}

std::vector<Pixel> randomPolygon(std::mt19937& random, int corners, int low, int high) {
    std::uniform_int_distribution<int> coordinate(low, high);
    std::vector<Pixel> polygon(static_cast<std::size_t>(corners));
    for (Pixel& corner : polygon)
        corner = {coordinate(random), coordinate(random)};
    return polygon;
}

int countDifferencesFromRule(const Raster& raster, std::span<const Pixel> polygon) {
    int differences = 0;
    for (int y = 0; y < raster.buffer.height; ++y) {
        for (int x = 0; x < raster.buffer.width; ++x) {
            if ((raster.at(x, y) == ink) != centreInside(polygon, x, y)) ++differences;
        }
    }
    return differences;
}

Raster filled(int width, int height, std::span<const Pixel> polygon) {
    Raster raster(width, height);
    SpanFiller(raster.buffer).fillPolygon(polygon, ink);
    return raster;
}

QImage filledByQt(int width, int height, std::span<const Pixel> polygon) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Qt::white));
    QPolygon qpolygon;
    for (const Pixel corner : polygon)
        qpolygon << QPoint(corner.x, corner.y);
    painter.drawPolygon(qpolygon, Qt::OddEvenFill);
    return image;
}

// Qt's painter samples pixel centres by the odd-even rule too, but decides a
// centre lying exactly on a slanted edge by the rounding of its fixed-point
// slope. Everywhere else the two must agree; on such centres ours follow the rule.
TEST(SpanFillerAgainstQt, RandomPolygonsDifferOnlyWhereACentreLiesOnAnEdge) {
    std::mt19937 random(20240611);
    constexpr int size = 48;
    int compared = 0;
    int onEdge = 0;
    for (int round = 0; round < 600; ++round) {
        // Triangles to pentagons, convex or not, crossing the buffer's sides.
        const auto polygon = randomPolygon(random, 3 + round % 3, -16, size + 16);
        const Raster ours = filled(size, size, polygon);
        const QImage qt = filledByQt(size, size, polygon);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                ++compared;
                if (centreOnAnEdge(polygon, x, y)) {
                    ++onEdge;
                    continue;
                }
                ASSERT_EQ(ours.at(x, y) == ink, qt.pixel(x, y) == ink)
                    << "pixel " << x << ", " << y;
            }
        }
        ASSERT_EQ(countDifferencesFromRule(ours, polygon), 0);
    }
    EXPECT_LT(onEdge * 100, compared) << "the comparison must cover more than edge pixels";
}

TEST(SpanFillerCoverage, ACentreOnASlantedEdgeBelongsToThePolygonOnTheEdgesRight) {
    // The diagonal from (0, 0) to (8, 8) passes through every centre (k + .5, k + .5).
    const std::array<Pixel, 3> belowDiagonal{Pixel{0, 0}, Pixel{8, 8}, Pixel{0, 8}};
    const std::array<Pixel, 3> aboveDiagonal{Pixel{0, 0}, Pixel{8, 0}, Pixel{8, 8}};
    const Raster left = filled(8, 8, belowDiagonal);
    const Raster right = filled(8, 8, aboveDiagonal);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(left.at(k, k), background) << k;
        EXPECT_EQ(right.at(k, k), ink) << k;
    }
}

TEST(SpanFillerCoverage, RowsAndColumnsOfARectangleEndBeforeItsFarSide) {
    const std::array<Pixel, 4> box{Pixel{2, 3}, Pixel{6, 3}, Pixel{6, 5}, Pixel{2, 5}};
    const Raster raster = filled(10, 10, box);
    int count = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
            EXPECT_EQ(raster.at(x, y) == ink, inside) << x << ", " << y;
            count += raster.at(x, y) == ink;
        }
    }
    EXPECT_EQ(count, 8);
}

TEST(SpanFillerCoverage, DegeneratePolygonsFillNothing) {
    const std::vector<std::vector<Pixel>> polygons{
        {},
        {{1, 1}},
        {{1, 1}, {7, 7}},
        {{1, 1}, {4, 4}, {7, 7}},                  // on one line
        {{2, 2}, {2, 2}, {2, 2}},                  // one point
        {{1, 5}, {6, 5}, {3, 5}},                  // flat
        {{1, 1}, {6, 6}, {6, 6}, {1, 1}, {1, 1}},  // there and back
    };
    for (const auto& polygon : polygons) {
        const Raster raster = filled(8, 8, polygon);
        EXPECT_EQ(std::count(raster.pixels.begin(), raster.pixels.end(), ink), 0) << polygon.size();
    }
}

TEST(SpanFillerCoverage, OverlapsCancelByTheOddEvenRule) {
    // A pentagram: its centre is crossed twice on each side, so it stays empty.
    const std::array<Pixel, 5> star{Pixel{20, 0}, Pixel{32, 38}, Pixel{0, 14}, Pixel{40, 14},
                                    Pixel{8, 38}};
    const Raster raster = filled(40, 40, star);
    EXPECT_EQ(raster.at(20, 20), background);
    EXPECT_EQ(raster.at(20, 5), ink);
    EXPECT_EQ(countDifferencesFromRule(raster, star), 0);
}

TEST(SpanFillerCoverage, PolygonsOfAFewPixelsFollowTheRule) {
    std::mt19937 random(13);
    std::uniform_int_distribution<int> place(-4, 12);
    for (int round = 0; round < 2000; ++round) {
        auto polygon = randomPolygon(random, 3 + round % 4, 0, 1 + round % 5);
        const Pixel offset{place(random), place(random)};
        for (Pixel& corner : polygon)
            corner = {corner.x + offset.x, corner.y + offset.y};
        ASSERT_EQ(countDifferencesFromRule(filled(12, 12, polygon), polygon), 0)
            << "round " << round;
    }
}

TEST(SpanFillerCoverage, PolygonsWithManyCornersFollowTheRule) {
    std::mt19937 random(7);
    Raster raster(64, 64);
    SpanFiller filler(raster.buffer);  // reused: its scratch space grows and shrinks
    for (int corners : {9, 17, 60, 9}) {
        std::fill(raster.pixels.begin(), raster.pixels.end(), background);
        const auto polygon = randomPolygon(random, corners, -10, 74);
        filler.fillPolygon(polygon, ink);
        EXPECT_EQ(countDifferencesFromRule(raster, polygon), 0) << corners;
    }
}

// Pixels covered by each of several polygons, counted.
std::vector<int> coverageCounts(int width, int height,
                                const std::vector<std::vector<Pixel>>& polygons) {
    std::vector<int> counts(static_cast<std::size_t>(width) * height, 0);
    for (const auto& polygon : polygons) {
        const Raster raster = filled(width, height, polygon);
        for (std::size_t i = 0; i < counts.size(); ++i)
            counts[i] += raster.pixels[i] == ink;
    }
    return counts;
}

// A grid of randomly jittered quads split into triangles around their centres,
// the way the contour splits an element, with alternating corner orders.
// Pitch 3 makes triangles of a pixel or two, as a dense mesh gives; pitch 10
// bigger ones.
class SpanFillerTiling : public ::testing::TestWithParam<int> {};

TEST_P(SpanFillerTiling, AJitteredMeshCoversEveryPixelOfItsHullExactlyOnce) {
    const int pitch = GetParam();
    std::mt19937 random(99);
    std::uniform_int_distribution<int> jitter(-pitch / 3, pitch / 3);
    constexpr int cells = 8;
    const int size = cells * pitch;
    std::array<std::array<Pixel, cells + 1>, cells + 1> grid;
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const bool border = i == 0 || j == 0 || i == cells || j == cells;
            grid[j][i] = {i * pitch + (border ? 0 : jitter(random)),
                          j * pitch + (border ? 0 : jitter(random))};
        }
    }
    std::vector<std::vector<Pixel>> triangles;
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const std::array<Pixel, 4> quad{grid[j][i], grid[j][i + 1], grid[j + 1][i + 1],
                                            grid[j + 1][i]};
            const Pixel centre{(quad[0].x + quad[2].x) / 2 + jitter(random) / 2,
                               (quad[0].y + quad[2].y) / 2 + jitter(random) / 2};
            for (int k = 0; k < 4; ++k) {
                const Pixel a = quad[k];
                const Pixel b = quad[(k + 1) % 4];
                if ((i + j + k) % 2 == 0) {
                    triangles.push_back({a, b, centre});
                } else {
                    triangles.push_back({centre, b, a});
                }
            }
        }
    }
    const std::vector<int> counts = coverageCounts(size, size, triangles);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            ASSERT_EQ(counts[y * size + x], 1) << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Pitches, SpanFillerTiling, ::testing::Values(3, 4, 10));

TEST(SpanFillerSharedEdges, RandomQuadsSplitAlongADiagonalCoverTheQuadOnce) {
    std::mt19937 random(5);
    constexpr int size = 40;
    for (int round = 0; round < 200; ++round) {
        auto quad = randomPolygon(random, 4, -8, size + 8);
        const std::vector<std::vector<Pixel>> halves{{quad[0], quad[1], quad[2]},
                                                     {quad[2], quad[3], quad[0]}};
        const std::vector<int> counts = coverageCounts(size, size, halves);
        const Raster whole = filled(size, size, quad);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                // Where the halves overlap (a folded quad) each pixel is covered twice
                // and the odd-even whole leaves it empty; nowhere may a pixel be lost.
                const int count = counts[y * size + x];
                ASSERT_EQ(whole.at(x, y) == ink, count == 1)
                    << x << ", " << y << " round " << round;
            }
        }
    }
}

// Clipping must not change any visible pixel: fill the polygon into a larger
// buffer shifted by a margin, and compare the window of it.
TEST(SpanFillerClipping, PolygonsCrossingEverySideFillTheSamePixelsAsUnclipped) {
    std::mt19937 random(11);
    constexpr int width = 30;
    constexpr int height = 20;
    constexpr int margin = 40;
    for (int round = 0; round < 300; ++round) {
        const auto polygon = randomPolygon(random, 3 + round % 4, -margin, width + margin);
        std::vector<Pixel> shifted = polygon;
        for (Pixel& corner : shifted)
            corner = {corner.x + margin, corner.y + margin};
        const Raster big = filled(width + 2 * margin, height + 2 * margin, shifted);
        const Raster clipped = filled(width, height, polygon);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(clipped.at(x, y), big.at(x + margin, y + margin)) << x << ", " << y;
            }
        }
    }
}

TEST(SpanFillerClipping, NothingAroundTheBufferIsWritten) {
    // The buffer is a window into a bigger block, so stray writes land in the frame around it.
    constexpr int frame = 8;
    constexpr int width = 12;
    constexpr int height = 7;
    Raster block(width + 2 * frame, height + 2 * frame);
    const PixelBuffer window{block.pixels.data() + frame * block.stride + frame, width, height,
                             block.stride};
    SpanFiller filler(window);
    std::mt19937 random(3);
    for (int round = 0; round < 100; ++round) {
        filler.fillPolygon(randomPolygon(random, 3 + round % 5, -30, 40), ink);
    }
    filler.fillRectangle(-5, -5, 50, 50, ink);
    filler.clear(ink);
    for (int y = 0; y < block.buffer.height; ++y) {
        for (int x = 0; x < block.buffer.width; ++x) {
            const bool inside = x >= frame && x < frame + width && y >= frame && y < frame + height;
            ASSERT_EQ(block.at(x, y), inside ? ink : background) << x << ", " << y;
        }
    }
}

struct HugeCase {
    const char* name;
    std::vector<Pixel> polygon;
};

void PrintTo(const HugeCase& c, std::ostream* out) {
    *out << c.name;
}

class SpanFillerHugeCoordinates : public ::testing::TestWithParam<HugeCase> {};

TEST_P(SpanFillerHugeCoordinates, FollowTheRuleExactly) {
    const auto& polygon = GetParam().polygon;
    EXPECT_EQ(countDifferencesFromRule(filled(32, 24, polygon), polygon), 0);
}

constexpr int big = INT_MAX;
constexpr int small = INT_MIN;

INSTANTIATE_TEST_SUITE_P(
    Corners, SpanFillerHugeCoordinates,
    ::testing::Values(HugeCase{"coverAll",
                               {{small, small}, {big, small}, {big, big}, {small, big}}},
                      HugeCase{"slantedFarAway", {{small, 3}, {big, 20}, {5, big}}},
                      HugeCase{"steepThroughWindow", {{10, small}, {14, big}, {-3, big}}},
                      HugeCase{"shallowThroughWindow", {{small, 5}, {big, 12}, {big, 30}}},
                      HugeCase{"thinSliver", {{small, small}, {big, big}, {big, big - 1}}},
                      HugeCase{"wholeOutsideRight", {{40, small}, {big, 0}, {45, big}}},
                      HugeCase{"wholeOutsideAbove", {{small, -1}, {big, -1}, {0, small}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpanFillerRectangle, CoversLeftToRightMinusOneAndIsClipped) {
    Raster raster(10, 10);
    SpanFiller filler(raster.buffer);
    filler.fillRectangle(2, 3, 5, 4, ink);
    filler.fillRectangle(8, 8, 20, 20, ink);
    filler.fillRectangle(6, 6, 6, 9, ink);  // empty
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = (x >= 2 && x < 5 && y == 3) || (x >= 8 && y >= 8);
            EXPECT_EQ(raster.at(x, y) == ink, inside) << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace corvelt
