#include "model/ShellModel.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

#include "base/FiniteArithmetic.h"
#include "base/Prefault.h"

namespace corvelt {

namespace {

// The per-item arrays of a big model are fresh memory; on small pages, faulting
// them in one by one costs more than filling them.
template <typename T>
void fillOnHugePages(std::vector<T>& array, std::size_t size, const T& value) {
    resizeOnHugePages(array, size);
    std::fill(array.begin(), array.end(), value);
}

}  // namespace

ShellModel::ShellModel() {
    for (int band = 0; band < colorCount; ++band)
        colorTable[band] = fromColorRef(contourColorRefs[band]);
}

void ShellModel::adoptResult(ResultData&& data) {
    nodes = std::move(data.nodes);
    connectivity = std::move(data.connectivity);
    elementStresses = std::move(data.elementStresses);
    assert(connectivity.size() == elementStresses.size() * nodesPerElement);

    fillOnHugePages(elementSelected, elementStresses.size(), std::uint8_t{1});
    fillOnHugePages(elementPicked, elementStresses.size(), std::uint8_t{0});
    fillOnHugePages(nodeSelected, nodes.size(), std::uint8_t{1});
    fillOnHugePages(nodePicked, nodes.size(), std::uint8_t{0});
    fillOnHugePages(projectedNodes, nodes.size(), Point2D{});

    computeBounds();
    meanEdgeLength = computeMeanEdgeLength();
}

void ShellModel::adoptMeshOf(ShellModel&& prepared) {
    prepared.contourComponent = contourComponent;
    prepared.contourFace = contourFace;
    prepared.contourOn = contourOn;
    prepared.nodeNumberPlot = nodeNumberPlot;
    prepared.elementNumberPlot = elementNumberPlot;
    prepared.elementOutlinePlot = elementOutlinePlot;
    prepared.nodePlot = nodePlot;
    prepared.elementPlot = elementPlot;
    *this = std::move(prepared);
}

void ShellModel::releaseArrays() {
    // Swapping with empty vectors really returns the memory, unlike clear().
    std::vector<Point3D>().swap(nodes);
    std::vector<std::uint8_t>().swap(nodeSelected);
    std::vector<std::uint8_t>().swap(nodePicked);
    std::vector<Point2D>().swap(projectedNodes);
    std::vector<std::int32_t>().swap(connectivity);
    std::vector<ElementStressBlock>().swap(elementStresses);
    std::vector<std::uint8_t>().swap(elementSelected);
    std::vector<std::uint8_t>().swap(elementPicked);
}

ProjectedExtent ShellModel::projectedExtent() const {
    assert(!projectedNodes.empty());
    ProjectedExtent extent{projectedNodes[0].x, projectedNodes[0].x, projectedNodes[0].y,
                           projectedNodes[0].y};
    for (const Point2D& p : projectedNodes) {
        if (p.x < extent.minX) extent.minX = p.x;
        if (p.x > extent.maxX) extent.maxX = p.x;
        if (p.y < extent.minY) extent.minY = p.y;
        if (p.y > extent.maxY) extent.maxY = p.y;
    }
    return extent;
}

void ShellModel::computeBounds() {
    if (nodes.empty()) {
        minX = maxX = minY = maxY = minZ = maxZ = 0.0;
        return;
    }
    minX = maxX = nodes[0].x;
    minY = maxY = nodes[0].y;
    minZ = maxZ = nodes[0].z;
    for (const Point3D& p : nodes) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        minZ = std::min(minZ, p.z);
        maxZ = std::max(maxZ, p.z);
    }
}

namespace {

// A quarter of the length of the edge from a to b, finite for all finite ends.
double quarterLength(const Point3D& a, const Point3D& b) {
    return std::hypot(b.x * 0.25 - a.x * 0.25, b.y * 0.25 - a.y * 0.25, b.z * 0.25 - a.z * 0.25);
}

}  // namespace

double ShellModel::computeMeanEdgeLength() const {
    // A nodes-only model has no edges; its labels then have no height.
    if (elementStresses.empty()) return 0.0;
    const double edgeCount = static_cast<double>(elementStresses.size()) * nodesPerElement;
    double sum = 0.0;
    for (std::size_t e = 0; e < elementStresses.size(); ++e) {
        const std::int32_t* corners = elementCorners(static_cast<std::int32_t>(e));
        for (int j = 0; j < nodesPerElement; ++j) {
            const Point3D& a = nodes[corners[j]];
            const Point3D& b = nodes[corners[(j + 1) % nodesPerElement]];
            sum += length(b - a);
        }
    }
    const double mean = sum / edgeCount;
    if (std::isfinite(mean)) return mean;

    // Coordinates near the ends of the double range: the mean of quarter lengths,
    // each divided by the count first, cannot overflow; a mean beyond the range is
    // held at its end.
    double quarterMean = 0.0;
    for (std::size_t e = 0; e < elementStresses.size(); ++e) {
        const std::int32_t* corners = elementCorners(static_cast<std::int32_t>(e));
        for (int j = 0; j < nodesPerElement; ++j)
            quarterMean +=
                quarterLength(nodes[corners[j]], nodes[corners[(j + 1) % nodesPerElement]]) /
                edgeCount;
    }
    return quarterMean > largestFinite / 4 ? largestFinite : quarterMean * 4;
}

}  // namespace corvelt
