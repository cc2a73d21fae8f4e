#pragma once

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

}  // namespace corvelt
