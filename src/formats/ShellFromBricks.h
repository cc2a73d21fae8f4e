#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/Point.h"

namespace corvelt {

// CalculiX expands every 4-node shell into an 8-node brick: brick nodes 1 to 4 on
// one face, 5 to 8 on the other, node k + 4 across the thickness from node k.
inline constexpr int bricksNodesPerElement = 8;

// The shell rebuilt from its bricks.
struct RebuiltShell {
    std::vector<Point3D> nodes;
    std::vector<std::int32_t> connectivity;  // four shell nodes per element
    // The brick nodes (k, k + 4) of each shell node.
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    // Elements whose face of brick nodes 5 to 8 does not lie on the side of the
    // rebuilt normal (corner 1 - corner 0) x (corner 2 - corner 0), and the first.
    std::int64_t elementsAgainstNormal = 0;
    std::int64_t firstElementAgainstNormal = -1;
};

// Corner k of an element is the midpoint of its brick nodes k and k + 4. A shell
// node is one distinct pair (brick node k, brick node k + 4), numbered in order of
// first appearance, elements in order and their corners in order; where CalculiX
// split a node along a fold, the legs get shell nodes of their own at one place.
// `bricks` holds eight zero-based indices into `brickNodes` per element.
RebuiltShell rebuildShell(const std::vector<std::int32_t>& bricks,
                          const std::vector<Point3D>& brickNodes);

}  // namespace corvelt
