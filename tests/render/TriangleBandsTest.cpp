#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "RenderFixtures.h"
#include "render/TriangleBands.h"

namespace corvelt {
namespace {

using testing::doubleArea;

struct EmittedPolygon {
    int band;
    std::vector<Point2D> corners;
};

BandLimits tenStepLimits() {
    BandLimits limits;
    for (std::size_t k = 0; k < BandLimits::count; ++k)
        limits.values[k] = 10.0 * static_cast<double>(k);
    return limits;
}

std::vector<EmittedPolygon> cut(std::array<Point2D, 3> corners, std::array<double, 3> values,
                                const BandLimits& limits, int* failures = nullptr) {
    std::vector<EmittedPolygon> out;
    const int failed = cutTriangleIntoBands(
        corners, values, limits, [&](int band, std::span<const Point2D> polygon) {
            out.push_back({band, {polygon.begin(), polygon.end()}});
        });
    if (failures) *failures = failed;
    return out;
}

const EmittedPolygon* findBand(const std::vector<EmittedPolygon>& polygons, int band) {
    for (const EmittedPolygon& p : polygons)
        if (p.band == band) return &p;
    return nullptr;
}

// --- The case table, one row per test: corners in the table's order --------------

// Named corners of a sorted triangle: its three corners and the points where an
// edge meets the band's lower (lo) or upper (hi) limit.
enum class Named { p0, p1, p2, e01lo, e01hi, e12lo, e12hi, e20lo, e20hi };

struct CaseRow {
    const char* name;
    std::array<double, 3> values;  // already ascending, at P0, P1, P2
    int band;                      // with limits 0, 10, ..., 90
    std::vector<Named> expected;   // empty: the band yields nothing
};

class CaseTable : public ::testing::TestWithParam<CaseRow> {};

// An independent linear interpolation, measured from a.
Point2D along(Point2D a, Point2D b, double fa, double fb, double t) {
    const double s = (t - fa) / (fb - fa);
    return {a.x + s * (b.x - a.x), a.y + s * (b.y - a.y)};
}

TEST_P(CaseTable, YieldsThePolygonOfItsRow) {
    const CaseRow& row = GetParam();
    const std::array<Point2D, 3> p{Point2D{0, 0}, Point2D{10, 0}, Point2D{3, 10}};
    const auto [f0, f1, f2] = row.values;
    const double lo = 10.0 * row.band, hi = lo + 10.0;
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

    const auto polygons = cut(p, row.values, tenStepLimits());
    const EmittedPolygon* polygon = findBand(polygons, row.band);
    if (row.expected.empty()) {
        EXPECT_EQ(polygon, nullptr);
        return;
    }
    ASSERT_NE(polygon, nullptr);
    ASSERT_EQ(polygon->corners.size(), row.expected.size());
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
        const Point2D want = point(row.expected[i]);
        EXPECT_NEAR(polygon->corners[i].x, want.x, 1e-12) << "corner " << i;
        EXPECT_NEAR(polygon->corners[i].y, want.y, 1e-12) << "corner " << i;
    }
}

using enum Named;
INSTANTIATE_TEST_SUITE_P(
    Rows, CaseTable,
    ::testing::Values(CaseRow{"1a_below", {25, 27, 28}, 0, {}},
                      CaseRow{"1b", {15, 25, 35}, 1, {e01hi, e20hi, p0}},
                      CaseRow{"1c", {12, 18, 30}, 1, {e20hi, p0, p1, e12hi}},
                      CaseRow{"1d", {12, 14, 18}, 1, {p0, p1, p2}},
                      CaseRow{"2a_i", {12, 14, 18}, 2, {}},
                      CaseRow{"2a_ii", {5, 8, 15}, 1, {e20lo, e12lo, p2}},
                      CaseRow{"2a_iii", {5, 8, 25}, 1, {e20lo, e12lo, e12hi, e20hi}},
                      CaseRow{"2b_i", {5, 15, 18}, 1, {e20lo, e01lo, p1, p2}},
                      CaseRow{"2b_ii", {5, 15, 25}, 1, {e20lo, e01lo, p1, e12hi, e20hi}},
                      CaseRow{"2c", {5, 25, 30}, 1, {e20lo, e01lo, e01hi, e20hi}}),
    [](const ::testing::TestParamInfo<CaseRow>& info) { return std::string(info.param.name); });

// --- Ties at the limits ------------------------------------------------------------

const std::array<Point2D, 3> unitTriangle{Point2D{0, 0}, Point2D{1, 0}, Point2D{0, 1}};

TEST(BandTies, ValuesOnAnInnerLimitFillTheBandBelowWhole) {
    const auto polygons = cut(unitTriangle, {30, 30, 30}, tenStepLimits());
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0].band, 2);  // row 1c, edge points collapsing onto corners
    EXPECT_DOUBLE_EQ(std::abs(doubleArea<Point2D>(polygons[0].corners)), 1.0);
    EXPECT_EQ(polygons[1].band, 3);  // row 2a-ii: nothing of the band above shows
    EXPECT_EQ(doubleArea<Point2D>(polygons[1].corners), 0.0);
}

TEST(BandTies, ValuesAtTheMaximumFillTheTopBand) {
    const auto polygons = cut(unitTriangle, {90, 90, 90}, tenStepLimits());
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].band, 8);
    EXPECT_DOUBLE_EQ(std::abs(doubleArea<Point2D>(polygons[0].corners)), 1.0);
}

