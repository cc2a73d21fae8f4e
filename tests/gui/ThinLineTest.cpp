#include "gui/ThinLine.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace corvelt {
namespace {

constexpr std::uint32_t background = 0xFF000000u;
constexpr std::uint32_t ink = 0xFFFFFFFFu;

__extension__ using Int128 = __int128;

using PixelSet = std::set<std::pair<int, int>>;

struct Raster {
    Raster(int width, int height) : pixels(static_cast<std::size_t>(width) * height, background) {
        buffer = {pixels.data(), width, height, width};
    }
    PixelSet lit() const {
        PixelSet set;
        for (int y = 0; y < buffer.height; ++y) {
            for (int x = 0; x < buffer.width; ++x) {
                if (pixels[static_cast<std::size_t>(y) * buffer.width + x] == ink)
                    set.insert({x, y});
            }
        }
        return set;
    }
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer;
};

PixelSet drawn(int width, int height, Pixel from, Pixel to) {
    Raster raster(width, height);
    drawThinLine(raster.buffer, from, to, ink);
    return raster.lit();
}

// The rule written out: at every major coordinate from `from` up to `to`
// (excluded), the minor coordinate nearest the ideal line, ties to the smaller.
PixelSet expectedPixels(int width, int height, Pixel from, Pixel to) {
    PixelSet set;
    const Int128 dx = Int128{to.x} - from.x;
    const Int128 dy = Int128{to.y} - from.y;
    if (dx == 0 && dy == 0) return set;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const Int128 majorDelta = xMajor ? dx : dy;
    const Int128 minorDelta = xMajor ? dy : dx;
    const Int128 majorStart = xMajor ? from.x : from.y;
    const Int128 minorStart = xMajor ? from.y : from.x;
    const int majorLimit = xMajor ? width : height;
    for (int major = 0; major < majorLimit; ++major) {
        const Int128 steps = (major - majorStart) * (majorDelta > 0 ? 1 : -1);
        const Int128 length = majorDelta > 0 ? majorDelta : -majorDelta;
        if (steps < 0 || steps >= length) continue;
        // minor = minorStart + ceil(steps * minorDelta / length - 1/2)
        const Int128 numerator = 2 * steps * minorDelta - length;
        const Int128 denominator = 2 * length;
        Int128 offset = numerator / denominator;
        if (numerator % denominator != 0 && numerator > 0) ++offset;
        const Int128 minor = minorStart + offset;
        const int x = static_cast<int>(xMajor ? major : minor);
        const int y = static_cast<int>(xMajor ? minor : major);
        if (minor >= 0 && minor < (xMajor ? height : width)) set.insert({x, y});
    }
    return set;
}

Pixel randomPixel(std::mt19937& random, int low, int high) {
    std::uniform_int_distribution<int> coordinate(low, high);
    return {coordinate(random), coordinate(random)};
}

TEST(ThinLine, RandomLinesLightTheNearestPixelAtEveryStep) {
    std::mt19937 random(17);
    for (int round = 0; round < 500; ++round) {
        const Pixel from = randomPixel(random, -20, 60);
        const Pixel to = randomPixel(random, -20, 60);
        ASSERT_EQ(drawn(40, 30, from, to), expectedPixels(40, 30, from, to))
            << from.x << "," << from.y << " -> " << to.x << "," << to.y;
    }
}

TEST(ThinLine, ReversingALineMovesOnlyTheLeftOutEndPoint) {
    std::mt19937 random(23);
    for (int round = 0; round < 300; ++round) {
        const Pixel a = randomPixel(random, 0, 39);
        const Pixel b = randomPixel(random, 0, 39);
        if (a == b) continue;
        PixelSet forward = drawn(40, 40, a, b);
        PixelSet backward = drawn(40, 40, b, a);
        EXPECT_EQ(forward.count({b.x, b.y}), 0u);
        forward.insert({b.x, b.y});
        backward.insert({a.x, a.y});
        ASSERT_EQ(forward, backward) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
    }
}

TEST(ThinLine, AHalfwayTieGoesToTheSmallerCoordinate) {
    // (0, 0) -> (2, 1): at x = 1 the line is at y = 0.5.
    EXPECT_EQ(drawn(4, 4, {0, 0}, {2, 1}), (PixelSet{{0, 0}, {1, 0}}));
    EXPECT_EQ(drawn(4, 4, {2, 1}, {0, 0}), (PixelSet{{2, 1}, {1, 0}}));
}

TEST(ThinLine, AZeroLengthLineDrawsNothing) {
    EXPECT_TRUE(drawn(4, 4, {1, 1}, {1, 1}).empty());
}

TEST(ThinLine, HugeEndPointsKeepTheVisiblePartExact) {
    const std::vector<std::pair<Pixel, Pixel>> lines{
        {{INT_MIN, 5}, {INT_MAX, 5}},
        {{7, INT_MAX}, {7, INT_MIN}},
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
        {{INT_MIN, 3}, {INT_MAX, 17}},
        {{-1000000000, 1000000000}, {999999999, -999999990}},
    };
    for (const auto& [from, to] : lines) {
        EXPECT_EQ(drawn(32, 24, from, to), expectedPixels(32, 24, from, to))
            << from.x << "," << from.y;
    }
    EXPECT_EQ(drawn(32, 24, {INT_MIN, 5}, {INT_MAX, 5}).size(), 32u);
}

}  // namespace
}  // namespace corvelt
