#include "render/SpanFiller.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "render/FloorDivision.h"

namespace corvelt {

namespace {

// Scratch arrays on the stack cover every polygon the painters make (at most
// five corners for a band polygon, four for an element).
constexpr std::size_t smallCornerCount = 8;

// Polygons whose box holds at most this many pixel centres are tested centre by
// centre.
constexpr int tinyPixelCount = 16;

// Only corners far outside the buffer need more than 64 bits.
[[gnu::noinline, gnu::cold]] Quotient floorDivideWide(std::int64_t k, std::int64_t dx,
                                                      std::int64_t dy) {
    return floorDivide(Int128{k} * dx + dy - 1, 2 * dy);
}

// First column at a row whose pixel centre lies at or right of the edge from top
// to bottom (top.y < bottom.y). The crossing at the row's centre line is
// xc = top.x + (2 (row - top.y) + 1) dx / (2 dy); the column is ceil(xc - 1/2),
// computed as floor((k dx + dy - 1) / (2 dy)) with k = 2 (row - top.y) + 1.
inline Quotient firstColumnOffset(std::int64_t k, std::int64_t dx, std::int64_t dy) {
    // An edge one row high starting in view, the commonest edge of tiny polygons:
    // k = 1, so the offset is floor(dx / 2).
    if (dy == 1) return {dx >> 1, dx & 1};
    constexpr std::int64_t safe = std::int64_t{1} << 31;
    if (k < safe && std::abs(dx) < safe) return floorDivide(k * dx + dy - 1, 2 * dy);
    return floorDivideWide(k, dx, dy);
}

// The walk of the edge from a to b over the rows it crosses within `rows`; false
// when it crosses none of them.
inline bool walkEdge(Pixel a, Pixel b, int firstVisibleRow, int endVisibleRow,
                     SpanFiller::EdgeWalk& walk) {
    if (a.y == b.y) return false;  // horizontal edges cross no centre line
    // Oriented downward whatever the polygon's direction, so that two polygons
    // sharing the edge compute the very same columns.
    if (a.y > b.y) std::swap(a, b);
    const int firstRow = std::max(a.y, firstVisibleRow);
    const int endRow = std::min(b.y, endVisibleRow);
    if (firstRow >= endRow) return false;

    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const Quotient start = firstColumnOffset(2 * (std::int64_t{firstRow} - a.y) + 1, dx, dy);
    walk.column = a.x + start.quotient;
    walk.remainder = start.remainder;
    walk.denominator = 2 * dy;
    walk.firstRow = firstRow;
    walk.endRow = endRow;
    // Tiny polygons have many edges that cross a single row and never step.
    if (endRow - firstRow > 1) {
        const Quotient step = floorDivide(2 * dx, 2 * dy);
        walk.columnStep = step.quotient;
        walk.remainderStep = step.remainder;
    } else {
        walk.columnStep = 0;
        walk.remainderStep = 0;
    }
    return true;
}

inline std::int64_t nextColumn(SpanFiller::EdgeWalk& walk) {
    const std::int64_t column = walk.column;
    const std::int64_t remainder = walk.remainder + walk.remainderStep;
    const bool carry = remainder >= walk.denominator;
    walk.remainder = carry ? remainder - walk.denominator : remainder;
    walk.column = column + walk.columnStep + carry;
    return column;
}

// Adds a crossing to the sorted ones; the order changes only where edges cross.
inline void insertSorted(std::int64_t* crossings, int& count, std::int64_t column) {
    int slot = count++;
    while (slot > 0 && crossings[slot - 1] > column) {
        crossings[slot] = crossings[slot - 1];
        --slot;
    }
    crossings[slot] = column;
}

}  // namespace

void SpanFiller::fillPolygon(std::span<const Pixel> corners, std::uint32_t pixel) {
    if (corners.size() < 3) return;
    int minX = corners[0].x;
    int maxX = minX;
    int minY = corners[0].y;
    int maxY = minY;
    for (const Pixel corner : corners.subspan(1)) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    // Every crossing lies within the box, so a box left of column 0 or right of the
    // last column reaches no pixel centre inside the buffer, and a box without
    // width has no centre between two crossings.
    const Rows rows{std::max(minY, firstRow_), std::min(maxY, endRow_)};
    if (rows.first >= rows.end || maxX <= 0 || minX >= buffer_.width || minX == maxX) return;

    const Columns columns{std::max(minX, 0), std::min(maxX, buffer_.width)};
    if (corners.size() <= smallCornerCount && isTiny(rows, columns, minX, maxX, minY, maxY)) {
        fillTinyPolygon(corners, rows, columns, pixel);
    } else if (corners.size() <= smallCornerCount) {
        fillSmallPolygon(corners, rows, pixel);
    } else {
        fillLargePolygon(corners, rows, pixel);
    }
}

bool SpanFiller::isTiny(Rows rows, Columns columns, int minX, int maxX, int minY, int maxY) {
    // Bounded corners keep the products of the centre tests within 64 bits.
    constexpr int bound = 1 << 20;
    return (rows.end - rows.first) * (columns.end - columns.first) <= tinyPixelCount &&
           minX > -bound && maxX < bound && minY > -bound && maxY < bound;
}

void SpanFiller::fillTinyPolygon(std::span<const Pixel> corners, Rows rows, Columns columns,
                                 std::uint32_t pixel) {
    // Each centre of the box is tested against each edge: cheaper than walking the
    // edges when a polygon covers a handful of pixels, and free of divisions.
    // offset(x, y) = 2 dy (crossing - centre) = base + y * rowStep - x * columnStep;
    // the edge counts for the centre when offset <= 0 (see EdgeWalk).
    struct CentreTest {
        std::int64_t base;
        std::int64_t rowStep;
        std::int64_t columnStep;
        int firstRow;
        int endRow;
    };
    std::array<CentreTest, smallCornerCount> tests;
    int testCount = 0;
    Pixel previous = corners.back();
    for (Pixel corner : corners) {
        Pixel top = previous;
        previous = corner;
        if (top.y == corner.y) continue;
        if (top.y > corner.y) std::swap(top, corner);
        const std::int64_t dx = corner.x - top.x;
        const std::int64_t dy = corner.y - top.y;
        tests[testCount++] = {
            2 * std::int64_t{top.x} * dy + (1 - 2 * std::int64_t{top.y}) * dx - dy, 2 * dx, 2 * dy,
            top.y, corner.y};
    }
    for (int row = rows.first; row < rows.end; ++row) {
        std::uint32_t* line = buffer_.pixels + row * buffer_.stride;
        for (int column = columns.first; column < columns.end; ++column) {
            bool inside = false;
            for (int i = 0; i < testCount; ++i) {
                const CentreTest& test = tests[i];
                const bool crosses = row >= test.firstRow && row < test.endRow &&
                                     test.base + row * test.rowStep - column * test.columnStep <= 0;
                inside ^= crosses;
            }
            if (inside) line[column] = pixel;
        }
    }
}

void SpanFiller::fillSmallPolygon(std::span<const Pixel> corners, Rows rows, std::uint32_t pixel) {
    std::array<EdgeWalk, smallCornerCount> edges;
    int edgeCount = 0;
    Pixel previous = corners.back();
    for (const Pixel corner : corners) {
        edgeCount += walkEdge(previous, corner, rows.first, rows.end, edges[edgeCount]);
        previous = corner;
    }
    // Few edges: every row simply asks each of them.
    std::array<std::int64_t, smallCornerCount> crossings;
    for (int row = rows.first; row < rows.end; ++row) {
        int crossingCount = 0;
        for (int i = 0; i < edgeCount; ++i) {
            EdgeWalk& edge = edges[i];
            if (row >= edge.firstRow && row < edge.endRow) {
                insertSorted(crossings.data(), crossingCount, nextColumn(edge));
            }
        }
        fillRow(row, crossings.data(), crossingCount, pixel);
    }
}

void SpanFiller::fillLargePolygon(std::span<const Pixel> corners, Rows rows, std::uint32_t pixel) {
    bigEdges_.resize(corners.size());
    bigActive_.resize(corners.size());
    bigCrossings_.resize(corners.size());
    int edgeCount = 0;
    Pixel previous = corners.back();
    for (const Pixel corner : corners) {
        edgeCount += walkEdge(previous, corner, rows.first, rows.end, bigEdges_[edgeCount]);
        previous = corner;
    }
    // Many edges: sorted by first row, taken in as the rows reach them and
    // dropped once past, so that a row only asks the edges that cross it.
    std::sort(bigEdges_.begin(), bigEdges_.begin() + edgeCount,
              [](const EdgeWalk& a, const EdgeWalk& b) { return a.firstRow < b.firstRow; });
    int next = 0;
    int activeCount = 0;
    for (int row = rows.first; row < rows.end; ++row) {
        while (next < edgeCount && bigEdges_[next].firstRow == row)
            bigActive_[activeCount++] = &bigEdges_[next++];
        int kept = 0;
        int crossingCount = 0;
        for (int i = 0; i < activeCount; ++i) {
            EdgeWalk* edge = bigActive_[i];
            if (edge->endRow == row) continue;
            bigActive_[kept++] = edge;
            insertSorted(bigCrossings_.data(), crossingCount, nextColumn(*edge));
        }
        activeCount = kept;
        fillRow(row, bigCrossings_.data(), crossingCount, pixel);
    }
}

void SpanFiller::fillRow(int row, const std::int64_t* crossings, int count, std::uint32_t pixel) {
    std::uint32_t* line = buffer_.pixels + row * buffer_.stride;
    for (int i = 0; i + 1 < count; i += 2) {
        const std::int64_t begin = std::max<std::int64_t>(crossings[i], 0);
        const std::int64_t end = std::min<std::int64_t>(crossings[i + 1], buffer_.width);
        for (std::int64_t x = begin; x < end; ++x)
            line[x] = pixel;
    }
}

void SpanFiller::fillRectangle(int left, int top, int right, int bottom, std::uint32_t pixel) {
    left = std::max(left, 0);
    top = std::max(top, firstRow_);
    right = std::min(right, buffer_.width);
    bottom = std::min(bottom, endRow_);
    if (left >= right) return;
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* line = buffer_.pixels + row * buffer_.stride;
        std::fill(line + left, line + right, pixel);
    }
}

void SpanFiller::clear(std::uint32_t pixel) {
    if (buffer_.stride == buffer_.width && firstRow_ == 0 && endRow_ == buffer_.height) {
        std::fill_n(buffer_.pixels, std::ptrdiff_t{buffer_.width} * buffer_.height, pixel);
        return;
    }
    fillRectangle(0, 0, buffer_.width, buffer_.height, pixel);
}

}  // namespace corvelt
