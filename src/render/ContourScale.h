#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Color.h"
#include "render/BandLimits.h"
#include "render/ContourValues.h"
#include "render/LegendOptions.h"

namespace corvelt {

// Values below and above a fixed range are painted in these, shaded like a band.
inline constexpr Rgb belowRangeColour{64, 64, 64};
inline constexpr Rgb aboveRangeColour{192, 192, 192};

// The colour of band `band` of `bandCount`: the point band / (bandCount - 1) of the
// piecewise-linear ramp through the nine classic colours (colour k at k / 8), each
// channel rounded to the nearest integer, halves up. Nine bands give the classic
// colours themselves.
Rgb bandColour(int band, int bandCount);

// bandCount + 1 limits from minimum to maximum: the inner ones a running sum of the
// step (maximum - minimum) / bandCount, the top one the maximum itself.
void fillBandLimits(double minimum, double maximum, int bandCount, double* limits);

// The smallest and largest value over both surfaces of the selected elements,
// scanned element by element, corner by corner, the first surface before the
// second; none when nothing is selected.
struct ValueRange {
    double minimum = 0.0;
    double maximum = 0.0;
};
std::optional<ValueRange> selectedRange(const std::vector<ElementValues>& values,
                                        const std::vector<std::uint8_t>& selected);

// What the legend draws: its bands' limits and colours, and with a fixed range a
// small box below and one above for the values outside it.
struct LegendScale {
    int bandCount = LegendOptions::defaultBands;
    std::array<double, LegendOptions::maxBands + 1> limits{};
    std::array<Rgb, LegendOptions::maxBands> colours{};
    bool outOfRangeBoxes = false;
};

struct ContourScale {
    LegendScale legend;
    BandLimits cut;  // what the contour is cut into
    // Whether any element is selected, so that there is something to paint.
    bool haveValues = false;
};

// The legend and the cut for the options. An automatic range with nothing selected
// has all limits zero. With a fixed range the cut has a band from minus infinity to
// just below MIN and one from MAX to infinity: a value at MIN lies in the lowest
// band and a value at MAX in the highest, anything beyond them is grey.
ContourScale contourScale(const std::optional<ValueRange>& range, const LegendOptions& options);

// A legend label as the options want it: "%-10g", or "%.Df" or "%.De", always with
// a full stop.
std::string formatLegendNumber(double value, const LegendOptions& options);

}  // namespace corvelt
