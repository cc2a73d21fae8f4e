#include "render/FramePainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"
#include "model/ShellModel.h"
#include "model/StressQuantity.h"
#include "render/Canvas.h"
#include "render/ColorLegend.h"
#include "render/ElementPlanes.h"
#include "render/MeshDrawing.h"
#include "render/MeshStyle.h"
#include "render/PaintContext.h"
#include "render/PeakMarkers.h"
#include "render/PixelRatio.h"
#include "render/Shading.h"
#include "render/StressContour.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

std::string_view titleOf(const std::array<std::string_view, stressQuantityCount>& titles,
                         int quantity) {
    return isStressQuantity(quantity) ? titles[quantity] : std::string_view("?");
}

// Below this many elements a frame is quick enough on one thread.
constexpr std::int32_t concurrentElementCount = 20000;

// The far-to-near pass visits elements in scattered order; fetching their records
// ahead hides most of the memory latency.
constexpr std::size_t lookahead = 16;

// How far a node marker or a wide outline reaches beyond its corners, in rows: the
// largest marker (radius 6, pen 2) with room to spare.
constexpr std::int32_t markerRows = 16;

// Pixels are filled by their centres, and the mapping to pixels is monotonic: when
// the corners of an element land in one pixel column or one pixel row, so do the
// corners of every polygon cut from it, and none of them covers a centre. On a
// model of a million elements most elements are that small.
bool coversPixelCentres(const ScreenMapper& screen, const ViewRect& box) {
    const Pixel low = screen.toPixelInGuard({box.xMin, box.yMin});
    const Pixel high = screen.toPixelInGuard({box.xMax, box.yMax});
    return low.x != high.x && low.y != high.y;
}

std::uint8_t elementLook(MeshLayer layer, PlotScope scope, const ShellModel& model,
                         std::int32_t element) {
    return keptStyle(layer, scope, model.elementPicked[element] != 0,
                     model.elementSelected[element] != 0);
}

// The pixel rows of a box widened by far more than a rounding error: the edge points
// of the contour are interpolated and may stray from the element's box by that much.
std::pair<std::int32_t, std::int32_t> rowsOf(const ScreenMapper& screen, const ViewRect& box) {
    const double slack = (std::fabs(box.yMin) + std::fabs(box.yMax)) * 0x1p-40 + 0x1p-1000;
    const std::int32_t top = screen.toPixel({box.xMin, box.yMax + slack}).y;
    const std::int32_t bottom = screen.toPixel({box.xMin, box.yMin - slack}).y;
    return {top, bottom + 1};
}

}  // namespace

void FramePainter::invalidate() {
    drawOrder_.invalidate();
    planes_.invalidate();
    values_.invalidate();
    limitsKept_ = false;
    markersKept_ = false;
    framePainted_.reset();
}

void FramePainter::prepare(const ShellModel& model, const ViewCamera& camera,
                           const std::function<void()>& partDone) {
    const auto done = [&partDone] {
        if (partDone) partDone();
    };
    const std::vector<ElementPlanes>& planes = planes_.planesFor(model);
    done();
    contourValues(model);
    done();
    drawOrder_.orderFor(model, camera, planes);
    done();
    framePainted_.reset();
    resizeOnHugePages(elements_, static_cast<std::size_t>(model.elementCount()));
    resizeOnHugePages(rows_, elements_.size());
    done();
}

void FramePainter::adoptPrepared(FramePainter&& prepared) {
    drawOrder_ = std::move(prepared.drawOrder_);
    planes_ = std::move(prepared.planes_);
    values_ = std::move(prepared.values_);
    elements_ = std::move(prepared.elements_);
    rows_ = std::move(prepared.rows_);
    limitsKept_ = false;
    markersKept_ = false;
    framePainted_.reset();
}

const std::vector<ElementValues>* FramePainter::contourValues(const ShellModel& model) {
    if (!isStressQuantity(model.contourComponent)) return nullptr;
    return &values_.valuesFor(model, model.contourComponent, model.contourFace);
}

