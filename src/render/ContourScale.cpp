#include "render/ContourScale.h"

#include <cmath>
#include <limits>

#include "base/NumberFormat.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

constexpr int rampColours = ShellModel::colorCount;  // colour k at k / 8

// (a * (n - 1) + (b - a) * r) / (n - 1) rounded half up, in integers: exact.
std::uint8_t between(std::uint8_t a, std::uint8_t b, int r, int n1) {
    const int numerator = a * n1 + (b - a) * r;
    return static_cast<std::uint8_t>((2 * numerator + n1) / (2 * n1));
}

}  // namespace

Rgb bandColour(int band, int bandCount) {
    if (bandCount < 2) return fromColorRef(contourColorRefs[0]);
    const int n1 = bandCount - 1;
    const int scaled = band * (rampColours - 1);  // t * 8 = scaled / n1
    const int k = scaled / n1;
    const int r = scaled % n1;
    const Rgb low = fromColorRef(contourColorRefs[k]);
    if (r == 0) return low;
    const Rgb high = fromColorRef(contourColorRefs[k + 1]);
    return {between(low.red, high.red, r, n1), between(low.green, high.green, r, n1),
            between(low.blue, high.blue, r, n1)};
}

void fillBandLimits(double minimum, double maximum, int bandCount, double* limits) {
    double step = (maximum - minimum) / bandCount;
    // Extremes so far apart that their difference overflows: halve them first.
    if (!std::isfinite(step)) step = (maximum * 0.5 - minimum * 0.5) / bandCount * 2.0;
    limits[0] = minimum;
    for (int k = 1; k < bandCount; ++k)
        limits[k] = limits[k - 1] + step;
    limits[bandCount] = maximum;
}

std::optional<ValueRange> selectedRange(const std::vector<ElementValues>& values,
                                        const std::vector<std::uint8_t>& selected) {
    const std::size_t count = std::min(values.size(), selected.size());
    std::size_t first = 0;
    while (first < count && !selected[first])
        ++first;
    if (first == count) return std::nullopt;
    ValueRange range{values[first].surfaces[0][0], values[first].surfaces[0][0]};
    for (std::size_t e = first; e < count; ++e) {
        if (!selected[e]) continue;
        for (int j = 0; j < 4; ++j) {
            for (int surface = 0; surface < 2; ++surface) {
                const double v = values[e].surfaces[surface][j];
                if (v > range.maximum) range.maximum = v;
                if (v < range.minimum) range.minimum = v;
            }
        }
    }
    return range;
}

ContourScale contourScale(const std::optional<ValueRange>& range, const LegendOptions& options) {
    ContourScale scale;
    scale.haveValues = range.has_value();
    LegendScale& legend = scale.legend;
    legend.bandCount = options.bands;
    const int n = options.bands;
    for (int band = 0; band < n; ++band)
        legend.colours[band] = bandColour(band, n);
    if (options.fixedRange()) {
        fillBandLimits(options.fixedMin, options.fixedMax, n, legend.limits.data());
        legend.outOfRangeBoxes = true;
    } else if (range) {
        fillBandLimits(range->minimum, range->maximum, n, legend.limits.data());
    }

    BandLimits& cut = scale.cut;
    const int below = legend.outOfRangeBoxes ? 1 : 0;
    cut.bandCount = n + 2 * below;
    for (int k = 0; k <= n; ++k)
        cut.values[below + k] = legend.limits[k];
    for (int band = 0; band < n; ++band)
        cut.colours[below + band] = legend.colours[band];
    if (legend.outOfRangeBoxes) {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        // A value equal to a limit counts with the band below it: just below MIN, so
        // that MIN itself is the lowest band's.
        cut.values[0] = -infinity;
        cut.values[1] = std::nextafter(options.fixedMin, -infinity);
        cut.values[n + 2] = infinity;
        cut.colours[0] = belowRangeColour;
        cut.colours[n + 1] = aboveRangeColour;
    }
    for (int k = 1; k <= cut.bandCount; ++k)
        if (cut.values[k] < cut.values[k - 1]) cut.nonDecreasing = false;
    return scale;
}

std::string formatLegendNumber(double value, const LegendOptions& options) {
    switch (options.format) {
        case LegendNumberFormat::fixed:
            return formatFixed(value, options.digits);
        case LegendNumberFormat::scientific:
            return formatScientific(value, options.digits);
        case LegendNumberFormat::general:
            break;
    }
    std::string text = formatGeneral(value, 6);
    if (text.size() < 10) text.resize(10, ' ');
    return text;
}

}  // namespace corvelt
