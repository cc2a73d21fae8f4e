#pragma once

// Small hand-built models and cameras for the rendering tests.

#include <array>
#include <cstdint>
#include <span>

#include "model/ShellModel.h"
#include "view/Projection.h"
#include "view/ViewCamera.h"

namespace corvelt::testing {

// Unit squares side by side along +x in the plane z = 0, corners counter-clockwise
// seen from +z, each with its own four nodes; every stress value is `value`.
inline ResultData squareRow(int count, double value = 0.0) {
    ResultData data;
    for (int e = 0; e < count; ++e) {
        const double x = e;
        const std::int32_t first = static_cast<std::int32_t>(data.nodes.size());
        data.nodes.insert(data.nodes.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x + 1, 1, 0}, {x, 1, 0}});
        data.connectivity.insert(data.connectivity.end(), {first, first + 1, first + 2, first + 3});
        ElementStressBlock block;
        for (auto& surface : block.surfaces)
            for (auto& corner : surface)
                corner.fill(value);
        data.elementStresses.push_back(block);
    }
    return data;
}

inline void setSe(ResultData& data, int element, int surface, std::array<double, 4> values) {
    for (int j = 0; j < 4; ++j)
        data.elementStresses[element].surfaces[surface][j][Se] = values[j];
}

// The identity view (the viewer looks down from +z): `scale` pixels per unit, the
// view point `centre` drawn at pixel `origin`.
inline ViewCamera topCamera(double scale, Point2D centre, Pixel origin, int width = 800,
                            int height = 600) {
    ViewCamera camera;
    camera.scale = scale;
    camera.centerX = centre.x;
    camera.centerY = centre.y;
    camera.originX = origin.x;
    camera.originY = origin.y;
    camera.screenWidth = width;
    camera.screenHeight = height;
    return camera;
}

// Seen from -z instead: view x = -world x, depth = -world z.
inline constexpr Matrix4 fromBelow{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};

inline ShellModel adopt(ResultData data, const ViewCamera& camera) {
    ShellModel model;
    model.adoptResult(std::move(data));
    projectAllNodes(model, camera);
    return model;
}

// Twice the signed area (shoelace).
template <typename P>
double doubleArea(std::span<const P> corners) {
    double sum = 0.0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const P& a = corners[i];
        const P& b = corners[(i + 1) % corners.size()];
        sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return sum;
}

}  // namespace corvelt::testing
