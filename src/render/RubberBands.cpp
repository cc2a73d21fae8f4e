#include "render/RubberBands.h"

#include <array>

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

}  // namespace corvelt
