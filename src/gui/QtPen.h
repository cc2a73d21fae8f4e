#pragma once

#include <QPen>

#include "render/Canvas.h"

namespace corvelt {

// The Qt pen that draws like a canvas pen: one-pixel pens end a line before its
// last pixel (as LineTo does), wider ones have round caps and joins, and dashes
// are 18 pixels on and 6 off at every width.
QPen toQPen(const Pen& pen);

}  // namespace corvelt
