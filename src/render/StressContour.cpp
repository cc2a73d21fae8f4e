#include "render/StressContour.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/FiniteArithmetic.h"
#include "model/ShellModel.h"
#include "render/ContourScale.h"
#include "render/ElementPlanes.h"
#include "render/PaintContext.h"
#include "render/PolygonFill.h"
#include "render/TriangleBands.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

// value(e, surface, corner) reads the component. The scan order (elements, then
// corners, then the first surface before the second) decides which of two equal
// extremes, such as 0 and -0, is kept.
template <typename ValueAt>
bool bandLimitsFrom(std::size_t count, const std::vector<std::uint8_t>& selected, ValueAt value,
                    BandLimits& limits) {
    limits = BandLimits{};
    std::size_t first = 0;
    while (first < count && !selected[first])
        ++first;
    if (first == count) return false;

    double minimum = value(first, 0, 0);
    double maximum = minimum;
    for (std::size_t e = first; e < count; ++e) {
        if (!selected[e]) continue;
        for (int j = 0; j < 4; ++j) {
            for (int surface = 0; surface < 2; ++surface) {
                const double v = value(e, surface, j);
                if (v > maximum) maximum = v;
                if (v < minimum) minimum = v;
            }
        }
    }

    constexpr int bands = ShellModel::colorCount;
    fillBandLimits(minimum, maximum, bands, limits.values.data());
    for (int k = 1; k <= bands; ++k)
        if (limits.values[k] < limits.values[k - 1]) limits.nonDecreasing = false;
    return true;
}

}  // namespace

bool computeBandLimits(const ShellModel& model, BandLimits& limits, int component) {
    if (!isStressComponent(component)) {
        limits = BandLimits{};
        return false;
    }
    return bandLimitsFrom(
        model.elementStresses.size(), model.elementSelected,
        [&](std::size_t e, int surface, int j) {
            return model.elementStresses[e].value(surface, j, component);
        },
        limits);
}

bool computeBandLimits(const std::vector<ElementValues>& values,
                       const std::vector<std::uint8_t>& selected, BandLimits& limits) {
    return bandLimitsFrom(
        values.size(), selected,
        [&](std::size_t e, int surface, int j) { return values[e].surfaces[surface][j]; }, limits);
}

int facingSurface(const ShellModel& model, const Point3D& viewAxis, std::int32_t element) {
    const std::int32_t* corners = model.elementCorners(element);
    ElementPlanes planes;
    planes.facingNormal =
        unitNormal(model.nodes[corners[0]], model.nodes[corners[1]], model.nodes[corners[2]]);
    return facingSurface(planes, viewAxis);
}

std::array<double, 4> facingCornerValues(const ShellModel& model, const Point3D& viewAxis,
                                         std::int32_t element, int component) {
    const int surface = facingSurface(model, viewAxis, element);
    const ElementStressBlock& block = model.elementStresses[element];
    return {block.value(surface, 0, component), block.value(surface, 1, component),
            block.value(surface, 2, component), block.value(surface, 3, component)};
}

void drawElementContour(PaintContext& context, std::int32_t element, const BandLimits& limits,
                        int component, double shading, ScreenReach reach) {
    if (!isStressComponent(component)) {
        ++context.internalErrors;
        return;
    }
    const auto values =
        facingCornerValues(context.model, context.camera.viewAxis(), element, component);
    drawElementContour(context, projectedCorners(context.model, element), values, limits, shading,
                       reach);
}

Point2D contourCentre(const ProjectedCorners& corners) { return centreOf(corners); }

unsigned contourTrianglesWithPixels(const ScreenMapper& screen, const ProjectedCorners& corners) {
    // The edge points of the cut are interpolated and may stray from the triangle's
    // box by a rounding error: the box is widened by far more than that.
    const auto widened = [](double p, double q, double r) {
        const double low = std::min({p, q, r});
        const double high = std::max({p, q, r});
        const double slack = (std::fabs(low) + std::fabs(high)) * 0x1p-40 + 0x1p-1000;
        return std::pair{low - slack, high + slack};
    };
    const Point2D centre = contourCentre(corners);
    unsigned triangles = 0;
    for (int j = 0; j < 4; ++j) {
        const Point2D a = corners[j];
        const Point2D b = corners[(j + 1) % 4];
        const auto [xLow, xHigh] = widened(centre.x, a.x, b.x);
        const auto [yLow, yHigh] = widened(centre.y, a.y, b.y);
        const Pixel low = screen.toPixel({xLow, yLow});
        const Pixel high = screen.toPixel({xHigh, yHigh});
        if (low.x != high.x && low.y != high.y) triangles |= 1u << j;
    }
    return triangles;
}

