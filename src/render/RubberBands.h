#pragma once

#include "view/Pixel.h"

namespace corvelt {

class Canvas;

// The rectangle overlays of a gesture under way, drawn over the finished frame.

// White and solid, whatever the background.
void drawZoomBox(Canvas& canvas, Pixel anchor, Pixel current);

// Magenta; dashed when dragged leftward (a crossing pick), solid otherwise.
void drawPickRectangle(Canvas& canvas, Pixel anchor, Pixel current);

}  // namespace corvelt
