#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/Point.h"
#include "render/BandLimits.h"
#include "render/ContourValues.h"
#include "render/ProjectedCorners.h"
#include "render/ScreenMapper.h"

namespace corvelt {

struct ShellModel;
struct PaintContext;

// The banded stress contour: the range of one component over the selected elements
// is cut into equal bands, and every element is split along the band limits into
// flat polygons of the band colours, darkened by the element's shading.

// Smallest and largest value of the component over both surfaces of the selected
// elements; the inner limits are a running sum of the step and the top limit is the
// maximum itself. False, with all limits zero, when no element is selected or the
// component is not a stress component.
bool computeBandLimits(const ShellModel& model, BandLimits& limits, int component);

// The same from the component's values as the cache holds them.
bool computeBandLimits(const std::vector<ElementValues>& values,
                       const std::vector<std::uint8_t>& selected, BandLimits& limits);

// The surface block facing the viewer: the normal of corners 0, 1, 2 against the
// view axis; edge-on and degenerate elements show the second surface.
int facingSurface(const ShellModel& model, const Point3D& viewAxis, std::int32_t element);

// The component's values at the four corners of the surface facing the viewer.
std::array<double, 4> facingCornerValues(const ShellModel& model, const Point3D& viewAxis,
                                         std::int32_t element, int component);

// Paints the contour of one element: four triangles around its centre, each cut into
// bands. `reach` says whether its polygons may leave the guard band.
void drawElementContour(PaintContext& context, std::int32_t element, const BandLimits& limits,
                        int component, double shading, ScreenReach reach);

// For `triangles` of drawElementContour: an element inside the guard band whose
// triangles with pixels (contourTrianglesWithPixels) are found only if it is cut.
constexpr unsigned trianglesWithPixels = 0x10;

// The same with the corners' positions and their values on the facing surface at hand,
// for the triangles whose bit is set in `triangles` (bit j: the triangle of corners j
// and j + 1), or trianglesWithPixels.
void drawElementContour(PaintContext& context, const ProjectedCorners& corners,
                        const std::array<double, 4>& cornerValues, const BandLimits& limits,
                        double shading, ScreenReach reach, unsigned triangles = 0xF);

// The element's centre in view space: the average of its projected corners, the
// common corner of its four contour triangles.
Point2D contourCentre(const ProjectedCorners& corners);

// The contour triangles of an element inside the guard band that may fill a pixel
// (bit j: the triangle of the centre and corners j and j + 1). A triangle whose
// bounding box lies within one pixel column or one pixel row cuts into polygons that
// cover no pixel centre, and is left out.
unsigned contourTrianglesWithPixels(const ScreenMapper& screen, const ProjectedCorners& corners);

// Cuts one view-space triangle into band polygons and fills each at once.
void fillTriangleBands(PaintContext& context, const std::array<Point2D, 3>& corners,
                       const std::array<double, 3>& values, const BandLimits& limits,
                       double shading, ScreenReach reach);

}  // namespace corvelt
