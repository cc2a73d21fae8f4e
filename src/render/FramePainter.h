#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "render/BandLimits.h"
#include "render/ContourValues.h"
#include "render/DepthOrder.h"
#include "render/ElementPlanes.h"
#include "render/ProjectedCorners.h"
#include "render/ScreenMapper.h"

namespace corvelt {

class Canvas;
struct PaintContext;

// What a frame shows beyond the model's plot options.
struct FrameOptions {
    // Rings and labels at the corners that carry the legend's end values.
    bool peakMarkers = false;
};
struct ShellModel;
struct ViewCamera;

// Draws the complete picture of the model for one repaint, far to near, onto a
// canvas that the caller has cleared to the background colour: per element its
// contour, outline, fill and node markers, then node and element numbers, then the
// legend. The model and the camera are only read.
//
// What depends only on the model's arrays (element planes, the plotted component's
// values) or on the view matrix (the far-to-near order) is kept between frames; every
// frame is nevertheless the one that a fresh painter would draw.
class FramePainter {
  public:
    void paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas,
                    const FrameOptions& options = {});

    // Forgets what was kept between frames. Call it whenever the model's mesh or
    // stresses change: in place, and also on every reload (new arrays usually have
    // new addresses, which the painter notices, but after several reloads without a
    // paint between them one may reuse the address of an array painted before).
    void invalidate();

    // Computes what the first frame of the model seen by the camera needs and keeps
    // it: element planes, the plotted component's values, the far-to-near order and
    // room for the per-element records. So a model can be made ready away from the
    // thread that paints; adoptPrepared then hands it to the painter that paints.
    // Calls partDone after each of the preparationParts parts; whatever that throws
    // leaves the painter usable.
    static constexpr int preparationParts = 4;
    void prepare(const ShellModel& model, const ViewCamera& camera,
                 const std::function<void()>& partDone = {});
    // Takes over what another painter kept; keeps this one's internal error count.
    void adoptPrepared(FramePainter&& prepared);

    // Faults of the contour arithmetic counted over all frames painted so far (an
    // edge point that could not be found, a component outside Sx..Se). Finite data
    // never causes them; the shell reports a rise once instead of per polygon.
    std::int64_t internalErrorCount() const { return internalErrors_; }

    // The band limits of the last frame, as the legend showed them.
    const BandLimits& bandLimits() const { return limits_; }

  private:
    // What the far-to-near pass needs of one element, gathered beforehand in index
    // order: that pass then reads one small record per element instead of scattered
    // stresses and coordinates.
    struct ElementFrame {
        ProjectedCorners corners;            // set unless hidden
        std::array<double, 4> cornerValues;  // facing surface; set only for a contour
        double shading;                      // set only for a contour or a fill
        // Pixel rows that the element's area can reach: topRow .. bottomRow - 1.
        // Set for a contour or a fill of an element inside the guard band.
        std::int32_t topRow;
        std::int32_t bottomRow;
        ScreenReach reach;
        bool contour;
        bool outline;
        bool fill;
    };

    // What is the same for every element of a frame while it is gathered.
    struct GatherInputs {
        const std::vector<ElementValues>* contourValues;
        const std::vector<ElementPlanes>& planes;
        Point3D viewAxis;
        std::optional<Point3D> light;
    };

    // What gathering a range of elements found out about the frame as a whole.
    struct GatherSummary {
        bool anyOutline = false;
        std::vector<std::int32_t> areaRows;  // elements with an area, by their middle row
    };

    void gatherElements(const PaintContext& context, const GatherInputs& inputs, std::int32_t begin,
                        std::int32_t end, GatherSummary& summary);

    // The far-to-near pass over the elements whose area may reach rows
    // firstRow .. endRow - 1 (all elements for the whole canvas).
    void drawElements(PaintContext& context, const std::vector<std::int32_t>& order, bool markers,
                      std::int32_t firstRow, std::int32_t endRow) const;

    // Fills the contours and element fills in two bands of rows at once, split where
    // the elements are split in half. False when the canvas cannot do that.
    bool drawElementsInTwoBands(PaintContext& context, const std::vector<std::int32_t>& order,
                                const std::vector<std::int32_t>& areaRows);

    DrawOrderCache drawOrder_;
    ElementPlanesCache planes_;
    ContourValueCache values_;
    std::vector<ElementFrame> elements_;
    BandLimits limits_;
    std::int64_t internalErrors_ = 0;
};

}  // namespace corvelt
