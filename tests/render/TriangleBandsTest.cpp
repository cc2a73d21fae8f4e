#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <vector>

#include "RenderFixtures.h"
#include "render/TriangleBands.h"

namespace corvelt {
namespace {

using testing::doubleArea;

struct Piece {
    int band;
    std::vector<Point2D> corners;
};

BandLimits limitsInTens() {
    BandLimits limits;
    for (std::size_t k = 0; k < BandLimits::count; ++k)
        limits.values[k] = 10.0 * static_cast<double>(k);
    return limits;
}

std::vector<Piece> cut(std::array<Point2D, 3> corners, std::array<double, 3> values,
                       const BandLimits& limits = limitsInTens()) {
    std::vector<Piece> pieces;
    const int failures =
        cutTriangleIntoBands(corners, values, limits, [&](int band, std::span<const Point2D> p) {
            pieces.push_back({band, {p.begin(), p.end()}});
        });
    EXPECT_EQ(failures, 0);
    return pieces;
}

double area(const Piece& piece) {
    return std::abs(doubleArea<Point2D>(piece.corners)) / 2;
}

// The corners of a sorted triangle and the points where its edges meet the band's
// lower (lo) or upper (hi) limit.
enum class Named { p0, p1, p2, e01lo, e01hi, e12lo, e12hi, e20lo, e20hi };

struct CaseRow {
    const char* name;
    std::array<double, 3> values;  // ascending, at P0, P1, P2
    int band;                      // limits 0, 10, ..., 90
    std::vector<Named> polygon;    // empty: the band yields nothing
};

void PrintTo(const CaseRow& row, std::ostream* out) {
    *out << row.name;
}

class CaseTable : public ::testing::TestWithParam<CaseRow> {};

TEST_P(CaseTable, YieldsTheRowsPolygonCornersInOrder) {
    const CaseRow& row = GetParam();
    const std::array<Point2D, 3> p{Point2D{0, 0}, Point2D{10, 0}, Point2D{3, 10}};
    const auto [f0, f1, f2] = row.values;
    const double lo = 10.0 * row.band, hi = lo + 10.0;
    // An independent interpolation, measured from the first-named corner.
    auto along = [](Point2D a, Point2D b, double fa, double fb, double t) {
        const double s = (t - fa) / (fb - fa);
        return Point2D{a.x + s * (b.x - a.x), a.y + s * (b.y - a.y)};
    };
    auto point = [&](Named n) -> Point2D {
        switch (n) {
            case Named::p0:
                return p[0];
            case Named::p1:
                return p[1];
            case Named::p2:
                return p[2];
            case Named::e01lo:
                return along(p[0], p[1], f0, f1, lo);
            case Named::e01hi:
                return along(p[0], p[1], f0, f1, hi);
            case Named::e12lo:
                return along(p[1], p[2], f1, f2, lo);
            case Named::e12hi:
                return along(p[1], p[2], f1, f2, hi);
            case Named::e20lo:
                return along(p[2], p[0], f2, f0, lo);
            case Named::e20hi:
                return along(p[2], p[0], f2, f0, hi);
        }
        return {};
    };

    const Piece* piece = nullptr;
    const auto pieces = cut(p, row.values);
    for (const Piece& candidate : pieces)
        if (candidate.band == row.band) piece = &candidate;
    if (row.polygon.empty()) {
        EXPECT_EQ(piece, nullptr);
        return;
    }
    ASSERT_NE(piece, nullptr);
    ASSERT_EQ(piece->corners.size(), row.polygon.size());
    for (std::size_t i = 0; i < row.polygon.size(); ++i) {
        EXPECT_NEAR(piece->corners[i].x, point(row.polygon[i]).x, 1e-12) << "corner " << i;
        EXPECT_NEAR(piece->corners[i].y, point(row.polygon[i]).y, 1e-12) << "corner " << i;
    }
}

using enum Named;
INSTANTIATE_TEST_SUITE_P(
    Rows, CaseTable,
    ::testing::Values(CaseRow{"r1a", {25, 27, 28}, 0, {}},
                      CaseRow{"r1b", {15, 25, 35}, 1, {e01hi, e20hi, p0}},
                      CaseRow{"r1c", {12, 18, 30}, 1, {e20hi, p0, p1, e12hi}},
                      CaseRow{"r1d", {12, 14, 18}, 1, {p0, p1, p2}},
                      CaseRow{"r2a_i", {12, 14, 18}, 2, {}},
                      CaseRow{"r2a_ii", {5, 8, 15}, 1, {e20lo, e12lo, p2}},
                      CaseRow{"r2a_iii", {5, 8, 25}, 1, {e20lo, e12lo, e12hi, e20hi}},
                      CaseRow{"r2b_i", {5, 15, 18}, 1, {e20lo, e01lo, p1, p2}},
                      CaseRow{"r2b_ii", {5, 15, 25}, 1, {e20lo, e01lo, p1, e12hi, e20hi}},
                      CaseRow{"r2c", {5, 25, 30}, 1, {e20lo, e01lo, e01hi, e20hi}}),
    [](const auto& info) { return std::string(info.param.name); });

const std::array<Point2D, 3> unitTriangle{Point2D{0, 0}, Point2D{1, 0}, Point2D{0, 1}};

// (values of the three corners, bands that yield a piece, area of each piece)
struct TieCase {
    std::array<double, 3> values;
    std::vector<int> bands;
    std::vector<double> areas;
};

TEST(BandTies, ValuesOnALimitCountWithTheBandBelow) {
    BandLimits constant;
    constant.values.fill(7.5);
    const std::pair<TieCase, BandLimits> cases[] = {
        {{{30, 30, 30}, {2, 3}, {0.5, 0}}, limitsInTens()},  // rows 1c (whole) and 2a-ii (nothing)
        {{{90, 90, 90}, {8}, {0.5}}, limitsInTens()},        // the maximum fills the top band
        {{{0, 0, 0}, {0}, {0}}, limitsInTens()},             // the minimum shows nothing
        {{{0, 0, 5}, {0}, {0.5}}, limitsInTens()},           // unless one corner is higher
        {{{7.5, 7.5, 7.5}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, std::vector<double>(9, 0.0)},
         constant},  // 2a-iii
    };
    for (const auto& [tie, limits] : cases) {
        const auto pieces = cut(unitTriangle, tie.values, limits);
        ASSERT_EQ(pieces.size(), tie.bands.size()) << tie.values[0];
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].band, tie.bands[i]) << tie.values[0];
            EXPECT_DOUBLE_EQ(area(pieces[i]), tie.areas[i]) << tie.values[0];
        }
    }
}

