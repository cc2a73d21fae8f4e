#include "view/ViewCamera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvelt {

namespace {

// Offsets are kept well inside int32 so that origin + offset cannot overflow either.
constexpr double maxPixelOffset = 1 << 30;

std::int32_t truncatedOffset(double offset) {
    if (std::isnan(offset)) return 0;
    return static_cast<std::int32_t>(
        std::clamp(std::trunc(offset), -maxPixelOffset, maxPixelOffset));
}

std::int32_t saturatingAdd(std::int32_t base, std::int32_t offset) {
    const std::int64_t sum = static_cast<std::int64_t>(base) + offset;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool usableScale(double s) {
    return std::isfinite(s) && s > 0.0;
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
    const double sx = screenWidth / std::fabs(viewMaxX - viewMinX);
    const double sy = screenHeight / std::fabs(viewMaxY - viewMinY);
    // The smaller ratio wins; a zero ratio (zero-sized client area) gives way to the other.
    double chosen;
    if (sy <= sx)
        chosen = sy == 0.0 ? sx : sy;
    else
        chosen = sx == 0.0 ? sy : sx;
    // Nodes that all project onto one point give no finite ratio: keep the scale we have.
    if (std::isfinite(chosen))
        scale = chosen * 0.95;
    else if (!usableScale(scale))
        scale = 1.0;
    originX = screenWidth / 2;
    originY = screenHeight / 2;
    centerX = (viewMaxX + viewMinX) * 0.5;
    centerY = (viewMaxY + viewMinY) * 0.5;
}

void ViewCamera::zoomToRectangle(Pixel anchor, Pixel current) {
    const Point2D a = pixelToView(anchor);
    const Point2D b = pixelToView(current);
    centerX = (a.x + b.x) * 0.5;
    centerY = (a.y + b.y) * 0.5;
    // A box without width or height has no scale of its own: it only recentres.
    if (a.x != b.x && a.y != b.y) {
        const double sx = screenWidth / std::fabs(a.x - b.x);
        const double sy = screenHeight / std::fabs(a.y - b.y);
        const double chosen = sy > sx ? sx : sy;
        if (usableScale(chosen)) scale = chosen;
    }
    originX = screenWidth / 2;
    originY = screenHeight / 2;
}

void ViewCamera::zoomAtPoint(Pixel cursor, bool zoomIn) {
    if (!usableScale(scale)) return;
    centerX += (cursor.x - originX) / scale;
    centerY += (originY - cursor.y) / scale;
    originX = cursor.x;
    originY = cursor.y;
    const double zoomed = zoomIn ? scale * 1.1 : scale / 1.1;
    if (usableScale(zoomed)) scale = zoomed;
}

void ViewCamera::panBy(std::int32_t dx, std::int32_t dy) {
    originX = saturatingAdd(originX, dx);
    originY = saturatingAdd(originY, dy);
}

Pixel ViewCamera::viewToPixel(double x, double y) const {
    return {saturatingAdd(originX, truncatedOffset((x - centerX) * scale)),
            saturatingAdd(originY, -truncatedOffset((y - centerY) * scale))};
}

Point2D ViewCamera::pixelToView(Pixel p) const {
    if (scale == 0.0) return {centerX, centerY};
    const double dx = static_cast<double>(static_cast<std::int64_t>(p.x) - originX);
    const double dy = static_cast<double>(static_cast<std::int64_t>(originY) - p.y);
    return {dx / scale + centerX, dy / scale + centerY};
}

}  // namespace corvelt
