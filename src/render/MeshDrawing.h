#pragma once

#include <cstdint>

#include "model/PlotScope.h"
#include "render/MeshStyle.h"
#include "render/ProjectedCorners.h"
#include "render/ScreenMapper.h"

namespace corvelt {

struct PaintContext;

// The bare mesh: outlines, plainly filled elements, node circles and the index
// labels of nodes and elements. The per-element routines take their scope from the
// model's plot options and their look from meshStyle.

void drawElementOutline(PaintContext& context, std::int32_t element, ScreenReach reach);
void drawElementFill(PaintContext& context, std::int32_t element, double shading,
                     ScreenReach reach);
void drawElementNodes(PaintContext& context, std::int32_t element);

// The same with the element's projected corners at hand.
void drawElementOutline(PaintContext& context, std::int32_t element,
                        const ProjectedCorners& corners, ScreenReach reach);
void drawElementFill(PaintContext& context, std::int32_t element, const ProjectedCorners& corners,
                     double shading, ScreenReach reach);

// The outline, the fill and a node marker in a style chosen beforehand (meshStyle).
void drawOutline(PaintContext& context, const ProjectedCorners& corners, ScreenReach reach,
                 const MeshStyle& style);
void drawFill(PaintContext& context, const ProjectedCorners& corners, double shading,
              ScreenReach reach, const MeshStyle& style);
void drawNodeMarker(PaintContext& context, Point2D position, const MeshStyle& style);

// Labels grow with the zoom: a fifth of the mean edge length as shown, truncated,
// never more than maxLabelHeight (a label larger than any screen shows nothing more).
// Below a pixel it is 0, which draws the labels at the font's default size. (A
// length and a scale are never negative; a NaN counts as 0 too.)
inline constexpr int maxLabelHeight = 1 << 16;
int labelFontHeight(double meanEdgeLength, double scale);

// The zero-based index of every node in scope, the label's top-left on the node.
void drawNodeNumbers(PaintContext& context, PlotScope scope);

// The zero-based index of every element in scope, centred on its projected centroid.
void drawElementNumbers(PaintContext& context, PlotScope scope);

}  // namespace corvelt
