#include "view/ViewCamera.h"

#include <cmath>
#include <limits>
#include <numeric>

#include "view/PixelMapping.h"

namespace corvelt {

namespace {

bool usableScale(double s) {
    return std::isfinite(s) && s > 0.0;
}

// Pixels per model unit that fit `pixels` onto the extent from low to high; the
// extent of two far-apart values is halved first where it would overflow.
double pixelsPerUnit(std::int32_t pixels, double low, double high) {
    const double extent = std::fabs(high - low);
    if (std::isfinite(extent)) [[likely]]
        return pixels / extent;
    return pixels * 0.5 / std::fabs(high * 0.5 - low * 0.5);
}

}  // namespace

void ViewCamera::buildViewMatrix(double newAlpha, double newBeta) {
    const double sa = std::sin(newAlpha), ca = std::cos(newAlpha);
    const double sb = std::sin(newBeta), cb = std::cos(newBeta);
    viewMatrix = {-sa, -sb * ca, ca * cb, 0,  //
                  ca,  -sb * sa, sa * cb, 0,  //
                  0,   cb,       sb,      0,  //
                  0,   0,        -1,      1};
}

void ViewCamera::fitToExtents() {
    const double sx = pixelsPerUnit(screenWidth, viewMinX, viewMaxX);
    const double sy = pixelsPerUnit(screenHeight, viewMinY, viewMaxY);
    // The smaller ratio wins; a zero ratio (zero-sized client area) gives way to the other.
    double chosen;
    if (sy <= sx)
        chosen = sy == 0.0 ? sx : sy;
    else
        chosen = sx == 0.0 ? sy : sx;
    // Nodes that all project onto one point give no finite ratio: keep the scale we
    // have. A zero-sized client area gives 0, which maps nothing until the next fit.
    if (std::isfinite(chosen))
        scale = chosen * 0.95;
    else if (!usableScale(scale))
        scale = 1.0;
    originX = screenWidth / 2;
    originY = screenHeight / 2;
    // The midpoint of two finite values is finite; it is (max + min) * 0.5 wherever
    // that sum does not overflow.
    centerX = std::midpoint(viewMinX, viewMaxX);
    centerY = std::midpoint(viewMinY, viewMaxY);
}

void ViewCamera::zoomToRectangle(Pixel anchor, Pixel current) {
    const Point2D a = pixelToView(anchor);
    const Point2D b = pixelToView(current);
    // A box of a single point has no size to fit: nothing changes.
    if (a.x == b.x && a.y == b.y) return;
    const double newCenterX = std::midpoint(a.x, b.x);
    const double newCenterY = std::midpoint(a.y, b.y);
    if (!std::isfinite(newCenterX) || !std::isfinite(newCenterY)) return;
    centerX = newCenterX;
    centerY = newCenterY;
    // A box without width (or height) makes that side's ratio infinite, so the
    // other side's finite one decides.
    const double sx = screenWidth / std::fabs(a.x - b.x);
    const double sy = screenHeight / std::fabs(a.y - b.y);
    const double chosen = sy > sx ? sx : sy;
    if (std::isfinite(chosen) && chosen >= minimumScale) scale = chosen;
    originX = screenWidth / 2;
    originY = screenHeight / 2;
}

void ViewCamera::zoomAtPoint(Pixel cursor, bool zoomIn) {
    if (!usableScale(scale)) return;
    const double zoomed = zoomIn ? scale * 1.1 : scale / 1.1;
    const bool zoomedUsable = zoomIn ? std::isfinite(zoomed) : zoomed >= minimumScale;
    const double dx = static_cast<double>(std::int64_t{cursor.x} - originX);
    const double dy = static_cast<double>(std::int64_t{originY} - cursor.y);
    const double newCenterX = centerX + dx / scale;
    const double newCenterY = centerY + dy / scale;
    // The limits of the zoom: a step that would leave the camera without a finite
    // centre or scale, or zoom out below the smallest scale, is not taken.
    if (!zoomedUsable || !std::isfinite(newCenterX) || !std::isfinite(newCenterY)) return;
    centerX = newCenterX;
    centerY = newCenterY;
    originX = cursor.x;
    originY = cursor.y;
    scale = zoomed;
}

void ViewCamera::panBy(std::int32_t dx, std::int32_t dy) {
    originX = saturatingAdd(originX, dx);
    originY = saturatingAdd(originY, dy);
}

Pixel ViewCamera::viewToPixel(double x, double y) const {
    return {mapToPixel(originX, centerX, x, scale), mapToPixel(originY, y, centerY, scale)};
}

Point2D ViewCamera::pixelToView(Pixel p) const {
    if (scale == 0.0) return {centerX, centerY};
    const double dx = static_cast<double>(static_cast<std::int64_t>(p.x) - originX);
    const double dy = static_cast<double>(static_cast<std::int64_t>(originY) - p.y);
    return {dx / scale + centerX, dy / scale + centerY};
}

}  // namespace corvelt
