#include "render/FramePainter.h"

#include <array>
#include <optional>

#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "render/ColorLegend.h"
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

bool fillIsDrawn(const ShellModel& model, std::int32_t element) {
    return meshStyle(MeshLayer::fill, model.elementPlot, model.elementPicked[element] != 0,
                     model.elementSelected[element] != 0)
        .drawn;
}

}  // namespace

void FramePainter::paintFrame(const ShellModel& model, const ViewCamera& camera, Canvas& canvas) {
    PaintContext context(model, camera, canvas);

    // The light moves with every rotation, pan and zoom; every fill of the frame uses it.
    const std::optional<Point3D> light = placeLight(model, camera);

    const int component = model.contourComponent;
    if (!isStressComponent(component)) ++context.internalErrors;
    const bool haveLimits = computeBandLimits(model, limits_, component);
    const bool drawContour = model.contourOn && haveLimits;

    for (const std::int32_t element : drawOrder_.orderFor(model, camera)) {
        // Nothing of an element outside the client area can be seen.
        const ScreenReach reach = context.screen.reach(elementBox(model, element));
        if (reach == ScreenReach::hidden) continue;

        const bool contour = drawContour && model.elementSelected[element];
        const bool fill = fillIsDrawn(model, element);
        const double shading = contour || fill ? shadingFactor(model, camera, light, element) : 1.0;

        if (contour) drawElementContour(context, element, limits_, component, shading, reach);
        drawElementOutline(context, element, reach);
        if (fill) drawElementFill(context, element, shading, reach);
        drawElementNodes(context, element);
    }

    drawNodeNumbers(context, model.nodeNumberPlot);
    drawElementNumbers(context, model.elementNumberPlot);
    drawLegend(canvas, camera, model.colorTable, limits_);

    internalErrors_ += context.internalErrors;
}

}  // namespace corvelt
