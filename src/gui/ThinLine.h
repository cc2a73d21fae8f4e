#pragma once

#include <cstdint>

#include "render/SpanFiller.h"
#include "view/Pixel.h"

namespace corvelt {

// Draws a solid one-pixel line from `from` up to, but not including, `to`
// straight into a pixel buffer, clipped to it; a line of zero length draws
// nothing. The line steps one pixel along its major axis (x when |dx| >= |dy|)
// and lights, at each step, the pixel whose centre is nearest the ideal line;
// an exact tie goes to the smaller coordinate. The lit pixels depend only on the
// two end points, not on the direction, so an edge drawn by both of its
// elements lights the same pixels twice. Exact for all 32-bit end points; a long
// line costs at most one step per column or row of the buffer.
void drawThinLine(const PixelBuffer& buffer, Pixel from, Pixel to, std::uint32_t pixel);

// The same pixels, but only those in rows firstRow .. endRow - 1.
void drawThinLine(const PixelBuffer& buffer, Pixel from, Pixel to, std::uint32_t pixel,
                  int firstRow, int endRow);

}  // namespace corvelt
