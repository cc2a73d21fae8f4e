#include "render/FramePainter.h"

#include <algorithm>
#include <array>
#include <optional>

#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "render/ColorLegend.h"
#include "render/ElementPlanes.h"
#include "render/MeshDrawing.h"
#include "render/MeshStyle.h"
#include "render/PaintContext.h"
#include "render/Shading.h"
#include "render/StressContour.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

// The far-to-near pass visits elements in scattered order; fetching their records a
// few elements ahead hides most of the memory latency.
constexpr std::size_t lookahead = 8;

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

void FramePainter::gatherElements(const PaintContext& context,
                                  const std::vector<ElementValues>* contourValues) {
    const ShellModel& model = context.model;
    const Point3D viewAxis = context.camera.viewAxis();
    const std::optional<Point3D> light = placeLight(model, context.camera);
    const std::vector<ElementPlanes>& planes = planes_.planesFor(model);

    elements_.resize(static_cast<std::size_t>(model.elementCount()));
    for (std::int32_t element = 0; element < model.elementCount(); ++element) {
        ElementFrame& frame = elements_[element];
        frame.corners = projectedCorners(model, element);
        // Nothing of an element outside the client area can be seen.
        frame.reach = context.screen.reach(boundingBox(frame.corners));
        if (frame.reach == ScreenReach::hidden) continue;
        frame.contour = contourValues && model.elementSelected[element];
        frame.outline = layerIsDrawn(MeshLayer::outline, model.elementOutlinePlot, model, element);
        frame.fill = layerIsDrawn(MeshLayer::fill, model.elementPlot, model, element);
        if (frame.contour) {
            const int surface = facingSurface(planes[element], viewAxis);
            frame.cornerValues = (*contourValues)[element].surfaces[surface];
        }
        if (frame.contour || frame.fill)
            frame.shading = shadingFactor(planes[element], viewAxis, light);
    }
}

void FramePainter::paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas) {
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
    gatherElements(context, model.contourOn && haveLimits ? values : nullptr);
    // Node markers: a picked node shows even when the layer is off.
    const bool markers =
        model.nodePlot != PlotScope::none ||
        std::find(model.nodePicked.begin(), model.nodePicked.end(), 1) != model.nodePicked.end();

    const std::vector<std::int32_t>& order = drawOrder_.orderFor(model, camera);
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
        if (frame.contour)
            drawElementContour(context, frame.corners, frame.cornerValues, limits_, frame.shading,
                               frame.reach);
        if (frame.outline) drawElementOutline(context, element, frame.corners, frame.reach);
        if (frame.fill)
            drawElementFill(context, element, frame.corners, frame.shading, frame.reach);
        if (markers) drawElementNodes(context, element);
    }

    drawNodeNumbers(context, model.nodeNumberPlot);
    drawElementNumbers(context, model.elementNumberPlot);
    drawLegend(canvas, camera, model.colorTable, limits_);

    internalErrors_ += context.internalErrors;
}

}  // namespace corvelt
