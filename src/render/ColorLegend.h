#pragma once

#include <array>
#include <string>

#include "model/Color.h"
#include "model/ShellModel.h"
#include "render/BandLimits.h"

namespace corvelt {

class Canvas;
struct ViewCamera;

// A band limit as printf's "%-10g" writes it in the C locale: six significant
// digits, exponent form (at least two exponent digits) below 1e-4 or from 1e6 on,
// trailing zeros dropped, left-aligned and padded with spaces to ten characters.
// It never depends on the process locale: a comma-decimal desktop still reads 0.5.
std::string formatLabel(double value);

// The colour scale: one 50 x 35 box per band stacked upward from the lowest band,
// centred on half the screen height, its right edge 150 pixels from the right; each
// limit written 5 pixels right of the boxes, straddling the edge it marks. On a
// canvas of pixelRatio device pixels per client pixel every size grows by it.
void drawLegend(Canvas& canvas, const ViewCamera& camera,
                const std::array<Rgb, ShellModel::colorCount>& colours, const BandLimits& limits,
                double pixelRatio = 1.0);

}  // namespace corvelt