const BandLimits& FramePainter::limitsFor(const ShellModel& model,
                                          const std::vector<ElementValues>& values,
                                          const LegendOptions& legend, bool& haveLimits) {
    const std::vector<std::uint8_t>& selected = model.elementSelected;
    // Only the bands and the range change the limits; the format, title and panel
    // change what the legend writes.
    const bool sameBands = scaleOptions_.bands == legend.bands &&
                           scaleOptions_.range == legend.range &&
                           scaleOptions_.fixedMin == legend.fixedMin &&
                           scaleOptions_.fixedMax == legend.fixedMax;
    if (!limitsKept_ || limitsGeneration_ != values_.generation() || limitsSelection_ != selected ||
        !sameBands) {
        scale_ = contourScale(selectedRange(values, selected), legend);
        haveLimits_ = scale_.haveValues;
        limitsGeneration_ = values_.generation();
        limitsSelection_ = selected;
        scaleOptions_ = legend;
        limitsKept_ = true;
        peaksKept_ = false;
    }
    haveLimits = haveLimits_;
    return scale_.cut;
}

const ContourScale& FramePainter::contourScaleFor(const ShellModel& model,
                                                  const LegendOptions& legend) {
    if (const std::vector<ElementValues>* values = contourValues(model)) {
        bool haveLimits = false;
        limitsFor(model, *values, legend, haveLimits);
    } else {
        scale_ = contourScale(std::nullopt, legend);
        limitsKept_ = false;
    }
    return scale_;
}

// A node's marker is the same each time an element draws it, and covers the same
// pixels: only its last drawing in the far-to-near order shows.
const std::vector<std::int32_t>& FramePainter::lastMarkerElements(
    const ShellModel& model, const std::vector<std::int32_t>& order) {
    if (markersKept_ && markersGeneration_ == drawOrder_.generation()) return lastMarkerElement_;
    lastMarkerElement_.assign(static_cast<std::size_t>(model.nodeCount()), -1);
    for (const std::int32_t element : order) {
        const std::int32_t* nodes = model.elementCorners(element);
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            lastMarkerElement_[nodes[j]] = element;
    }
    markersGeneration_ = drawOrder_.generation();
    markersKept_ = true;
    return lastMarkerElement_;
}

