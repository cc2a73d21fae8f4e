#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/Color.h"
#include "model/ElementStressBlock.h"
#include "model/PlotScope.h"
#include "model/Point.h"
#include "model/ShellFace.h"
#include "model/StressComponent.h"

namespace corvelt {

// What a result file holds: the mesh and its stresses, nothing derived.
struct ResultData {
    std::vector<Point3D> nodes;
    std::vector<std::int32_t> connectivity;  // four zero-based node indices per element
    std::vector<ElementStressBlock> elementStresses;
};

// Smallest and largest view-space x and y over all projected nodes.
struct ProjectedExtent {
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
};

// The contour colours from the lowest band (blue) to the highest (red), as 0xBBGGRR words.
inline constexpr std::array<std::uint32_t, 9> contourColorRefs{
    0xFF0000, 0xFF7F00, 0xFFFF00, 0x7FFF00, 0x00FF00, 0x00FF7F, 0x00FFFF, 0x007FFF, 0x0000FF};

// The one in-memory model: mesh, stresses, selection and pick flags, the projected
// node positions and the plot options that the painters read. The camera that
// projects it is owned beside it by the application.
struct ShellModel {
    static constexpr int nodesPerElement = 4;
    static constexpr int colorCount = static_cast<int>(contourColorRefs.size());

    ShellModel();

    std::vector<Point3D> nodes;
    std::vector<ElementStressBlock> elementStresses;
    std::vector<std::int32_t> connectivity;  // element e's corner j at e * 4 + j

    double minX = 0.0, maxX = 0.0;
    double minY = 0.0, maxY = 0.0;
    double minZ = 0.0, maxZ = 0.0;

    std::array<Rgb, colorCount> colorTable{};  // index 0 = lowest band

    std::vector<std::uint8_t> elementSelected;
    std::vector<std::uint8_t> nodeSelected;
    std::vector<std::uint8_t> elementPicked;
    std::vector<std::uint8_t> nodePicked;

    double meanEdgeLength = 0.0;
    std::vector<Point2D> projectedNodes;  // view-space x, y of each node

    // Plot options; the application state keeps a mirror that menus read.
    int contourComponent = Se;  // a StressQuantity: a stored component or a derived one
    ShellFace contourFace = ShellFace::facing;
    bool contourOn = true;
    PlotScope nodeNumberPlot = PlotScope::none;
    PlotScope elementNumberPlot = PlotScope::none;
    PlotScope elementOutlinePlot = PlotScope::none;
    PlotScope nodePlot = PlotScope::none;
    PlotScope elementPlot = PlotScope::none;

    std::int32_t nodeCount() const { return static_cast<std::int32_t>(nodes.size()); }
    std::int32_t elementCount() const { return static_cast<std::int32_t>(elementStresses.size()); }
    const std::int32_t* elementCorners(std::int32_t element) const {
        return connectivity.data() + static_cast<std::size_t>(element) * nodesPerElement;
    }

    // Replaces the mesh and stresses, keeps the plot options, selects everything,
    // clears every pick and recomputes bounds and mean edge length. The projected
    // positions are zeroed until the next projection. The data must be consistent
    // (every corner index in range), as the reader guarantees.
    void adoptResult(ResultData&& data);

    // Takes over the mesh of another model with everything that goes with it (flags,
    // projected positions, bounds, mean edge length) and keeps this model's plot
    // options. The arrays move, so their addresses stay what they were.
    void adoptMeshOf(ShellModel&& prepared);

    // Frees the count-sized arrays.
    void releaseArrays();

    // Requires at least one node.
    ProjectedExtent projectedExtent() const;

    void computeBounds();
    // Always finite: a mean beyond the double range is the largest double.
    double computeMeanEdgeLength() const;
};

}  // namespace corvelt
