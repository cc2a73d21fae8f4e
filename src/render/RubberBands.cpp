#include "render/RubberBands.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "render/Canvas.h"
#include "render/PixelRatio.h"

namespace corvelt {

namespace {

void drawRectangleOutline(Canvas& canvas, Pixel anchor, Pixel current, Pen pen, double ratio) {
    const auto device = [ratio](Pixel p) {
        return Pixel{devicePixels(p.x, ratio), devicePixels(p.y, ratio)};
    };
    const std::array<Pixel, 4> path{device(anchor), device(Pixel{current.x, anchor.y}),
                                    device(current), device(Pixel{anchor.x, current.y})};
    pen.width = devicePixels(pen.width, ratio);
    canvas.drawPath(path, true, pen);
}

}  // namespace

void drawZoomBox(Canvas& canvas, Pixel anchor, Pixel current, double pixelRatio) {
    drawRectangleOutline(canvas, anchor, current, Pen{fromColorRef(0xFFFFFF), 1, PenStyle::solid},
                         pixelRatio);
}

void drawPickRectangle(Canvas& canvas, Pixel anchor, Pixel current, double pixelRatio) {
    const PenStyle style = current.x < anchor.x ? PenStyle::dashed : PenStyle::solid;
    drawRectangleOutline(canvas, anchor, current, Pen{fromColorRef(0xFF00FF), 1, style},
                         pixelRatio);
}

void drawRectangleOverlay(Canvas& canvas, const RectangleOverlay& overlay, double pixelRatio) {
    if (overlay.zoomBox)
        drawZoomBox(canvas, overlay.anchor, overlay.current, pixelRatio);
    else
        drawPickRectangle(canvas, overlay.anchor, overlay.current, pixelRatio);
}

RowRange rowsOf(const RectangleOverlay& overlay) {
    // One-pixel lines on its rows; a row more each way for the pen's round ends.
    const std::int64_t top = std::min(overlay.anchor.y, overlay.current.y);
    const std::int64_t bottom = std::max(overlay.anchor.y, overlay.current.y);
    const auto row = [](std::int64_t y) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX));
    };
    return {row(top - 1), row(bottom + 2)};
}

}  // namespace corvelt
