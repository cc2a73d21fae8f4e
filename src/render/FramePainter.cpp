#include "render/FramePainter.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "render/ColorLegend.h"
#include "render/ElementPlanes.h"
#include "render/MeshDrawing.h"
#include "render/MeshStyle.h"
#include "render/PaintContext.h"
#include "render/PeakMarkers.h"
#include "render/Shading.h"
#include "render/StressContour.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

// The far-to-near pass visits elements in scattered order; fetching their records a
// few elements ahead hides most of the memory latency.
constexpr std::size_t lookahead = 8;

// Below this many elements a frame is quick enough on one thread.
constexpr std::int32_t concurrentElementCount = 20000;

// Pixels are filled by their centres, and the mapping to pixels is monotonic: when
// the corners of an element land in one pixel column or one pixel row, so do the
// corners of every polygon cut from it, and none of them covers a centre. On a
// model of a million elements most elements are that small.
bool coversPixelCentres(const ScreenMapper& screen, const ViewRect& box) {
    const Pixel low = screen.toPixelInGuard({box.xMin, box.yMin});
    const Pixel high = screen.toPixelInGuard({box.xMax, box.yMax});
    return low.x != high.x && low.y != high.y;
}

bool layerIsDrawn(MeshLayer layer, PlotScope scope, const ShellModel& model, std::int32_t element) {
    return meshStyle(layer, scope, model.elementPicked[element] != 0,
                     model.elementSelected[element] != 0)
        .drawn;
}

}  // namespace

void FramePainter::invalidate() {
    drawOrder_.invalidate();
    planes_.invalidate();
    values_.invalidate();
}

void FramePainter::prepare(const ShellModel& model, const ViewCamera& camera,
                           const std::function<void()>& partDone) {
    const auto done = [&partDone] {
        if (partDone) partDone();
    };
    planes_.planesFor(model);
    done();
    if (isStressComponent(model.contourComponent)) values_.valuesFor(model, model.contourComponent);
    done();
    drawOrder_.orderFor(model, camera);
    done();
    elements_.resize(static_cast<std::size_t>(model.elementCount()));
    done();
}

void FramePainter::adoptPrepared(FramePainter&& prepared) {
    drawOrder_ = std::move(prepared.drawOrder_);
    planes_ = std::move(prepared.planes_);
    values_ = std::move(prepared.values_);
    elements_ = std::move(prepared.elements_);
}

void FramePainter::gatherElements(const PaintContext& context, const GatherInputs& inputs,
                                  std::int32_t begin, std::int32_t end, GatherSummary& summary) {
    const ShellModel& model = context.model;
    const ScreenMapper& screen = context.screen;
    const std::int32_t rows = static_cast<std::int32_t>(summary.areaRows.size());
    for (std::int32_t element = begin; element < end; ++element) {
        ElementFrame& frame = elements_[element];
        frame.corners = projectedCorners(model, element);
        const ViewRect box = boundingBox(frame.corners);
        // Nothing of an element outside the client area can be seen.
        frame.reach = screen.reach(box);
        if (frame.reach == ScreenReach::hidden) continue;
        const bool insideGuard = frame.reach == ScreenReach::insideGuard;
        const bool hasArea = !insideGuard || coversPixelCentres(screen, box);
        frame.contour = hasArea && inputs.contourValues && model.elementSelected[element];
        frame.outline = layerIsDrawn(MeshLayer::outline, model.elementOutlinePlot, model, element);
        frame.fill = hasArea && layerIsDrawn(MeshLayer::fill, model.elementPlot, model, element);
        summary.anyOutline = summary.anyOutline || frame.outline;
        if (frame.contour) {
            const int surface = facingSurface(inputs.planes[element], inputs.viewAxis);
            frame.cornerValues = (*inputs.contourValues)[element].surfaces[surface];
        }
        if (!frame.contour && !frame.fill) continue;
        frame.shading = shadingFactor(inputs.planes[element], inputs.viewAxis, inputs.light);
        if (insideGuard) {
            frame.topRow = screen.toPixelInGuard({box.xMin, box.yMax}).y;
            frame.bottomRow = screen.toPixelInGuard({box.xMin, box.yMin}).y;
            const std::int32_t middle = frame.topRow / 2 + frame.bottomRow / 2;
            ++summary.areaRows[std::clamp(middle, 0, rows - 1)];
        }
    }
}

