#include "render/PeakMarkers.h"

#include <algorithm>
#include <string>

#include "base/NumberFormat.h"
#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "render/PaintContext.h"
#include "render/PixelRatio.h"

namespace corvelt {

namespace {

constexpr int ringRadius = 7;
constexpr int labelHeight = 18;

// A dark ring under a light one, and the label likewise with a dark shadow: one of
// the two stands out from whatever band or background lies beneath.
void drawMarker(PaintContext& context, const PeakCorner& peak, bool highest) {
    const double ratio = context.pixelRatio;
    const ShellModel& model = context.model;
    const std::int32_t node = model.elementCorners(peak.element)[peak.corner];
    const Point2D& position = model.projectedNodes[node];
    if (!context.screen.mayShow(position)) return;
    const Pixel centre = context.screen.toPixel(position);

    const Rgb dark{0, 0, 0};
    const Rgb light{255, 255, 255};
    const int radius = devicePixels(ringRadius, ratio);
    context.canvas.drawCircle(centre, radius, Pen{dark, devicePixels(3, ratio), PenStyle::solid});
    context.canvas.drawCircle(centre, radius, Pen{light, devicePixels(1, ratio), PenStyle::solid});

    const std::string label = (highest ? "Max " : "Min ") + formatGeneral(peak.value);
    const Font font{devicePixels(labelHeight, ratio), 0, "Times New Roman"};
    // The maximum's label above the centre's row, the minimum's below it: both end
    // values often sit at one node, on its two surfaces. A label that would leave the
    // window at its top or bottom edge stays inside instead.
    const int shadow = std::max(1, devicePixels(1, ratio));
    const int preferredTop = highest ? centre.y - font.height : centre.y + 1;
    const int lowestTop = std::max(0, context.canvas.height() - font.height - shadow);
    const Pixel at{centre.x + radius + devicePixels(3, ratio),
                   std::clamp(preferredTop, 0, lowestTop)};
    context.canvas.drawText({at.x + shadow, at.y + shadow}, label, font, dark);
    context.canvas.drawText(at, label, font, light);
}

}  // namespace

std::optional<Peaks> findPeaks(const std::vector<ElementValues>& values,
                               const std::vector<std::uint8_t>& selected) {
    std::optional<Peaks> peaks;
    for (std::size_t e = 0; e < values.size() && e < selected.size(); ++e) {
        if (!selected[e]) continue;
        for (int j = 0; j < 4; ++j) {
            for (int surface = 0; surface < 2; ++surface) {
                const double v = values[e].surfaces[surface][j];
                const PeakCorner here{static_cast<std::int32_t>(e), j, surface, v};
                if (!peaks) {
                    peaks = Peaks{here, here};
                    continue;
                }
                if (v > peaks->highest.value) peaks->highest = here;
                if (v < peaks->lowest.value) peaks->lowest = here;
            }
        }
    }
    return peaks;
}

void drawPeakMarkers(PaintContext& context, const Peaks& peaks) {
    if (!context.screen.usable()) return;
    drawMarker(context, peaks.lowest, false);
    drawMarker(context, peaks.highest, true);
}

}  // namespace corvelt
