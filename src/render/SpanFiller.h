#pragma once

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/Color.h"
#include "view/Pixel.h"

namespace corvelt {

// A caller-owned block of 32-bit pixels stored as 0xFFRRGGBB words, rows `stride`
// pixels apart (the layout of a 32-bit RGB image in memory).
struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// The word that a PixelBuffer stores for a colour.
constexpr std::uint32_t packPixel(Rgb colour) {
    return 0xFF000000u | (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) |
           std::uint32_t{colour.blue};
}

// Fills polygons and rectangles with integer corners straight into a pixel buffer,
// clipped to it.
//
// Coverage rule: pixel (x, y) is filled when its centre (x + 0.5, y + 0.5) lies
// inside the polygon by the odd-even rule. Corners are integers and centres are
// half-integers, so a centre never lies on a corner or on a horizontal edge. A
// centre exactly on a slanted or vertical edge counts as lying to the right of
// that edge: it belongs to the polygon whose interior is on the edge's right and
// not to the one on its left. Two polygons that share an edge therefore cover
// every pixel along it exactly once, and a mesh of polygons tiles without gaps or
// double coverage.
//
// The arithmetic is exact for every 32-bit corner. Polygons of up to eight corners
// use fixed scratch space; bigger ones reuse a buffer that grows once.
class SpanFiller {
  public:
    explicit SpanFiller(const PixelBuffer& buffer)
        : buffer_(buffer), firstRow_(0), endRow_(buffer.height) {}

    // Fills only rows firstRow .. endRow - 1 of the buffer, so that fillers of
    // disjoint row ranges can work on one buffer at the same time.
    SpanFiller(const PixelBuffer& buffer, int firstRow, int endRow)
        : buffer_(buffer),
          firstRow_(std::max(firstRow, 0)),
          endRow_(std::min(endRow, buffer.height)) {}

    const PixelBuffer& buffer() const { return buffer_; }

    void fillPolygon(std::span<const Pixel> corners, std::uint32_t pixel);

    // Columns left .. right - 1 of rows top .. bottom - 1; empty when right <= left
    // or bottom <= top.
    void fillRectangle(int left, int top, int right, int bottom, std::uint32_t pixel);

    void clear(std::uint32_t pixel);

    // The state of one edge while the rows walk down it: the first pixel column
    // whose centre is at or right of the edge, with the exact remainder of that
    // division, so that the next row needs only additions.
    struct EdgeWalk {
        std::int64_t column;
        std::int64_t remainder;  // 0 <= remainder < denominator
        std::int64_t denominator;
        std::int64_t columnStep;
        std::int64_t remainderStep;  // 0 <= remainderStep < denominator
        int firstRow;
        int endRow;  // one past the last row
    };

  private:
    struct Rows {
        int first;
        int end;  // one past the last row
    };

    struct Columns {
        int first;
        int end;  // one past the last column
    };

    static bool isTiny(Rows rows, Columns columns, int minX, int maxX, int minY, int maxY);
    void fillTinyPolygon(std::span<const Pixel> corners, Rows rows, Columns columns,
                         std::uint32_t pixel);
    void fillSmallPolygon(std::span<const Pixel> corners, Rows rows, std::uint32_t pixel);
    void fillLargePolygon(std::span<const Pixel> corners, Rows rows, std::uint32_t pixel);
    // Fills between crossings 0 and 1, 2 and 3, ... of one row.
    void fillRow(int row, const std::int64_t* crossings, int count, std::uint32_t pixel);

    PixelBuffer buffer_;
    int firstRow_;
    int endRow_;
    std::vector<EdgeWalk> bigEdges_;
    std::vector<EdgeWalk*> bigActive_;
    std::vector<std::int64_t> bigCrossings_;
};

}  // namespace corvelt
