#include "app/ElementLocator.h"

#include <algorithm>
#include <cmath>

#include "model/ShellModel.h"
#include "render/ProjectedCorners.h"
#include "select/Picking.h"
#include "view/Depth.h"
#include "view/ViewCamera.h"
#include "view/ViewRect.h"

namespace corvelt {

namespace {

// About this many elements share a cell on average: a query then tests a few dozen
// outlines.
constexpr std::int64_t elementsPerCell = 32;
constexpr int maxCellsPerSide = 4096;
// More entries than this per element (huge elements, all overlapping) are not worth
// binning; the locator then tests every element.
constexpr std::int64_t maxEntriesPerElement = 16;

}  // namespace

ElementLocator::Key ElementLocator::keyOf(const ShellModel& model, const ViewCamera& camera) {
    return {camera.viewMatrix, ModelArraysKey::of(model)};
}

void ElementLocator::prepare(const ShellModel& model, const ViewCamera& camera) {
    const Key key = keyOf(model, camera);
    if (key_ == key) return;
    build(model);
    key_ = key;
}

namespace {

// floor(t) clamped to 0 .. last, for t not a NaN; truncation is floor from 0 on.
int cellIndex(double t, int last) {
    if (!(t > 0.0)) return 0;
    if (t >= last) return last;
    return static_cast<int>(t);
}

}  // namespace

int ElementLocator::columnOf(double x) const {
    return cellIndex((x - left_) * columnsPerUnit_, columns_ - 1);
}

int ElementLocator::rowOf(double y) const {
    return cellIndex((y - bottom_) * rowsPerUnit_, rows_ - 1);
}

// Clamping keeps the mapping monotonic, so a point inside an outline always falls
// into one of the outline's cells.
std::optional<ElementLocator::CellRange> ElementLocator::cellsOf(
    const std::array<Point2D, 4>& corners) const {
    ViewRect box{corners[0].x, corners[0].x, corners[0].y, corners[0].y};
    for (int j = 1; j < 4; ++j) {
        box.xMin = std::min(box.xMin, corners[j].x);
        box.xMax = std::max(box.xMax, corners[j].x);
        box.yMin = std::min(box.yMin, corners[j].y);
        box.yMax = std::max(box.yMax, corners[j].y);
    }
    if (std::isnan(box.xMin + box.xMax + box.yMin + box.yMax)) return std::nullopt;
    return CellRange{static_cast<std::uint16_t>(columnOf(box.xMin)),
                     static_cast<std::uint16_t>(columnOf(box.xMax)),
                     static_cast<std::uint16_t>(rowOf(box.yMin)),
                     static_cast<std::uint16_t>(rowOf(box.yMax))};
}

void ElementLocator::build(const ShellModel& model) {
    cellStart_.clear();
    elements_.clear();
    scan_ = true;
    if (model.projectedNodes.empty()) return;
    const ViewRect extent = boundingBox(model.projectedNodes);
    const double width = extent.xMax - extent.xMin;
    const double height = extent.yMax - extent.yMin;
    if (!std::isfinite(width) || !std::isfinite(height)) return;

    // Cells of about the same width and height; a flat extent gets one row or column.
    const std::int32_t elementCount = model.elementCount();
    const double cells = std::max<double>(elementCount / elementsPerCell, 1.0);
    const double side = width > 0 && height > 0 ? std::sqrt(width * height / cells)
                                                : std::max(width, height) / cells;
    columns_ =
        side > 0
            ? static_cast<int>(std::clamp(std::ceil(width / side), 1.0, double{maxCellsPerSide}))
            : 1;
    rows_ =
        side > 0
            ? static_cast<int>(std::clamp(std::ceil(height / side), 1.0, double{maxCellsPerSide}))
            : 1;
    left_ = extent.xMin;
    bottom_ = extent.yMin;
    columnsPerUnit_ = width > 0 ? columns_ / width : 0.0;
    rowsPerUnit_ = height > 0 ? rows_ / height : 0.0;
    scan_ = false;

    // Counting sort by cell: count, then place in element order. The buffers are
    // kept from view to view; fresh pages cost more than the sort.
    std::vector<std::optional<CellRange>>& ranges = ranges_;
    ranges.resize(static_cast<std::size_t>(elementCount));
    cellStart_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
    std::int64_t entries = 0;
    for (std::int32_t e = 0; e < elementCount; ++e) {
        const std::optional<CellRange> range = cellsOf(projectedCorners(model, e));
        ranges[e] = range;
        if (!range) continue;
        for (int row = range->firstRow; row <= range->lastRow; ++row)
            for (int column = range->firstColumn; column <= range->lastColumn; ++column)
                ++cellStart_[static_cast<std::size_t>(row) * columns_ + column + 1];
        entries += std::int64_t{range->lastRow - range->firstRow + 1} *
                   (range->lastColumn - range->firstColumn + 1);
        if (entries > maxEntriesPerElement * elementCount + columns_ * rows_) {
            scan_ = true;
            return;
        }
    }
    for (std::size_t c = 1; c < cellStart_.size(); ++c)
        cellStart_[c] += cellStart_[c - 1];
    elements_.resize(static_cast<std::size_t>(entries));
    std::vector<std::int64_t>& next = nextEntry_;
    next.assign(cellStart_.begin(), cellStart_.end() - 1);
    for (std::int32_t e = 0; e < elementCount; ++e) {
        const std::optional<CellRange>& range = ranges[e];
        if (!range) continue;
        for (int row = range->firstRow; row <= range->lastRow; ++row)
            for (int column = range->firstColumn; column <= range->lastColumn; ++column)
                elements_[next[static_cast<std::size_t>(row) * columns_ + column]++] = e;
    }
}

std::optional<std::int32_t> ElementLocator::elementAt(const ShellModel& model,
                                                      const ViewCamera& camera, Point2D point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
    prepare(model, camera);
    std::optional<std::int32_t> front;
    double frontDepth = 0.0;
    const auto consider = [&](std::int32_t e) {
        if (!pointInElement(model, e, point)) return;
        const double depth = elementDepth(model, camera, e);
        if (!front || depth < frontDepth) {
            front = e;
            frontDepth = depth;
        }
    };
    if (scan_) {
        for (std::int32_t e = 0; e < model.elementCount(); ++e)
            consider(e);
        return front;
    }
    const std::size_t cell =
        static_cast<std::size_t>(rowOf(point.y)) * columns_ + columnOf(point.x);
    for (std::int64_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k)
        consider(elements_[static_cast<std::size_t>(k)]);
    return front;
}

}  // namespace corvelt
