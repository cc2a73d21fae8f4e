#pragma once

#include "render/RowRange.h"
#include "view/Pixel.h"

namespace corvelt {

class Canvas;

// The rectangle overlays of a gesture under way, drawn over the finished frame.

// White and solid, whatever the background.
void drawZoomBox(Canvas& canvas, Pixel anchor, Pixel current);

// Magenta; dashed when dragged leftward (a crossing pick), solid otherwise.
void drawPickRectangle(Canvas& canvas, Pixel anchor, Pixel current);

// One of the two, as a frame shows it.
struct RectangleOverlay {
    bool zoomBox = false;  // else the pick rectangle
    Pixel anchor;
    Pixel current;
    friend bool operator==(const RectangleOverlay&, const RectangleOverlay&) = default;
};
void drawRectangleOverlay(Canvas& canvas, const RectangleOverlay& overlay);

// The rows that drawing the overlay can touch (a little more).
RowRange rowsOf(const RectangleOverlay& overlay);

}  // namespace corvelt
