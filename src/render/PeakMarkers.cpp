#include "render/PeakMarkers.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "base/NumberFormat.h"
#include "model/ShellModel.h"
#include "render/Canvas.h"
#include "render/PaintContext.h"
#include "render/PixelRatio.h"

namespace corvelt {

namespace {

constexpr int markerSize = 8;
constexpr int labelHeight = 18;

// Where the value lies: on the facing face the surface it was found on, else the face.
std::string whereOf(const PeakCorner& peak, ShellFace face) {
    switch (face) {
        case ShellFace::facing:
            return peak.surface == 0 ? "surface 1" : "surface 2";
        case ShellFace::surface1:
            return "surface 1";
        case ShellFace::surface2:
            return "surface 2";
        default:
            return std::string(shellFaceNames[faceIndex(face)]);
    }
}

// A marker drawn at a peak's node, and where its label goes.
struct PlacedMarker {
    Pixel centre;
    std::string label;
    Pixel labelAt;
    int labelWidth = 0;
};

std::optional<PlacedMarker> placeMarker(PaintContext& context, const PeakCorner& peak, bool highest,
                                        const Font& font) {
    const double ratio = context.pixelRatio;
    const ShellModel& model = context.model;
    const std::int32_t node = model.elementCorners(peak.element)[peak.corner];
    const Point2D& position = model.projectedNodes[node];
    if (!context.screen.mayShow(position)) return std::nullopt;
    PlacedMarker marker;
    marker.centre = context.screen.toPixel(position);
    marker.label = (highest ? "Max " : "Min ") + formatGeneral(peak.value) + " (" +
                   whereOf(peak, model.contourFace) + ")";
    marker.labelWidth = context.canvas.textWidth(marker.label, font);
    // The maximum's label above the centre's row, the minimum's below it: both end
    // values often sit at one node, on its two surfaces.
    const int preferredTop = highest ? marker.centre.y - font.height : marker.centre.y + 1;
    marker.labelAt = {marker.centre.x + devicePixels(markerSize + 3, ratio), preferredTop};
    return marker;
}

bool overlap(const PlacedMarker& a, const PlacedMarker& b, int height) {
    return a.labelAt.x < b.labelAt.x + b.labelWidth && b.labelAt.x < a.labelAt.x + a.labelWidth &&
           a.labelAt.y < b.labelAt.y + height && b.labelAt.y < a.labelAt.y + height;
}

// A triangle pointing up at the maximum and down at the minimum, light inside a dark
// rim: unlike the round node markers, and visible over any band or background.
void drawTriangle(PaintContext& context, Pixel centre, bool highest) {
    const double ratio = context.pixelRatio;
    const int size = devicePixels(markerSize, ratio);
    const int tip = highest ? -size : size;
    const std::array<Pixel, 3> corners{Pixel{centre.x, centre.y + tip},
                                       Pixel{centre.x - size, centre.y - tip / 2},
                                       Pixel{centre.x + size, centre.y - tip / 2}};
    context.canvas.drawPath(corners, true,
                            Pen{Rgb{0, 0, 0}, devicePixels(3, ratio), PenStyle::solid});
    context.canvas.fillPolygon(corners, Rgb{255, 255, 255});
}

void drawLabel(PaintContext& context, const PlacedMarker& marker, const Font& font) {
    const Rgb dark{0, 0, 0};
    const Rgb light{255, 255, 255};
    const int shadow = std::max(1, devicePixels(1, context.pixelRatio));
    // A label that would leave the window at its top or bottom edge stays inside.
    const int lowestTop = std::max(0, context.canvas.height() - font.height - shadow);
    const Pixel at{marker.labelAt.x, std::clamp(marker.labelAt.y, 0, lowestTop)};
    context.canvas.drawText({at.x + shadow, at.y + shadow}, marker.label, font, dark);
    context.canvas.drawText(at, marker.label, font, light);
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
    const Font font{devicePixels(labelHeight, context.pixelRatio), 0, "Times New Roman"};
    std::optional<PlacedMarker> lowest = placeMarker(context, peaks.lowest, false, font);
    std::optional<PlacedMarker> highest = placeMarker(context, peaks.highest, true, font);
    // Labels that would cover each other: the minimum's goes under the maximum's.
    const int lineHeight = font.height + devicePixels(2, context.pixelRatio);
    if (lowest && highest && overlap(*lowest, *highest, lineHeight))
        lowest->labelAt.y = highest->labelAt.y + lineHeight;
    for (const auto* marker : {&lowest, &highest})
        if (*marker) drawTriangle(context, (*marker)->centre, marker == &highest);
    for (const auto* marker : {&lowest, &highest})
        if (*marker) drawLabel(context, **marker, font);
}

}  // namespace corvelt
