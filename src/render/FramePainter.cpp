#include "render/FramePainter.h"

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

ViewBox elementBox(const ShellModel& model, std::int32_t element) {
    const std::int32_t* nodes = model.elementCorners(element);
    std::array<Point2D, ShellModel::nodesPerElement> corners;
    for (int j = 0; j < ShellModel::nodesPerElement; ++j)
        corners[j] = model.projectedNodes[nodes[j]];
    return boundingBox(corners);
}

// The far-to-near pass visits elements in scattered order; fetching their data a few
// elements ahead hides most of the memory latency. Connectivity is fetched first,
// and the projected corners once it has arrived.
constexpr std::size_t recordLookahead = 16;
constexpr std::size_t cornerLookahead = 8;

void prefetchCorners(const ShellModel& model, std::int32_t element) {
    const std::int32_t* nodes = model.elementCorners(element);
    for (int j = 0; j < ShellModel::nodesPerElement; ++j)
        __builtin_prefetch(&model.projectedNodes[nodes[j]]);
}

bool fillIsDrawn(const ShellModel& model, std::int32_t element) {
    return meshStyle(MeshLayer::fill, model.elementPlot, model.elementPicked[element] != 0,
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
        // Nothing of an element outside the client area can be seen.
        frame.reach = context.screen.reach(elementBox(model, element));
        if (frame.reach == ScreenReach::hidden) continue;
        frame.contour = contourValues && model.elementSelected[element];
        frame.fill = fillIsDrawn(model, element);
        if (frame.contour)
            frame.cornerValues =
                (*contourValues)[element].surfaces[facingSurface(planes[element], viewAxis)];
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

    const std::vector<std::int32_t>& order = drawOrder_.orderFor(model, camera);
    const std::size_t count = order.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (k + recordLookahead < count) {
            __builtin_prefetch(&elements_[order[k + recordLookahead]]);
            __builtin_prefetch(model.elementCorners(order[k + recordLookahead]));
        }
        if (k + cornerLookahead < count) prefetchCorners(model, order[k + cornerLookahead]);

        const std::int32_t element = order[k];
        const ElementFrame& frame = elements_[element];
        if (frame.reach == ScreenReach::hidden) continue;
        if (frame.contour)
            drawElementContour(context, element, frame.cornerValues, limits_, frame.shading,
                               frame.reach);
        drawElementOutline(context, element, frame.reach);
        if (frame.fill) drawElementFill(context, element, frame.shading, frame.reach);
        drawElementNodes(context, element);
    }

    drawNodeNumbers(context, model.nodeNumberPlot);
    drawElementNumbers(context, model.elementNumberPlot);
    drawLegend(canvas, camera, model.colorTable, limits_);

    internalErrors_ += context.internalErrors;
}

}  // namespace corvelt
