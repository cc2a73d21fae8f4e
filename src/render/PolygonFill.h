#pragma once

#include "model/Color.h"
#include "render/Canvas.h"
#include "render/ScreenPolygon.h"

namespace corvelt {

// Every filled area of the picture goes through these two: an odd-even fill without
// an outline, so that neighbouring polygons touch without a drawn edge. Fewer than
// three corners fill nothing.

inline void fillPolygon(Canvas& canvas, const ScreenPolygon& polygon, Rgb colour) {
    if (polygon.size() < 3) return;
    canvas.fillPolygon(polygon.points(), colour);
}

// The colour is darkened per channel by the shading factor before filling.
inline void fillShadedPolygon(Canvas& canvas, const ScreenPolygon& polygon, Rgb colour,
                              double shading) {
    fillPolygon(canvas, polygon, shadeColor(colour, shading));
}

}  // namespace corvelt