TEST(BandTies, ValuesAtTheMinimumShowNoArea) {
    const auto polygons = cut(unitTriangle, {0, 0, 0}, tenStepLimits());
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].band, 0);
    EXPECT_EQ(doubleArea<Point2D>(polygons[0].corners), 0.0);
}

TEST(BandTies, OneHigherCornerLetsTheLowestBandCoverTheMinimum) {
    const auto polygons = cut(unitTriangle, {0, 0, 5}, tenStepLimits());
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].band, 0);
    EXPECT_DOUBLE_EQ(std::abs(doubleArea<Point2D>(polygons[0].corners)), 1.0);
}

TEST(BandTies, AConstantFieldShowsNoContourArea) {
    BandLimits limits;
    limits.values.fill(7.5);
    const auto polygons = cut(unitTriangle, {7.5, 7.5, 7.5}, limits);
    EXPECT_EQ(polygons.size(), 9u);  // row 2a-iii in every band
    for (const EmittedPolygon& p : polygons)
        EXPECT_EQ(doubleArea<Point2D>(p.corners), 0.0);
}

// --- Sorting and edge points ---------------------------------------------------------

TEST(TriangleSort, OrdersValuesAndMovesCornersAlong) {
    std::array<double, 3> values{3, 1, 2};
    std::array<Point2D, 3> corners{Point2D{3, 0}, Point2D{1, 0}, Point2D{2, 0}};
    sortTriangleByValue(values, corners);
    EXPECT_EQ(values, (std::array<double, 3>{1, 2, 3}));
    EXPECT_EQ(corners[0].x, 1);
    EXPECT_EQ(corners[1].x, 2);
    EXPECT_EQ(corners[2].x, 3);
}

TEST(TriangleSort, EqualValuesFollowTheSelectionSort) {
    // 1a, 1b, 0: the 0 is swapped with 1a, so 1b comes before 1a.
    std::array<double, 3> values{1, 1, 0};
    std::array<Point2D, 3> corners{Point2D{10, 0}, Point2D{11, 0}, Point2D{0, 0}};
    sortTriangleByValue(values, corners);
    EXPECT_EQ(corners[0].x, 0);
    EXPECT_EQ(corners[1].x, 11);
    EXPECT_EQ(corners[2].x, 10);
}

TEST(EdgePoint, EqualEndValuesGiveTheFirstNamedCorner) {
    Point2D out{-1, -1};
    ASSERT_TRUE(FindPointBetweenTwoPointsByphysicalQuantity({2, 3}, {4, 5}, 7, 7, 7, out));
    EXPECT_EQ(out.x, 2);
    EXPECT_EQ(out.y, 3);
}

TEST(EdgePoint, EndValuesAreInsideAndOutsideValuesFail) {
    Point2D out{-1, -1};
    EXPECT_TRUE(FindPointBetweenTwoPointsByphysicalQuantity({0, 0}, {10, 0}, 20, 10, 20, out));
    EXPECT_EQ(out.x, 10);
    out = {-1, -1};
    EXPECT_FALSE(FindPointBetweenTwoPointsByphysicalQuantity({0, 0}, {10, 0}, 21, 10, 20, out));
    EXPECT_FALSE(FindPointBetweenTwoPointsByphysicalQuantity({0, 0}, {10, 0}, 9, 20, 10, out));
    EXPECT_EQ(out.x, -1);  // untouched
}

// --- The band skipping is only a shortcut --------------------------------------------

TEST(BandSkipping, GivesExactlyWhatTestingEveryBandGives) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> value(-5.0, 95.0);
    std::uniform_int_distribution<int> onLimit(0, 3);
    const BandLimits ordered = tenStepLimits();
    BandLimits unordered = ordered;
    unordered.nonDecreasing = false;  // forces the full test of every band
    for (int trial = 0; trial < 2000; ++trial) {
        std::array<double, 3> values;
        for (double& v : values)
            v = onLimit(random) == 0 ? 10.0 * (trial % 10) : value(random);
        const std::array<Point2D, 3> corners{Point2D{value(random), value(random)},
                                             Point2D{value(random), value(random)},
                                             Point2D{value(random), value(random)}};
        int failures = -1;
        const auto fast = cut(corners, values, ordered, &failures);
        EXPECT_EQ(failures, 0);
        const auto full = cut(corners, values, unordered);
        ASSERT_EQ(fast.size(), full.size()) << "trial " << trial;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            EXPECT_EQ(fast[i].band, full[i].band);
            ASSERT_EQ(fast[i].corners.size(), full[i].corners.size());
            for (std::size_t c = 0; c < fast[i].corners.size(); ++c) {
                EXPECT_EQ(fast[i].corners[c].x, full[i].corners[c].x);
                EXPECT_EQ(fast[i].corners[c].y, full[i].corners[c].y);
            }
        }
    }
}

TEST(BandCut, BandsTileTheTriangle) {
    const std::array<Point2D, 3> corners{Point2D{0, 0}, Point2D{8, 1}, Point2D{2, 7}};
    const auto polygons = cut(corners, {3, 47, 88}, tenStepLimits());
    double area = 0.0;
    for (const EmittedPolygon& p : polygons)
        area += std::abs(doubleArea<Point2D>(p.corners));
    EXPECT_NEAR(area, std::abs(doubleArea<Point2D>(corners)), 1e-9);
    EXPECT_EQ(polygons.front().band, 0);
    EXPECT_EQ(polygons.back().band, 8);
}

}  // namespace
}  // namespace corvelt
