#include "render/StressContour.h"

#include <cmath>

#include "model/ShellModel.h"
#include "render/PaintContext.h"
#include "render/PolygonFill.h"
#include "render/TriangleBands.h"
#include "view/ViewCamera.h"

namespace corvelt {

bool computeBandLimits(const ShellModel& model, BandLimits& limits, int component) {
    limits = BandLimits{};
    if (!isStressComponent(component)) return false;

    const std::int32_t count = model.elementCount();
    std::int32_t first = 0;
    while (first < count && !model.elementSelected[first])
        ++first;
    if (first == count) return false;

    double minimum = model.elementStresses[first].value(0, 0, component);
    double maximum = minimum;
    for (std::int32_t e = first; e < count; ++e) {
        if (!model.elementSelected[e]) continue;
        const ElementStressBlock& block = model.elementStresses[e];
        for (int j = 0; j < ShellModel::nodesPerElement; ++j) {
            for (int surface = 0; surface < 2; ++surface) {
                const double value = block.value(surface, j, component);
                if (value > maximum) maximum = value;
                if (value < minimum) minimum = value;
            }
        }
    }

    constexpr int bands = ShellModel::colorCount;
    const double step = (maximum - minimum) / bands;
    limits.values[0] = minimum;
    for (int k = 1; k < bands; ++k)
        limits.values[k] = limits.values[k - 1] + step;
    limits.values[bands] = maximum;
    for (int k = 1; k <= bands; ++k)
        if (limits.values[k] < limits.values[k - 1]) limits.nonDecreasing = false;
    return true;
}

int facingSurface(const ShellModel& model, const Point3D& viewAxis, std::int32_t element) {
    const std::int32_t* corners = model.elementCorners(element);
    const Point3D& p0 = model.nodes[corners[0]];
    const Point3D n = cross(model.nodes[corners[1]] - p0, model.nodes[corners[2]] - p0);
    const double n2 = length(n);
    // An element without a plane faces nobody: it shows the second surface.
    if (!(n2 > 0.0)) return 1;
    return dot(n * (1.0 / n2), viewAxis) > 0.0 ? 0 : 1;
}

void drawElementContour(PaintContext& context, std::int32_t element, const BandLimits& limits,
                        int component, double shading, ScreenReach reach) {
    const ShellModel& model = context.model;
    if (!isStressComponent(component)) {
        ++context.internalErrors;
        return;
    }
    const std::int32_t* nodes = model.elementCorners(element);
    std::array<Point2D, 4> corners;
    Point2D centre;
    for (int j = 0; j < 4; ++j) {
        corners[j] = model.projectedNodes[nodes[j]];
        centre.x += corners[j].x;
        centre.y += corners[j].y;
    }
    centre.x *= 0.25;
    centre.y *= 0.25;

    const int surface = facingSurface(model, context.camera.viewAxis(), element);
    const ElementStressBlock& block = model.elementStresses[element];
    std::array<double, 4> f;
    for (int j = 0; j < 4; ++j)
        f[j] = block.value(surface, j, component);
    const double centreValue = 0.25 * (f[0] + f[1] + f[2] + f[3]);

    for (int j = 0; j < 4; ++j) {
        const int next = (j + 1) % 4;
        fillTriangleBands(context, {centre, corners[j], corners[next]},
                          {centreValue, f[j], f[next]}, limits, shading, reach);
    }
}

void fillTriangleBands(PaintContext& context, const std::array<Point2D, 3>& corners,
                       const std::array<double, 3>& values, const BandLimits& limits,
                       double shading, ScreenReach reach) {
    const bool mayLeaveGuard = reach == ScreenReach::crossesGuard;
    ScreenPolygon pixels;
    const int failures = cutTriangleIntoBands(
        corners, values, limits, [&](int band, std::span<const Point2D> polygon) {
            context.screen.mapPolygon(polygon, mayLeaveGuard, pixels);
            fillShadedPolygon(context.canvas, pixels, context.model.colorTable[band], shading);
        });
    context.internalErrors += failures;
}

}  // namespace corvelt
