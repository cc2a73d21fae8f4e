#include "render/MeshDrawing.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "model/ShellModel.h"
#include "render/MeshStyle.h"
#include "render/PaintContext.h"
#include "render/PixelRatio.h"
#include "render/PolygonFill.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

constexpr Rgb nodeNumberColour = fromColorRef(0xFF0000);
constexpr Rgb elementNumberColour = fromColorRef(0xFF00FF);

// Decimal text of a non-negative index in a small buffer, without allocating.
class IndexText {
  public:
    explicit IndexText(std::int32_t index) {
        const auto result = std::to_chars(buffer_.data(), buffer_.data() + buffer_.size(), index);
        length_ = static_cast<std::size_t>(result.ptr - buffer_.data());
    }
    std::string_view view() const { return {buffer_.data(), length_}; }

  private:
    std::array<char, 16> buffer_{};
    std::size_t length_ = 0;
};

int digitCount(std::int32_t value) {
    return static_cast<int>(IndexText(value).view().size());
}

// The area in which a label anchored at a point can show any of its pixels: a label
// is at most its digits wide (each narrower than the height) and one height high.
ViewRect labelArea(const PaintContext& context, std::int32_t largestIndex, int height) {
    // Height 0 is the default size, whose cell is somewhat more than its em.
    const int cell = height > 0 ? height : 2 * defaultFontPixelSize;
    return context.screen.visibleArea(static_cast<double>(digitCount(largestIndex) + 1) * cell);
}

}  // namespace

void drawElementOutline(PaintContext& context, std::int32_t element, ScreenReach reach) {
    drawElementOutline(context, element, projectedCorners(context.model, element), reach);
}

void drawElementFill(PaintContext& context, std::int32_t element, double shading,
                     ScreenReach reach) {
    drawElementFill(context, element, projectedCorners(context.model, element), shading, reach);
}

void drawElementOutline(PaintContext& context, std::int32_t element,
                        const ProjectedCorners& corners, ScreenReach reach) {
    const ShellModel& model = context.model;
    drawOutline(context, corners, reach,
                meshStyle(MeshLayer::outline, model.elementOutlinePlot,
                          model.elementPicked[element] != 0, model.elementSelected[element] != 0));
}

void drawElementFill(PaintContext& context, std::int32_t element, const ProjectedCorners& corners,
                     double shading, ScreenReach reach) {
    const ShellModel& model = context.model;
    drawFill(context, corners, shading, reach,
             meshStyle(MeshLayer::fill, model.elementPlot, model.elementPicked[element] != 0,
                       model.elementSelected[element] != 0));
}

void drawElementNodes(PaintContext& context, std::int32_t element) {
    const ShellModel& model = context.model;
    const std::int32_t* nodes = model.elementCorners(element);
    for (int j = 0; j < ShellModel::nodesPerElement; ++j) {
        const std::int32_t node = nodes[j];
        drawNodeMarker(context, model.projectedNodes[node],
                       meshStyle(MeshLayer::nodeMarker, model.nodePlot, model.nodePicked[node] != 0,
                                 model.nodeSelected[node] != 0));
    }
}

void drawOutline(PaintContext& context, const ProjectedCorners& corners, ScreenReach reach,
                 const MeshStyle& style) {
    if (!style.drawn) return;
    ScreenPolygon& pixels = context.scratch;
    context.screen.mapPolygon(corners, reach == ScreenReach::crossesGuard, pixels);
    if (pixels.size() < 2) return;
    context.canvas.drawPath(
        pixels.points(), true,
        Pen{style.colour, devicePixels(style.penWidth, context.pixelRatio), PenStyle::solid});
}

void drawFill(PaintContext& context, const ProjectedCorners& corners, double shading,
              ScreenReach reach, const MeshStyle& style) {
    if (!style.drawn) return;
    ScreenPolygon& pixels = context.scratch;
    context.screen.mapPolygon(corners, reach == ScreenReach::crossesGuard, pixels);
    fillShadedPolygon(context.canvas, pixels, style.colour, shading);
}

void drawNodeMarker(PaintContext& context, Point2D position, const MeshStyle& style) {
    if (!style.drawn || !context.screen.mayShow(position)) return;
    const double ratio = context.pixelRatio;
    context.canvas.drawCircle(
        context.screen.toPixel(position), devicePixels(style.radius, ratio),
        Pen{style.colour, devicePixels(style.penWidth, ratio), PenStyle::solid});
}

int labelFontHeight(double meanEdgeLength, double scale) {
    const double height = meanEdgeLength / 5 * scale;
    if (!(height >= 0.0)) return 0;
    if (height >= maxLabelHeight) return maxLabelHeight;
    return static_cast<int>(height);
}

void drawNodeNumbers(PaintContext& context, PlotScope scope) {
    const ShellModel& model = context.model;
    if (model.nodeCount() == 0 || scope == PlotScope::none || !context.screen.usable()) return;
    // Height 0 (labels zoomed below a pixel) is the font's default size: the numbers
    // are still written.
    const int height = labelFontHeight(model.meanEdgeLength, context.camera.scale);
    const Font font{height, height / 2, "Times New Roman"};
    const ViewRect area = labelArea(context, model.nodeCount() - 1, height);
    for (std::int32_t node = 0; node < model.nodeCount(); ++node) {
        if (scope == PlotScope::selected && !model.nodeSelected[node]) continue;
        const Point2D position = model.projectedNodes[node];
        if (!area.contains(position)) continue;
        context.canvas.drawText(context.screen.toPixel(position), IndexText(node).view(), font,
                                nodeNumberColour);
    }
}

void drawElementNumbers(PaintContext& context, PlotScope scope) {
    const ShellModel& model = context.model;
    if (model.elementCount() == 0 || scope == PlotScope::none || !context.screen.usable()) return;
    const int height = labelFontHeight(model.meanEdgeLength, context.camera.scale);
    const Font font{height, height / 2, "Times New Roman"};
    const ViewRect area = labelArea(context, model.elementCount() - 1, height);
    for (std::int32_t element = 0; element < model.elementCount(); ++element) {
        if (scope == PlotScope::selected && !model.elementSelected[element]) continue;
        const Point2D centroid = centreOf(projectedCorners(model, element));
        if (!area.contains(centroid)) continue;

        const IndexText text(element);
        const int length = static_cast<int>(text.view().size());
        const Pixel anchor = context.screen.toPixel(centroid);
        // Centred on the centroid as if every character were one font width wide.
        const Pixel topLeft{saturatingAdd(anchor.x, -(length * font.width / 2)),
                            saturatingAdd(anchor.y, -(font.height / 2))};
        context.canvas.drawText(topLeft, text.view(), font, elementNumberColour);
    }
}

}  // namespace corvelt
