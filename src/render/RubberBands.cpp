#include "render/RubberBands.h"

#include <array>

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

}  // namespace corvelt
