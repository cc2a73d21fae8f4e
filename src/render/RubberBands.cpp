#include "render/RubberBands.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "render/Canvas.h"

namespace corvelt {

namespace {

void drawRectangleOutline(Canvas& canvas, Pixel anchor, Pixel current, const Pen& pen) {
    const std::array<Pixel, 4> path{anchor, Pixel{current.x, anchor.y}, current,
                                    Pixel{anchor.x, current.y}};
    canvas.drawPath(path, true, pen);
}

}  // namespace

void drawZoomBox(Canvas& canvas, Pixel anchor, Pixel current) {
    drawRectangleOutline(canvas, anchor, current, Pen{fromColorRef(0xFFFFFF), 1, PenStyle::solid});
}

void drawPickRectangle(Canvas& canvas, Pixel anchor, Pixel current) {
    const PenStyle style = current.x < anchor.x ? PenStyle::dashed : PenStyle::solid;
    drawRectangleOutline(canvas, anchor, current, Pen{fromColorRef(0xFF00FF), 1, style});
}

void drawRectangleOverlay(Canvas& canvas, const RectangleOverlay& overlay) {
    if (overlay.zoomBox)
        drawZoomBox(canvas, overlay.anchor, overlay.current);
    else
        drawPickRectangle(canvas, overlay.anchor, overlay.current);
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