void FramePainter::gatherElements(const PaintContext& context, const GatherInputs& inputs,
                                  std::int32_t begin, std::int32_t end, GatherSummary& summary) {
    const ShellModel& model = context.model;
    const ScreenMapper& screen = context.screen;
    // The chunks' summaries share cache lines: each chunk counts into its own locals
    // and writes its summary once.
    const std::int32_t rows = static_cast<std::int32_t>(summary.drawRows.size());
    std::int32_t* const drawRows = summary.drawRows.data();
    bool onlyPolygons = summary.onlyPolygons;
    // Shading is a long chain of roots and divisions. Done for a batch of elements in
    // a row, the chains of neighbours overlap; inside the long loop below they don't.
    std::array<std::int32_t, 64> toShade;
    std::size_t shadeCount = 0;
    const auto shadeBatch = [&] {
        for (std::size_t i = 0; i < shadeCount; ++i)
            elements_[toShade[i]].shading =
                shadingFactor(inputs.planes[toShade[i]], inputs.viewAxis, inputs.light);
        shadeCount = 0;
    };
    for (std::int32_t element = begin; element < end; ++element) {
        ElementFrame& frame = elements_[element];
        RowRange& span = rows_[element];
        span = RowRange{};
        frame.corners = projectedCorners(model, element);
        const ViewRect box = boundingBox(frame.corners);
        // Nothing of an element outside the client area can be seen.
        frame.reach = screen.reach(box);
        if (frame.reach == ScreenReach::hidden) continue;
        const bool insideGuard = frame.reach == ScreenReach::insideGuard;
        const bool hasArea = !insideGuard || coversPixelCentres(screen, box);

        // Decided in locals: reading back bytes just stored into the record stalls.
        std::uint8_t contourTriangles = 0;
        if (hasArea && inputs.contourValues && model.elementSelected[element]) {
            contourTriangles = insideGuard ? trianglesWithPixels : 0xF;
        }
        const std::uint8_t outline =
            elementLook(MeshLayer::outline, model.elementOutlinePlot, model, element);
        const std::uint8_t fill =
            hasArea ? elementLook(MeshLayer::fill, model.elementPlot, model, element) : 0;
        frame.contourTriangles = contourTriangles;
        frame.outline = outline;
        frame.fill = fill;
        bool markers = false;
        frame.markers = {};
        if (inputs.lastMarkerElement) {
            const std::int32_t* nodes = model.elementCorners(element);
            for (int j = 0; j < ShellModel::nodesPerElement; ++j) {
                const std::int32_t node = nodes[j];
                if ((*inputs.lastMarkerElement)[node] != element ||
                    !screen.mayShow(frame.corners[j]))
                    continue;
                frame.markers[j] =
                    keptStyle(MeshLayer::nodeMarker, model.nodePlot, model.nodePicked[node] != 0,
                              model.nodeSelected[node] != 0);
                markers = markers || frame.markers[j] != 0;
            }
        }
        const bool linesOrMarkers = outline != 0 || markers;
        if (contourTriangles == 0 && fill == 0 && !linesOrMarkers) continue;
        onlyPolygons = onlyPolygons && !linesOrMarkers;
        if (contourTriangles != 0) {
            const int surface = facingSurface(inputs.planes[element], inputs.viewAxis);
            frame.cornerValues = (*inputs.contourValues)[element].surfaces[surface];
        }
        if (contourTriangles != 0 || fill != 0) {
            toShade[shadeCount++] = element;
            if (shadeCount == toShade.size()) shadeBatch();
        }

        if (insideGuard) {
            const auto [top, bottom] = rowsOf(screen, box);
            const std::int32_t reach =
                linesOrMarkers ? devicePixels(markerRows, context.pixelRatio) : 0;
            span = {top - reach, bottom + reach};
        } else {
            span = {0, rows};
        }
        const std::int32_t middle = span.first / 2 + span.end / 2;
        ++drawRows[std::clamp(middle, 0, rows - 1)];
    }
    shadeBatch();
    summary.onlyPolygons = onlyPolygons;
}

void FramePainter::drawElements(PaintContext& context, const std::vector<std::int32_t>& order,
                                RowRange rows) const {
    const auto [firstRow, endRow] = rows;
    const std::size_t count = order.size();
    for (std::size_t k = 0; k < count; ++k) {
        // Scattered records: their rows are fetched well ahead, the records of those
        // that reach the band a little less.
        if (k + 2 * lookahead < count) __builtin_prefetch(&rows_[order[k + 2 * lookahead]]);
        if (k + lookahead < count) {
            const std::int32_t ahead = order[k + lookahead];
            const RowRange span = rows_[ahead];
            if (span.first < endRow && span.end > firstRow) {
                __builtin_prefetch(&elements_[ahead]);
                __builtin_prefetch(reinterpret_cast<const char*>(&elements_[ahead]) + 64);
            }
        }
        const std::int32_t element = order[k];
        const RowRange span = rows_[element];
        if (span.first >= endRow || span.end <= firstRow || span.first >= span.end) continue;
        const ElementFrame& frame = elements_[element];
        if (frame.contourTriangles != 0)
            drawElementContour(context, frame.corners, frame.cornerValues, scale_.cut, frame.shading,
                               frame.reach, frame.contourTriangles);
        if (frame.outline != 0)
            drawOutline(context, frame.corners, frame.reach,
                        styleOfKept(MeshLayer::outline, frame.outline));
        if (frame.fill != 0)
            drawFill(context, frame.corners, frame.shading, frame.reach,
                     styleOfKept(MeshLayer::fill, frame.fill));
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            if (frame.markers[j] != 0)
                drawNodeMarker(context, frame.corners[j],
                               styleOfKept(MeshLayer::nodeMarker, frame.markers[j]));
    }
}

