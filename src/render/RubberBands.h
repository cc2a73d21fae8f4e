#pragma once

#include "render/RowRange.h"
#include "view/Pixel.h"

namespace corvelt {

class Canvas;

// The rectangle overlays of a gesture under way, drawn over the finished frame.

// The corners are client pixels; a canvas of pixelRatio device pixels per client
// pixel gets them, and the pen, scaled by it.

// White and solid, whatever the background.
void drawZoomBox(Canvas& canvas, Pixel anchor, Pixel current, double pixelRatio = 1.0);

// Magenta; dashed when dragged leftward (a crossing pick), solid otherwise.
void drawPickRectangle(Canvas& canvas, Pixel anchor, Pixel current, double pixelRatio = 1.0);

// One of the two, as a frame shows it.
struct RectangleOverlay {
    bool zoomBox = false;  // else the pick rectangle
    Pixel anchor;
    Pixel current;
    friend bool operator==(const RectangleOverlay&, const RectangleOverlay&) = default;
};
void drawRectangleOverlay(Canvas& canvas, const RectangleOverlay& overlay,
                          double pixelRatio = 1.0);

// The rows that drawing the overlay can touch (a little more).
RowRange rowsOf(const RectangleOverlay& overlay);

}  // namespace corvelt
