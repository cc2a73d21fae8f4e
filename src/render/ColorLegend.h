#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/Color.h"
#include "model/ShellModel.h"
#include "render/BandLimits.h"
#include "render/ContourScale.h"
#include "render/LegendOptions.h"

namespace corvelt {

class Canvas;
struct ViewCamera;

// A band limit as printf's "%-10g" writes it in the C locale: six significant
// digits, exponent form (at least two exponent digits) below 1e-4 or from 1e6 on,
// trailing zeros dropped, left-aligned and padded with spaces to ten characters.
// It never depends on the process locale: a comma-decimal desktop still reads 0.5.
std::string formatLabel(double value);

// What the legend says beside its numbers.
struct LegendLook {
    LegendOptions options;
    std::string_view quantityTitle = "Se";
    std::string_view faceTitle = "Facing Surface";
    Rgb background{0, 0, 0};
};

// The title's lines: "Se, Facing Surface", then the units when there are any.
std::array<std::string, 2> legendTitleLines(const LegendLook& look);

// The colour scale: one 50 x 35 box per band stacked upward from the lowest band,
// centred on half the screen height, its right edge 150 pixels from the right; each
// limit written 5 pixels right of the boxes, straddling the edge it marks. A column
// of other than nine bands that would not fit the height less 80 pixels gets lower
// boxes and smaller labels. A fixed range adds a small box below and one above for
// the values outside it ("<", ">"); the title and the backing panel come with their
// options. On a canvas of pixelRatio device pixels per client pixel every size grows
// by it.
void drawLegend(Canvas& canvas, const ViewCamera& camera, const LegendScale& scale,
                const LegendLook& look, double pixelRatio = 1.0);

// The classic nine-band legend of the given limits.
void drawLegend(Canvas& canvas, const ViewCamera& camera,
                const std::array<Rgb, ShellModel::colorCount>& colours, const BandLimits& limits,
                double pixelRatio = 1.0);

}  // namespace corvelt