bool FramePainter::drawElementsInTwoBands(PaintContext& context,
                                          const std::vector<std::int32_t>& order, RowRange rows,
                                          std::int32_t split, bool onlyPolygons) {
    if (split <= rows.first || split >= rows.end) return false;

    // Polygons alone need only the filler's bands.
    const auto bandOf = [&](int first, int end) {
        return onlyPolygons ? context.canvas.polygonRowBand(first, end)
                            : context.canvas.rowBand(first, end);
    };
    const std::unique_ptr<Canvas> upper = bandOf(rows.first, split);
    const std::unique_ptr<Canvas> lower = bandOf(split, rows.end);
    if (!upper || !lower) return false;

    PaintContext upperContext(context.model, context.camera, *upper, context.pixelRatio);
    PaintContext lowerContext(context.model, context.camera, *lower, context.pixelRatio);
    std::thread worker([&] { drawElements(lowerContext, order, {split, rows.end}); });
    drawElements(upperContext, order, {rows.first, split});
    worker.join();
    context.internalErrors += upperContext.internalErrors + lowerContext.internalErrors;
    return true;
}

void FramePainter::drawOverElements(PaintContext& context) const {
    drawNodeNumbers(context, context.model.nodeNumberPlot);
    drawElementNumbers(context, context.model.elementNumberPlot);
    if (peaksShown_ && peaks_) drawPeakMarkers(context, *peaks_);
    drawLegend(context.canvas, context.camera, scale_.legend, look_, context.pixelRatio);
}

FramePainter::GatherInputs FramePainter::gatherInputs(const ShellModel& model,
                                                      const ViewCamera& camera,
                                                      const std::vector<ElementValues>* values,
                                                      bool haveLimits,
                                                      const std::vector<ElementPlanes>& planes,
                                                      const std::vector<std::int32_t>& order) {
    // Node markers: a picked node shows even when the layer is off.
    const bool markers =
        model.nodePlot != PlotScope::none ||
        std::find_if(model.nodePicked.begin(), model.nodePicked.end(),
                     [](std::uint8_t picked) { return picked != 0; }) != model.nodePicked.end();

    // The light of this frame is placed first: every fill uses it.
    return {model.contourOn && haveLimits ? values : nullptr, planes, camera.viewAxis(),
            placeLight(model, camera), markers ? &lastMarkerElements(model, order) : nullptr};
}

void FramePainter::paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas,
                              const FrameOptions& options) {
    PaintContext context(model, camera, canvas, options.pixelRatio);

    const std::vector<ElementValues>* values = contourValues(model);
    bool haveLimits = false;
    if (values) {
        limitsFor(model, *values, options.legend, haveLimits);
    } else {
        scale_ = contourScale(std::nullopt, options.legend);
        limitsKept_ = false;
        ++context.internalErrors;
    }
    look_ = {options.legend, titleOf(stressQuantityTitles, model.contourComponent),
             shellFaceTitles[faceIndex(model.contourFace)], options.background};

    const std::vector<ElementPlanes>& planes = planes_.planesFor(model);
    const std::vector<std::int32_t>& order = drawOrder_.orderFor(model, camera, planes);
    const GatherInputs inputs = gatherInputs(model, camera, values, haveLimits, planes, order);
    framePainted_.reset();
    const std::int32_t elementCount = model.elementCount();
    resizeOnHugePages(elements_, static_cast<std::size_t>(elementCount));
    resizeOnHugePages(rows_, elements_.size());
    const std::size_t rows = static_cast<std::size_t>(std::max(canvas.height(), 1));
    std::vector<GatherSummary> summaries(
        chunkCount(static_cast<std::size_t>(elementCount), concurrentElementCount),
        GatherSummary{true, std::vector<std::int32_t>(rows, 0)});
    forEachChunk(static_cast<std::size_t>(elementCount), concurrentElementCount,
                 [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                     gatherElements(context, inputs, static_cast<std::int32_t>(begin),
                                    static_cast<std::int32_t>(end), summaries[chunk]);
                 });
    GatherSummary& summary = summaries.front();
    for (std::size_t chunk = 1; chunk < summaries.size(); ++chunk) {
        for (std::size_t row = 0; row < rows; ++row)
            summary.drawRows[row] += summaries[chunk].drawRows[row];
        summary.onlyPolygons = summary.onlyPolygons && summaries[chunk].onlyPolygons;
    }

    // Split where half of the elements that draw lie above, so that both threads get
    // about the same work wherever the model lies in the window.
    std::int64_t total = 0;
    for (const std::int32_t n : summary.drawRows)
        total += n;
    std::int64_t above = 0;
    std::int32_t split = 0;
    while (split < static_cast<std::int32_t>(rows) && 2 * above < total)
        above += summary.drawRows[split++];

    const bool concurrent = elementCount >= concurrentElementCount;
    const RowRange allRows{0, canvas.height()};
    if (!(concurrent &&
          drawElementsInTwoBands(context, order, allRows, split, summary.onlyPolygons))) {
        drawElements(
            context, order,
            {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()});
    }
    peaksShown_ = options.peakMarkers && haveLimits;
    if (peaksShown_ && !peaksKept_) {
        peaks_ = findPeaks(*values, model.elementSelected);
        peaksKept_ = true;
    }
    drawOverElements(context);
    internalErrors_ += context.internalErrors;
    framePainted_ = std::pair{canvas.width(), canvas.height()};
    framePixelRatio_ = options.pixelRatio;
}

