#pragma once

#include <cstdint>

#include "model/Color.h"
#include "model/PlotScope.h"

namespace corvelt {

// The three per-element mesh layers choose their look from one table: a picked item
// is always drawn in red, whatever its layer's scope; otherwise the scope decides
// whether selected and unselected items are drawn.
enum class MeshLayer { outline, fill, nodeMarker };

struct MeshStyle {
    bool drawn = false;
    Rgb colour;        // pen colour, or the fill colour before shading
    int penWidth = 1;  // outlines and markers
    int radius = 0;    // markers
};

constexpr MeshStyle meshStyle(MeshLayer layer, PlotScope scope, bool picked, bool selected) {
    constexpr Rgb red{255, 0, 0};
    const bool drawn =
        picked || (scope == PlotScope::all) || (scope == PlotScope::selected && selected);
    if (!drawn) return {};
    if (picked) return {true, red, 2, 6};
    switch (layer) {
        case MeshLayer::outline:
            return {true, selected ? Rgb{255, 255, 255} : Rgb{90, 90, 90}, 1, 0};
        case MeshLayer::fill:
            return {true, selected ? Rgb{255, 215, 0} : Rgb{40, 40, 40}, 1, 0};
        case MeshLayer::nodeMarker:
            return {true, selected ? Rgb{255, 255, 255} : Rgb{90, 90, 90}, 1, selected ? 6 : 3};
    }
    return {};
}

// The choice of meshStyle in one byte, kept per item while a frame is drawn: 0 when
// the item is not drawn, else the item's flags.
constexpr std::uint8_t keptStyle(MeshLayer layer, PlotScope scope, bool picked, bool selected) {
    if (!meshStyle(layer, scope, picked, selected).drawn) return 0;
    return static_cast<std::uint8_t>(1 | (picked ? 2 : 0) | (selected ? 4 : 0));
}

// The style that keptStyle stood for (a drawn item's look depends on its flags only).
constexpr MeshStyle styleOfKept(MeshLayer layer, std::uint8_t kept) {
    if (kept == 0) return {};
    return meshStyle(layer, PlotScope::all, (kept & 2) != 0, (kept & 4) != 0);
}

}  // namespace corvelt