namespace {

// The band that holds all five values of an element (its centre and corners) the
// way wholeBandOf holds a triangle's, or -1.
int wholeBandOfElement(double centreValue, const std::array<double, 4>& f,
                       const BandLimits& limits) {
    const double low = std::min({centreValue, f[0], f[1], f[2], f[3]});
    const double high = std::max({centreValue, f[0], f[1], f[2], f[3]});
    return wholeBandOf({low, low, high}, limits);
}

// Whether the four triangles around the centre turn the same way, none folded over
// another. The filler decides a pixel by the parity of the edges it crosses, each
// edge the same way in every polygon; the spokes then cancel, and the quadrilateral
// covers exactly the pixels that the four triangles cover.
bool fanIsUnfolded(const std::array<Pixel, 5>& pixels) {
    bool positive = false;
    bool negative = false;
    for (int j = 0; j < 4; ++j) {
        const Pixel a = pixels[j + 1];
        const Pixel b = pixels[(j + 1) % 4 + 1];
        const std::int64_t cross =
            (std::int64_t{a.x} - pixels[0].x) * (std::int64_t{b.y} - pixels[0].y) -
            (std::int64_t{a.y} - pixels[0].y) * (std::int64_t{b.x} - pixels[0].x);
        positive = positive || cross > 0;
        negative = negative || cross < 0;
    }
    return !(positive && negative);
}

}  // namespace

void drawElementContour(PaintContext& context, const ProjectedCorners& corners,
                        const std::array<double, 4>& cornerValues, const BandLimits& limits,
                        double shading, ScreenReach reach, unsigned triangles) {
    const Point2D centre = contourCentre(corners);
    const auto& f = cornerValues;
    const double centreValue = meanOfFour(f[0], f[1], f[2], f[3]);
    // Inside the guard band, a triangle that lies within one band is filled whole
    // from pixels mapped once per element: the very polygon that the cut makes.
    const bool mapOnce = reach == ScreenReach::insideGuard;
    std::array<Pixel, 5> pixels{};  // the centre, then the corners
    if (mapOnce) {
        pixels[0] = context.screen.toPixelInGuard(centre);
        for (int j = 0; j < 4; ++j)
            pixels[j + 1] = context.screen.toPixelInGuard(corners[j]);
        // Most elements of a big model lie within one band: one polygon instead of
        // four. Triangles left out cover no pixel centre, so the rule holds for them.
        const int band = wholeBandOfElement(centreValue, f, limits);
        if (band >= 0 && fanIsUnfolded(pixels)) {
            const std::array<Pixel, 4> quadrilateral{pixels[1], pixels[2], pixels[3], pixels[4]};
            context.canvas.fillPolygon(quadrilateral,
                                       shadeColor(limits.colours[band], shading));
            return;
        }
        if (triangles == trianglesWithPixels)
            triangles = contourTrianglesWithPixels(context.screen, corners);
    }
    for (int j = 0; j < 4; ++j) {
        if ((triangles & (1u << j)) == 0) continue;
        const int next = (j + 1) % 4;
        std::array<double, 3> values{centreValue, f[j], f[next]};
        if (mapOnce) {
            std::array<Pixel, 3> triangle{pixels[0], pixels[j + 1], pixels[next + 1]};
            sortTriangleByValue(values, triangle);
            const int band = wholeBandOf(values, limits);
            if (band >= 0) {
                context.canvas.fillPolygon(triangle,
                                           shadeColor(limits.colours[band], shading));
                continue;
            }
            values = {centreValue, f[j], f[next]};
        }
        fillTriangleBands(context, {centre, corners[j], corners[next]}, values, limits, shading,
                          reach);
    }
}

void fillTriangleBands(PaintContext& context, const std::array<Point2D, 3>& corners,
                       const std::array<double, 3>& values, const BandLimits& limits,
                       double shading, ScreenReach reach) {
    const bool mayLeaveGuard = reach == ScreenReach::crossesGuard;
    ScreenPolygon& pixels = context.scratch;
    const int failures = cutTriangleIntoBands(
        corners, values, limits, [&](int band, std::span<const Point2D> polygon) {
            context.screen.mapPolygon(polygon, mayLeaveGuard, pixels);
            fillShadedPolygon(context.canvas, pixels, limits.colours[band], shading);
        });
    context.internalErrors += failures;
}

}  // namespace corvelt