std::optional<RowRange> FramePainter::updatePicks(const ShellModel& model, const ViewCamera& camera,
                                                  Canvas& canvas,
                                                  std::span<const std::int32_t> elements,
                                                  std::span<const std::int32_t> nodes) {
    // Rows are only redrawn on a canvas of client pixels.
    if (framePainted_ != std::pair{canvas.width(), canvas.height()} || framePixelRatio_ != 1.0 ||
        elements_.size() != static_cast<std::size_t>(model.elementCount()) ||
        !isStressQuantity(model.contourComponent))
        return std::nullopt;
    bool haveLimits = false;
    const std::vector<ElementValues>* values = contourValues(model);
    limitsFor(model, *values, scaleOptions_, haveLimits);
    const std::vector<ElementPlanes>& planes = planes_.planesFor(model);
    const std::vector<std::int32_t>& order = drawOrder_.orderFor(model, camera, planes);
    const GatherInputs inputs = gatherInputs(model, camera, values, haveLimits, planes, order);

    // Gathering only reads the context's screen mapping: nothing is drawn here.
    const PaintContext context(model, camera, canvas);
    GatherSummary summary{
        true, std::vector<std::int32_t>(static_cast<std::size_t>(std::max(canvas.height(), 1)), 0)};
    RowRange changed;
    const auto regather = [&](std::int32_t element) {
        changed = changed.united(rows_[element]);
        gatherElements(context, inputs, element, element + 1, summary);
        changed = changed.united(rows_[element]);
    };
    for (const std::int32_t element : elements)
        regather(element);
    // A node's marker is drawn by one element; the others leave it out either way.
    if (!nodes.empty()) {
        const std::vector<std::int32_t>& markerElements = lastMarkerElements(model, order);
        for (const std::int32_t node : nodes)
            if (markerElements[node] >= 0) regather(markerElements[node]);
    }
    return changed.clampedTo(canvas.height());
}

void FramePainter::paintRows(const ShellModel& model, const ViewCamera& camera, Canvas& band,
                             RowRange rows) {
    PaintContext context(model, camera, band);
    const std::vector<std::int32_t>& order =
        drawOrder_.orderFor(model, camera, planes_.planesFor(model));
    const bool concurrent = model.elementCount() >= concurrentElementCount;
    const std::int32_t split = rows.first / 2 + rows.end / 2;
    if (!(concurrent && drawElementsInTwoBands(context, order, rows, split, false)))
        drawElements(context, order, rows);
    drawOverElements(context);
    internalErrors_ += context.internalErrors;
}

}  // namespace corvelt