void FramePainter::drawElements(PaintContext& context, const std::vector<std::int32_t>& order,
                                bool markers, std::int32_t firstRow, std::int32_t endRow) const {
    const std::size_t count = order.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (k + lookahead < count) {
            const auto* ahead = reinterpret_cast<const char*>(&elements_[order[k + lookahead]]);
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + sizeof(ElementFrame) - 1);
        }
        const std::int32_t element = order[k];
        const ElementFrame& frame = elements_[element];
        if (frame.reach == ScreenReach::hidden) continue;
        if ((frame.contour || frame.fill) && frame.reach == ScreenReach::insideGuard &&
            (frame.topRow >= endRow || frame.bottomRow <= firstRow))
            continue;
        if (frame.contour)
            drawElementContour(context, frame.corners, frame.cornerValues, limits_, frame.shading,
                               frame.reach);
        if (frame.outline) drawElementOutline(context, element, frame.corners, frame.reach);
        if (frame.fill)
            drawElementFill(context, element, frame.corners, frame.shading, frame.reach);
        if (markers) drawElementNodes(context, element);
    }
}

bool FramePainter::drawElementsInTwoBands(PaintContext& context,
                                          const std::vector<std::int32_t>& order,
                                          const std::vector<std::int32_t>& areaRows) {
    // Split where half of the elements with an area lie above, so that both threads
    // get about the same work wherever the model lies in the window.
    std::int64_t total = 0;
    for (const std::int32_t n : areaRows)
        total += n;
    std::int64_t above = 0;
    std::int32_t split = 0;
    while (split < static_cast<std::int32_t>(areaRows.size()) && 2 * above < total)
        above += areaRows[split++];
    const std::int32_t height = context.canvas.height();
    if (split <= 0 || split >= height) return false;

    const std::unique_ptr<Canvas> upper = context.canvas.polygonRowBand(0, split);
    const std::unique_ptr<Canvas> lower = context.canvas.polygonRowBand(split, height);
    if (!upper || !lower) return false;

    PaintContext upperContext(context.model, context.camera, *upper);
    PaintContext lowerContext(context.model, context.camera, *lower);
    std::thread worker([&] { drawElements(lowerContext, order, false, split, height); });
    drawElements(upperContext, order, false, 0, split);
    worker.join();
    context.internalErrors += upperContext.internalErrors + lowerContext.internalErrors;
    return true;
}

void FramePainter::paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas,
                              const FrameOptions& options) {
    PaintContext context(model, camera, canvas);

    const int component = model.contourComponent;
    const std::vector<ElementValues>* values = nullptr;
    bool haveLimits = false;
    if (isStressComponent(component)) {
        values = &values_.valuesFor(model, component);
        haveLimits = computeBandLimits(*values, model.elementSelected, limits_);
    } else {
        limits_ = BandLimits{};
        ++context.internalErrors;
    }

    // The light of this frame is placed first: every fill uses it.
    const GatherInputs inputs{model.contourOn && haveLimits ? values : nullptr,
                              planes_.planesFor(model), camera.viewAxis(),
                              placeLight(model, camera)};
    const std::int32_t elementCount = model.elementCount();
    const bool concurrent = elementCount >= concurrentElementCount;
    elements_.resize(static_cast<std::size_t>(elementCount));
    const std::size_t rows = static_cast<std::size_t>(std::max(canvas.height(), 1));
    GatherSummary first{false, std::vector<std::int32_t>(rows, 0)};
    GatherSummary second{false, std::vector<std::int32_t>(rows, 0)};
    if (concurrent) {
        const std::int32_t half = elementCount / 2;
        std::thread worker([&] { gatherElements(context, inputs, half, elementCount, second); });
        gatherElements(context, inputs, 0, half, first);
        worker.join();
        for (std::size_t row = 0; row < rows; ++row)
            first.areaRows[row] += second.areaRows[row];
        first.anyOutline = first.anyOutline || second.anyOutline;
    } else {
        gatherElements(context, inputs, 0, elementCount, first);
    }

    // Node markers: a picked node shows even when the layer is off.
    const bool markers =
        model.nodePlot != PlotScope::none ||
        std::find_if(model.nodePicked.begin(), model.nodePicked.end(),
                     [](std::uint8_t picked) { return picked != 0; }) != model.nodePicked.end();

    const std::vector<std::int32_t>& order = drawOrder_.orderFor(model, camera);
    // Polygons alone can be filled in two bands of rows at once; lines, circles and
    // text go through one painter and keep the single pass.
    const bool polygonsOnly = !markers && !first.anyOutline;
    if (!(concurrent && polygonsOnly && drawElementsInTwoBands(context, order, first.areaRows)))
        drawElements(context, order, markers, std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max());

    drawNodeNumbers(context, model.nodeNumberPlot);
    drawElementNumbers(context, model.elementNumberPlot);
    if (options.peakMarkers && haveLimits)
        if (const std::optional<Peaks> peaks = findPeaks(*values, model.elementSelected))
            drawPeakMarkers(context, *peaks, 1.0);
    drawLegend(canvas, camera, model.colorTable, limits_);

    internalErrors_ += context.internalErrors;
}

}  // namespace corvelt
