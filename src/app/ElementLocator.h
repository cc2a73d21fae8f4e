#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/Point.h"
#include "render/ModelArraysKey.h"
#include "view/Matrix4.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// Finds the element under a view-space point as a point pick does (the front-most
// of those whose outline holds the point, the lower index on a tie), but among a few
// candidates instead of all elements, so that it can follow every mouse move. The
// elements are binned into a grid over the projected model by the cells their
// projected outlines reach. The grid lives in view space, so pans, zooms and resizes
// keep it; a turn (a new view matrix) or a new model builds it again.
class ElementLocator {
  public:
    // Builds the grid for the current view unless it is up to date.
    void prepare(const ShellModel& model, const ViewCamera& camera);

    // The element under a view-space point; prepares first.
    std::optional<std::int32_t> elementAt(const ShellModel& model, const ViewCamera& camera,
                                          Point2D point);

  private:
    struct Key {
        Matrix4 viewMatrix{};
        ModelArraysKey arrays;
        bool operator==(const Key&) const = default;
    };
    // Cells an element's outline reaches: columns first .. last, rows first .. last.
    struct CellRange {
        std::uint16_t firstColumn, lastColumn, firstRow, lastRow;
    };

    static Key keyOf(const ShellModel& model, const ViewCamera& camera);
    void build(const ShellModel& model);
    std::optional<CellRange> cellsOf(const std::array<Point2D, 4>& corners) const;
    int columnOf(double x) const;
    int rowOf(double y) const;

    std::optional<Key> key_;
    // The projected model's extent, cut into columns x rows cells.
    double left_ = 0.0, bottom_ = 0.0, columnsPerUnit_ = 0.0, rowsPerUnit_ = 0.0;
    int columns_ = 0, rows_ = 0;
    // Cell c holds elements_[cellStart_[c] .. cellStart_[c + 1]), ascending; a
    // degenerate grid (scan_) holds nothing, and every element is a candidate.
    std::vector<std::int64_t> cellStart_;
    std::vector<std::int32_t> elements_;
    bool scan_ = false;
    // Working memory of build.
    std::vector<std::optional<CellRange>> ranges_;
    std::vector<std::int64_t> nextEntry_;
};

}  // namespace corvelt
