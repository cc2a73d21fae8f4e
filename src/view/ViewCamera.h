#pragma once

#include <cstdint>
#include <limits>
#include <numeric>

#include "model/Point.h"
#include "view/Matrix4.h"
#include "view/Pixel.h"

namespace corvelt {

// The view: a view matrix that carries world coordinates into view space (x right,
// y up, z toward the viewer) and a flat screen mapping from view space to client
// pixels: a view-space centre drawn at an origin pixel, with a scale in pixels per
// model unit.
struct ViewCamera {
    // Zooming out stops at this scale, the smallest normal double: below it the
    // factor 1.1 can no longer be undone, so zooming back in would not return.
    static constexpr double minimumScale = std::numeric_limits<double>::min();

    // Extent of the projected nodes measured by the last fit.
    double viewMinX = 0.0, viewMaxX = 0.0, viewMinY = 0.0, viewMaxY = 0.0;
    // The model's bounding box; its centre is the pivot of the screen rotations.
    double worldMinX = 0.0, worldMaxX = 0.0;
    double worldMinY = 0.0, worldMaxY = 0.0;
    double worldMinZ = 0.0, worldMaxZ = 0.0;

    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    double centerX = 0.0;
    double centerY = 0.0;
    double scale = 1.0;

    double alpha = 0.0;  // last azimuth given to buildViewMatrix, radians
    double beta = 0.0;   // last elevation
    Matrix4 viewMatrix = identityMatrix();

    // Overwrites the view matrix from an azimuth and an elevation (radians).
    void buildViewMatrix(double newAlpha, double newBeta);

    // Scale, origin and centre that fit the view extents into the screen with a 5 % margin.
    void fitToExtents();

    // The view-space rectangle under the two pixels fills the client area. A box
    // without width or without height is fitted by its other side; a box of one
    // point, and a box whose centre is not finite, change nothing; one whose scale
    // would not be finite or would fall below minimumScale only recentres.
    void zoomToRectangle(Pixel anchor, Pixel current);

    // Scale times or divided by 1.1, keeping the view point under the pixel in place.
    // A step that would make the centre or the scale non-finite, or zoom out below
    // minimumScale, changes nothing.
    void zoomAtPoint(Pixel cursor, bool zoomIn);

    void panBy(std::int32_t dx, std::int32_t dy);

    // pixel = origin + trunc((v - centre) * scale), y flipped. Far points saturate
    // instead of overflowing; a non-finite coordinate maps to the origin.
    Pixel viewToPixel(double x, double y) const;
    Pixel viewToPixel(Point2D v) const { return viewToPixel(v.x, v.y); }

    // The inverse mapping, without rounding. With a zero scale it gives the centre.
    Point2D pixelToView(Pixel p) const;

    // View-space depth of a world point (larger = nearer the viewer).
    double viewDepth(const Point3D& p) const {
        return p.x * viewMatrix[2] + p.y * viewMatrix[6] + p.z * viewMatrix[10] + viewMatrix[14];
    }

    // World direction of the viewer's depth axis (column 2, rows 0 to 2), not normalised.
    Point3D viewAxis() const { return {viewMatrix[2], viewMatrix[6], viewMatrix[10]}; }

    // Finite for every finite box (the plain half sum wherever it does not overflow).
    Point3D worldBoxCenter() const {
        return {std::midpoint(worldMinX, worldMaxX), std::midpoint(worldMinY, worldMaxY),
                std::midpoint(worldMinZ, worldMaxZ)};
    }
};

}  // namespace corvelt