TEST(BandTies, EqualValuesSortAsTheSelectionSortDoes) {
    // 1a, 1b, 0: the 0 is swapped with 1a, so 1b comes before 1a.
    std::array<double, 3> values{1, 1, 0};
    std::array<Point2D, 3> corners{Point2D{10, 0}, Point2D{11, 0}, Point2D{0, 0}};
    sortTriangleByValue(values, corners);
    EXPECT_EQ(corners[1].x, 11);
    EXPECT_EQ(corners[2].x, 10);
    // Equal end values give the first-named corner, never a midpoint.
    Point2D out;
    ASSERT_TRUE(FindPointBetweenTwoPointsByphysicalQuantity({2, 3}, {4, 5}, 7, 7, 7, out));
    EXPECT_EQ(out.x, 2);
}

// Skipping the bands that miss a triangle is only a shortcut: forcing the test of
// every band must give the very same pieces, and the pieces tile the triangle.
TEST(BandCut, SkippingBandsChangesNothingAndPiecesTileTheTriangle) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> value(0.0, 90.0), coordinate(-5.0, 5.0);
    BandLimits everyBand = limitsInTens();
    everyBand.nonDecreasing = false;
    for (int trial = 0; trial < 2000; ++trial) {
        std::array<double, 3> values;
        for (double& v : values)
            v = random() % 4 == 0 ? 10.0 * (trial % 9 + 1) : value(random);
        const std::array<Point2D, 3> corners{Point2D{coordinate(random), coordinate(random)},
                                             Point2D{coordinate(random), coordinate(random)},
                                             Point2D{coordinate(random), coordinate(random)}};
        const auto fast = cut(corners, values);
        const auto full = cut(corners, values, everyBand);
        ASSERT_EQ(fast.size(), full.size()) << "trial " << trial;
        double covered = 0.0;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            EXPECT_EQ(fast[i].band, full[i].band);
            ASSERT_EQ(fast[i].corners.size(), full[i].corners.size());
            for (std::size_t c = 0; c < fast[i].corners.size(); ++c) {
                EXPECT_EQ(fast[i].corners[c].x, full[i].corners[c].x);
                EXPECT_EQ(fast[i].corners[c].y, full[i].corners[c].y);
            }
            covered += area(fast[i]);
        }
        EXPECT_NEAR(covered, std::abs(doubleArea<Point2D>(corners)) / 2, 1e-9) << "trial " << trial;
    }
}

}  // namespace
}  // namespace corvelt
