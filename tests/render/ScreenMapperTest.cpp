#include <gtest/gtest.h>

#include <cmath>

#include "RenderFixtures.h"
#include "render/ScreenMapper.h"

namespace corvelt {
namespace {

using testing::topCamera;

TEST(ScreenMapping, InsideTheGuardBandPixelsAreTheCamerasOwn) {
    const ViewCamera camera = topCamera(37.3, {1.25, -0.5}, {401, 299});
    const ScreenMapper screen(camera, 800, 600);
    for (double x = -12; x < 14; x += 0.173)
        for (double y = -10; y < 10; y += 0.311) {
            ASSERT_TRUE(screen.guardBand().contains(Point2D{x, y}));
            EXPECT_EQ(screen.toPixel({x, y}), camera.viewToPixel(x, y)) << x << ", " << y;
        }
}

TEST(ScreenMapping, ReachSortsBoxesByWhatCanBeSeen) {
    const ScreenMapper screen(topCamera(100, {0, 0}, {0, 600}), 800, 600);  // view 0..8 x 0..6
    EXPECT_EQ(screen.reach({1, 2, 1, 2}), ScreenReach::insideGuard);
    EXPECT_EQ(screen.reach({-0.05, 0.5, 1, 2}),
              ScreenReach::insideGuard);  // 5 pixels out: within the band
    EXPECT_EQ(screen.reach({-100, 0.5, 1, 2}), ScreenReach::crossesGuard);
    EXPECT_EQ(screen.reach({-3, -2, 1, 2}), ScreenReach::hidden);
    EXPECT_EQ(screen.reach({8.2, 9, 1, 2}), ScreenReach::hidden);
    // Markers and wide pens reach a few pixels beyond their point.
    EXPECT_EQ(screen.reach({8.05, 9, 1, 2}), ScreenReach::insideGuard);
    EXPECT_EQ(ScreenMapper(topCamera(0, {0, 0}, {0, 0}), 800, 600).reach({1, 2, 1, 2}),
              ScreenReach::hidden);
}

// Distance in pixels of a pixel from the straight line through two view points.
double pixelsOffLine(const ViewCamera& camera, Point2D a, Point2D b, Pixel p) {
    const double ax = (a.x - camera.centerX) * camera.scale,
                 ay = -(a.y - camera.centerY) * camera.scale;
    const double bx = (b.x - camera.centerX) * camera.scale,
                 by = -(b.y - camera.centerY) * camera.scale;
    const double px = p.x - camera.originX, py = p.y - camera.originY;
    return std::abs((bx - ax) * (py - ay) - (by - ay) * (px - ax)) / std::hypot(bx - ax, by - ay);
}

TEST(GuardBandClipping, DeepZoomKeepsEdgesStraightAndPixelsSmall) {
    // At 1e9 pixels per unit the triangle's corners lie some 1e10 pixels away, beyond
    // int32; its edge A-B (slope 1/2) runs through the middle of the window.
    const ViewCamera camera = topCamera(1e9, {0, 0}, {400, 300});
    const ScreenMapper screen(camera, 800, 600);
    const Point2D a{-10, -5}, b{10, 5}, c{-10, 10};
    const std::array<Point2D, 3> triangle{a, b, c};
    ScreenPolygon pixels;
    screen.mapPolygon(triangle, true, pixels);
    ASSERT_GE(pixels.size(), 3u);

    const double guard = ScreenMapper::guardPixels;
    auto onGuardBorder = [&](Pixel p) {
        return std::abs(p.x + guard) <= 2 || std::abs(p.x - 800 - guard) <= 2 ||
               std::abs(p.y + guard) <= 2 || std::abs(p.y - 600 - guard) <= 2;
    };
    int onEdge = 0;
    for (const Pixel& p : pixels.points()) {
        EXPECT_GE(p.x, -guard - 2);
        EXPECT_LE(p.x, 800 + guard + 2);
        EXPECT_GE(p.y, -guard - 2);
        EXPECT_LE(p.y, 600 + guard + 2);
        // The edge keeps its slope: where the clip cut it, the corners lie on it.
        const bool onAB = pixelsOffLine(camera, a, b, p) <= 1.5;
        onEdge += onAB ? 1 : 0;
        EXPECT_TRUE(onAB || onGuardBorder(p)) << p.x << ", " << p.y;
    }
    EXPECT_EQ(onEdge, 2);
}

TEST(GuardBandClipping, APolygonWhollyOutsideTheBandComesOutEmpty) {
    const ScreenMapper screen(topCamera(100, {0, 0}, {400, 300}), 800, 600);
    const std::array<Point2D, 3> far{Point2D{100, 100}, Point2D{101, 100}, Point2D{100, 101}};
    ScreenPolygon pixels;
    pixels.push({1, 1});
    screen.mapPolygon(far, true, pixels);
    EXPECT_EQ(pixels.size(), 0u);
}

TEST(GuardBandClipping, PolygonsSharingAnEdgeGetTheSameCutPoints) {
    const ViewCamera camera = topCamera(1e6, {0, 0}, {400, 300});
    const ScreenMapper screen(camera, 800, 600);
    const Point2D a{-3, -1}, b{3, 1};  // the shared edge, both ends far outside
    const std::array<Point2D, 3> above{a, b, Point2D{0, 5}};
    const std::array<Point2D, 3> below{b, a, Point2D{0, -5}};
    ScreenPolygon first, second;
    screen.mapPolygon(above, true, first);
    screen.mapPolygon(below, true, second);
    int shared = 0;
    for (const Pixel& p : first.points())
        for (const Pixel& q : second.points())
            shared += p == q ? 1 : 0;
    EXPECT_GE(shared, 2);
}

}  // namespace
}  // namespace corvelt
