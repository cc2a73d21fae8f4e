#include "formats/ShellFromBricks.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"

namespace corvelt {

namespace {

constexpr std::size_t minimumChunk = 16384;

// The shell node of every pair, numbered as pairs first appear. Almost every brick
// node is the first of one pair only, so a table by that node answers at once;
// a node paired with a second partner is looked up by both.
class PairNumbers {
  public:
    explicit PairNumbers(std::size_t brickNodes) : partner_(brickNodes, -1), shell_(brickNodes) {}

    // The pair's shell node; a new one, numbered `next`, when the pair is new.
    std::int32_t of(std::int32_t lower, std::int32_t upper, std::int32_t next) {
        const auto at = static_cast<std::size_t>(lower);
        if (partner_[at] == upper) return shell_[at];
        if (partner_[at] < 0) {
            partner_[at] = upper;
            shell_[at] = next;
            return next;
        }
        const std::uint64_t key =
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(lower)) << 32) |
            static_cast<std::uint32_t>(upper);
        return others_.try_emplace(key, next).first->second;
    }

  private:
    std::vector<std::int32_t> partner_;
    std::vector<std::int32_t> shell_;
    std::unordered_map<std::uint64_t, std::int32_t> others_;
};

Point3D midpoint(Point3D a, Point3D b) {
    return {std::midpoint(a.x, b.x), std::midpoint(a.y, b.y), std::midpoint(a.z, b.z)};
}

}  // namespace

RebuiltShell rebuildShell(const std::vector<std::int32_t>& bricks,
                          const std::vector<Point3D>& brickNodes) {
    const std::size_t elements = bricks.size() / bricksNodesPerElement;
    RebuiltShell shell;
    resizeOnHugePages(shell.connectivity, elements * 4);
    std::vector<std::pair<std::int32_t, std::int32_t>>& pairs = shell.pairs;
    {
        PairNumbers numbers(brickNodes.size());
        for (std::size_t corner = 0; corner < elements * 4; ++corner) {
            const std::size_t element = corner / 4;
            const std::size_t k = corner % 4;
            const std::int32_t lower = bricks[element * bricksNodesPerElement + k];
            const std::int32_t upper = bricks[element * bricksNodesPerElement + k + 4];
            const auto next = static_cast<std::int32_t>(pairs.size());
            const std::int32_t node = numbers.of(lower, upper, next);
            if (node == next) pairs.emplace_back(lower, upper);
            shell.connectivity[corner] = node;
        }
    }
    resizeOnHugePages(shell.nodes, pairs.size());
    forEachChunk(pairs.size(), minimumChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t n = begin; n < end; ++n)
            shell.nodes[n] = midpoint(brickNodes[static_cast<std::size_t>(pairs[n].first)],
                                      brickNodes[static_cast<std::size_t>(pairs[n].second)]);
    });

    std::mutex mutex;
    forEachChunk(elements, minimumChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        std::int64_t against = 0;
        std::int64_t first = -1;
        for (std::size_t e = begin; e < end; ++e) {
            const std::int32_t* corners = shell.connectivity.data() + e * 4;
            const std::int32_t* brick = bricks.data() + e * bricksNodesPerElement;
            const Point3D c0 = shell.nodes[static_cast<std::size_t>(corners[0])];
            const Point3D normal = cross(shell.nodes[static_cast<std::size_t>(corners[1])] - c0,
                                         shell.nodes[static_cast<std::size_t>(corners[2])] - c0);
            Point3D across{};
            for (int k = 0; k < 4; ++k)
                across = across + (brickNodes[static_cast<std::size_t>(brick[k + 4])] -
                                   brickNodes[static_cast<std::size_t>(brick[k])]);
            // Zero, or not a number, is no side either.
            if (!(dot(normal, across) > 0.0)) {
                if (first < 0) first = static_cast<std::int64_t>(e);
                ++against;
            }
        }
        if (against == 0) return;
        const std::lock_guard lock(mutex);
        shell.elementsAgainstNormal += against;
        if (shell.firstElementAgainstNormal < 0 || first < shell.firstElementAgainstNormal)
            shell.firstElementAgainstNormal = first;
    });
    return shell;
}

}  // namespace corvelt
