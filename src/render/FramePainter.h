#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "model/ShellModel.h"
#include "render/BandLimits.h"
#include "render/ContourScale.h"
#include "render/ContourValues.h"
#include "render/ColorLegend.h"
#include "render/DepthOrder.h"
#include "render/ElementPlanes.h"
#include "render/PeakMarkers.h"
#include "render/ProjectedCorners.h"
#include "render/RowRange.h"
#include "render/ScreenMapper.h"

namespace corvelt {

class Canvas;
struct PaintContext;

// What a frame shows beyond the model's plot options.
struct FrameOptions {
    // Triangles and labels at the corners that carry the lowest and highest value.
    bool peakMarkers = false;
    // Device pixels per client pixel: the camera maps onto the canvas's pixels, and
    // pens, markers, the legend and labels grow by this factor.
    double pixelRatio = 1.0;
    // How the legend looks, and the background it is drawn on (for its title and
    // backing panel).
    LegendOptions legend{};
    Rgb background{0, 0, 0};
};

struct ViewCamera;

// Draws the complete picture of the model for one repaint, far to near, onto a
// canvas that the caller has cleared to the background colour: per element its
// contour, outline, fill and node markers, then node and element numbers, then the
// legend. The model and the camera are only read.
//
// What depends only on the model's arrays (element planes, the plotted component's
// values), on them and the selection (the band limits) or on the view matrix (the
// far-to-near order) is kept between frames; every frame is nevertheless the one
// that a fresh painter would draw.
//
// Big models are painted on all cores: the elements are looked at in chunks at the
// same time, and drawn in two bands of rows at once when the canvas has row bands.
// Each band draws every element that reaches it, far to near, so every pixel gets
// what the single pass would have left there.
class FramePainter {
  public:
    void paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas,
                    const FrameOptions& options = {});

    // Repainting only what picks change, on a canvas that still holds the last frame
    // this painter drew, when nothing but the picked flags of some elements and nodes
    // has changed since (the caller knows that): updatePicks brings the kept frame up
    // to date with their flags and returns the rows whose pixels may differ, or none
    // when there is no such frame and paintFrame must draw a whole one. paintRows
    // then draws those rows of the frame, far to near with numbers and legend, on
    // a band of the canvas over those rows that the caller has cleared. The rows
    // come out exactly as in a whole frame.
    std::optional<RowRange> updatePicks(const ShellModel& model, const ViewCamera& camera,
                                        Canvas& canvas, std::span<const std::int32_t> elements,
                                        std::span<const std::int32_t> nodes);
    void paintRows(const ShellModel& model, const ViewCamera& camera, Canvas& band, RowRange rows);

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

    // The band limits of the last frame, as the contour was cut into them.
    const BandLimits& bandLimits() const { return scale_.cut; }

    // The legend and the cut that a frame of the model with these legend options
    // shows, worked out as a frame does and kept for the next one.
    const ContourScale& contourScaleFor(const ShellModel& model, const LegendOptions& legend);

  private:
    // What the far-to-near pass needs of one element, gathered beforehand in index
    // order: that pass then reads one small record per element, two cache lines,
    // instead of scattered stresses and coordinates.
    struct alignas(64) ElementFrame {
        ProjectedCorners corners;            // set unless hidden
        std::array<double, 4> cornerValues;  // facing surface; set only for a contour
        double shading;                      // set only for a contour or a fill
        ScreenReach reach;
        std::uint8_t contourTriangles;  // bit j: triangle j, or trianglesWithPixels
        // The looks of the outline, the fill and the corners' node markers (keptStyle):
        // 0 for what this element does not draw. A node's marker is drawn by the
        // last element in the order that has the node.
        std::uint8_t outline;
        std::uint8_t fill;
        std::array<std::uint8_t, ShellModel::nodesPerElement> markers;
    };

    // What is the same for every element of a frame while it is gathered.
    struct GatherInputs {
        const std::vector<ElementValues>* contourValues;
        const std::vector<ElementPlanes>& planes;
        Point3D viewAxis;
        std::optional<Point3D> light;
        // Per node the element that draws its marker last, or none without markers.
        const std::vector<std::int32_t>* lastMarkerElement;
    };

    // What gathering a chunk of elements found out about the frame as a whole.
    struct GatherSummary {
        bool onlyPolygons = true;            // no outline and no marker
        std::vector<std::int32_t> drawRows;  // elements that draw, by their middle row
    };

    void gatherElements(const PaintContext& context, const GatherInputs& inputs, std::int32_t begin,
                        std::int32_t end, GatherSummary& summary);

    const BandLimits& limitsFor(const ShellModel& model, const std::vector<ElementValues>& values,
                                const LegendOptions& legend, bool& haveLimits);
    // The plotted quantity's values as the model's face shows them, or none for a
    // quantity that does not exist.
    const std::vector<ElementValues>* contourValues(const ShellModel& model);
    const std::vector<std::int32_t>& lastMarkerElements(const ShellModel& model,
                                                        const std::vector<std::int32_t>& order);

    // What the frame's gathering reads besides the element records: the light
    // placed, the values of a contour that shows and the nodes' marker elements.
    GatherInputs gatherInputs(const ShellModel& model, const ViewCamera& camera,
                              const std::vector<ElementValues>* values, bool haveLimits,
                              const std::vector<ElementPlanes>& planes,
                              const std::vector<std::int32_t>& order);

    // The far-to-near pass over the elements whose drawing reaches the rows.
    void drawElements(PaintContext& context, const std::vector<std::int32_t>& order,
                      RowRange rows) const;

    // Draws the elements that reach the rows in two bands of rows at once, the
    // first ending at split. False when the canvas has no row bands.
    bool drawElementsInTwoBands(PaintContext& context, const std::vector<std::int32_t>& order,
                                RowRange rows, std::int32_t split, bool onlyPolygons);

    // Numbers, peak markers and legend over the elements.
    void drawOverElements(PaintContext& context) const;

    DrawOrderCache drawOrder_;
    ElementPlanesCache planes_;
    ContourValueCache values_;
    std::vector<ElementFrame> elements_;
    // Per element the pixel rows that whatever it draws can reach (empty when it
    // draws nothing), apart so that a band skips other elements quickly.
    std::vector<RowRange> rows_;
    // The canvas size of the last frame whose records elements_ and rows_ hold.
    std::optional<std::pair<int, int>> framePainted_;

    // The band limits depend on the values, the selection and the legend's bands and
    // range only.
    ContourScale scale_;
    LegendOptions scaleOptions_;
    LegendLook look_;
    bool limitsKept_ = false;
    bool haveLimits_ = false;
    std::uint64_t limitsGeneration_ = 0;
    std::vector<std::uint8_t> limitsSelection_;
    // The corners of the two end values, found with the limits when first asked for.
    std::optional<Peaks> peaks_;
    bool peaksKept_ = false;
    bool peaksShown_ = false;  // by the last frame, and so by its repainted rows
    double framePixelRatio_ = 1.0;

    // Per node the last element in the order of markersGeneration_ that draws its
    // marker.
    std::vector<std::int32_t> lastMarkerElement_;
    bool markersKept_ = false;
    std::uint64_t markersGeneration_ = 0;

    std::int64_t internalErrors_ = 0;
};

}  // namespace corvelt
