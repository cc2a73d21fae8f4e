#include "render/SpanFiller.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace corvelt {

namespace {

// Scratch arrays on the stack cover every polygon the painters make (at most
// five corners for a band polygon, four for an element).
constexpr std::size_t smallCornerCount = 8;

__extension__ using Int128 = __int128;

struct Quotient {
    std::int64_t quotient;
    std::int64_t remainder;  // 0 <= remainder < divisor
};

// Division rounding toward minus infinity, for a positive divisor.
template <typename Integer>
Quotient floorDivide(Integer dividend, std::int64_t divisor) {
    Integer quotient = dividend / divisor;
    Integer remainder = dividend % divisor;
    if (remainder < 0) {
        --quotient;
        remainder += divisor;
    }
    return {static_cast<std::int64_t>(quotient), static_cast<std::int64_t>(remainder)};
}

// First column at a row whose pixel centre lies at or right of the edge from top
// to bottom (top.y < bottom.y). The crossing at the row's centre line is
// xc = top.x + (2 (row - top.y) + 1) dx / (2 dy); the column is ceil(xc - 1/2),
// computed as floor((k dx + dy - 1) / (2 dy)) with k = 2 (row - top.y) + 1.
Quotient firstColumnOffset(std::int64_t k, std::int64_t dx, std::int64_t dy) {
    constexpr std::int64_t safe = std::int64_t{1} << 31;
    if (k < safe && std::abs(dx) < safe) return floorDivide(k * dx + dy - 1, 2 * dy);
    // Only corners far outside the buffer get here.
    return floorDivide(Int128{k} * dx + dy - 1, 2 * dy);
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
    // last column reaches no pixel centre inside the buffer.
    const Rows rows{std::max(minY, 0), std::min(maxY, buffer_.height)};
    if (rows.first >= rows.end || maxX <= 0 || minX >= buffer_.width) return;

    if (corners.size() <= smallCornerCount) {
        std::array<EdgeWalk, smallCornerCount> edges;
        std::array<EdgeWalk*, smallCornerCount> active;
        std::array<std::int64_t, smallCornerCount> crossings;
        const int edgeCount = setUpEdges(corners, rows, edges.data());
        fillScanlines({edges.data(), active.data(), crossings.data()}, edgeCount, rows.end, pixel);
    } else {
        bigEdges_.resize(corners.size());
        bigActive_.resize(corners.size());
        bigCrossings_.resize(corners.size());
        const int edgeCount = setUpEdges(corners, rows, bigEdges_.data());
        fillScanlines({bigEdges_.data(), bigActive_.data(), bigCrossings_.data()}, edgeCount,
                      rows.end, pixel);
    }
}

int SpanFiller::setUpEdges(std::span<const Pixel> corners, Rows rows, EdgeWalk* edges) {
    int edgeCount = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        Pixel top = corners[i];
        Pixel bottom = corners[i + 1 < corners.size() ? i + 1 : 0];
        if (top.y == bottom.y) continue;  // horizontal edges cross no centre line
        if (top.y > bottom.y) std::swap(top, bottom);
        const int firstRow = std::max(top.y, rows.first);
        const int endRow = std::min(bottom.y, rows.end);
        if (firstRow >= endRow) continue;

        // Oriented downward whatever the polygon's direction, so that two polygons
        // sharing the edge compute the very same columns.
        const std::int64_t dx = std::int64_t{bottom.x} - top.x;
        const std::int64_t dy = std::int64_t{bottom.y} - top.y;
        const std::int64_t k = 2 * (std::int64_t{firstRow} - top.y) + 1;
        const Quotient start = firstColumnOffset(k, dx, dy);
        const Quotient step = floorDivide(2 * dx, 2 * dy);
        edges[edgeCount++] =
            EdgeWalk{top.x + start.quotient, start.remainder, 2 * dy, step.quotient,
                     step.remainder,         firstRow,        endRow};
    }
    // Sorted by first row, so that scanlines take edges in as they reach them.
    std::sort(edges, edges + edgeCount,
              [](const EdgeWalk& a, const EdgeWalk& b) { return a.firstRow < b.firstRow; });
    return edgeCount;
}

void SpanFiller::fillScanlines(Scratch scratch, int edgeCount, int endRow, std::uint32_t pixel) {
    if (edgeCount == 0) return;
    int next = 0;
    int activeCount = 0;
    for (int row = scratch.edges[0].firstRow; row < endRow; ++row) {
        while (next < edgeCount && scratch.edges[next].firstRow == row) {
            scratch.active[activeCount++] = &scratch.edges[next++];
        }
        int kept = 0;
        for (int i = 0; i < activeCount; ++i) {
            EdgeWalk* edge = scratch.active[i];
            if (edge->endRow == row) continue;
            scratch.active[kept] = edge;
            // Insertion sort: the order changes only where edges cross.
            int slot = kept++;
            while (slot > 0 && scratch.crossings[slot - 1] > edge->column) {
                scratch.crossings[slot] = scratch.crossings[slot - 1];
                --slot;
            }
            scratch.crossings[slot] = edge->column;
            edge->column += edge->columnStep;
            edge->remainder += edge->remainderStep;
            if (edge->remainder >= edge->denominator) {
                edge->remainder -= edge->denominator;
                ++edge->column;
            }
        }
        activeCount = kept;
        if (activeCount == 0 && next == edgeCount) return;
        std::uint32_t* line = buffer_.pixels + row * buffer_.stride;
        for (int i = 0; i + 1 < activeCount; i += 2) {
            const std::int64_t begin = std::max<std::int64_t>(scratch.crossings[i], 0);
            const std::int64_t end =
                std::min<std::int64_t>(scratch.crossings[i + 1], buffer_.width);
            if (begin < end) std::fill(line + begin, line + end, pixel);
        }
    }
}

void SpanFiller::fillRectangle(int left, int top, int right, int bottom, std::uint32_t pixel) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, buffer_.width);
    bottom = std::min(bottom, buffer_.height);
    if (left >= right) return;
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* line = buffer_.pixels + row * buffer_.stride;
        std::fill(line + left, line + right, pixel);
    }
}

void SpanFiller::clear(std::uint32_t pixel) {
    if (buffer_.stride == buffer_.width) {
        std::fill_n(buffer_.pixels, std::ptrdiff_t{buffer_.width} * buffer_.height, pixel);
        return;
    }
    fillRectangle(0, 0, buffer_.width, buffer_.height, pixel);
}

}  // namespace corvelt
