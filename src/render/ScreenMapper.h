#pragma once

#include <cstdint>
#include <span>

#include "model/Point.h"
#include "render/ScreenPolygon.h"
#include "view/Pixel.h"
#include "view/PixelMapping.h"
#include "view/ViewRect.h"

namespace corvelt {

struct ViewCamera;

// Where a piece of geometry lies relative to the client area and its guard band.
enum class ScreenReach : std::uint8_t {
    hidden,        // wholly outside the client area: nothing of it can be seen
    insideGuard,   // within the guard band: its corners become pixels directly
    crossesGuard,  // reaches beyond the guard band: clip before making pixels
};

// Turns view-space geometry into client pixels for one frame. Points inside the
// guard band (the client area widened by guardPixels on every side) map exactly as
// the camera's truncating viewToPixel does. Polygons that leave the band are clipped
// to it first in view space, so deep zoom neither overflows int32 nor bends visible
// edges (a far corner that saturated would tilt the edge toward it). A view so wide
// that its guard band reaches near the ends of the double range has no usable band:
// everything then maps through the saturating conversion, unclipped.
class ScreenMapper {
  public:
    static constexpr double guardPixels = 256.0;
    // How far a drawing reaches beyond its corners: the largest marker radius (6)
    // plus the widest pen (2).
    static constexpr double drawingMargin = 8.0;

    // drawingReach: drawingMargin in the canvas's pixels, larger on a canvas of more
    // pixels per client pixel.
    ScreenMapper(const ViewCamera& camera, std::int32_t clientWidth, std::int32_t clientHeight,
                 double drawingReach = drawingMargin);

    // False for a zero or non-finite scale (e.g. a minimised window): nothing maps.
    bool usable() const { return usable_; }

    // The camera's viewToPixel: far points saturate, NaN maps to the origin.
    Pixel toPixel(Point2D v) const {
        return {mapToPixel(originX_, centerX_, v.x, scale_),
                mapToPixel(originY_, v.y, centerY_, scale_)};
    }

    // The same for a point of geometry that reach() found insideGuard: such a point
    // lands near the client area, so the hot paths skip the saturation.
    Pixel toPixelInGuard(Point2D v) const {
        return {static_cast<std::int32_t>(originX_ +
                                          static_cast<std::int64_t>((v.x - centerX_) * scale_)),
                static_cast<std::int32_t>(originY_ -
                                          static_cast<std::int64_t>((v.y - centerY_) * scale_))};
    }

    // The view-space rectangle whose points land on the client area, widened by a
    // margin in pixels (to cover pen widths and marker radii).
    ViewRect visibleArea(double marginPixels) const;
    const ViewRect& guardBand() const { return guard_; }

    // Classifies a bounding box against the client area widened by drawingMargin.
    ScreenReach reach(const ViewRect& box) const;

    // Whether a drawing at this point, reaching drawingMargin around it, can be seen.
    bool mayShow(Point2D p) const { return usable_ && visible_.contains(p); }

    // Converts a polygon of at most eight corners, clipping it to the guard band
    // when it may leave it (it must not, unless reach() found it insideGuard). A
    // polygon wholly outside the band comes out empty.
    void mapPolygon(std::span<const Point2D> corners, bool mayLeaveGuard,
                    ScreenPolygon& out) const {
        if (mayLeaveGuard) {
            clipAndMap(corners, out);
            return;
        }
        out.assignMapped(corners, [this](Point2D p) { return toPixelInGuard(p); });
    }

  private:
    void clipAndMap(std::span<const Point2D> corners, ScreenPolygon& out) const;

    bool usable_ = false;
    bool guardBounded_ = false;  // points inside the guard band cannot overflow a pixel
    std::int32_t originX_ = 0;
    std::int32_t originY_ = 0;
    double centerX_ = 0.0;
    double centerY_ = 0.0;
    double scale_ = 1.0;
    std::int32_t clientWidth_ = 0;
    std::int32_t clientHeight_ = 0;
    ViewRect visible_;
    ViewRect guard_;
};

}  // namespace corvelt
