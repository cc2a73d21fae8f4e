#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "render/ElementPlanes.h"
#include "render/ModelArraysKey.h"
#include "view/Matrix4.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// The painter's far-to-near order: element indices by decreasing depth key
// (elementDepth), so the farthest is drawn first.
//
// The order is exactly the one of a selection sort over the keys in index order:
// for each position i, the first of the largest keys at positions i .. n - 1 is
// swapped into place. That sort is not stable: when a farther element is fetched
// from behind a run of equal keys, the element it displaces moves behind them, and
// equal keys may end up in any order. Keys that are not numbers are never fetched
// and never displaced, so such elements keep their own positions.
//
// About O(n) when the keys are finite and spread over their range; O(n log n) at
// worst. Big models are ordered on all cores.
void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order);

// The working memory of the order. Whoever orders often keeps it: on big models,
// mapping fresh buffers costs more than the sort itself.
struct DepthSortBuffers {
    struct Item {
        std::uint64_t key;  // ascending = farthest first
        std::int32_t element;
    };
    std::vector<Item> sorted;
    std::vector<Item> scratch;
    std::vector<double> depths;
    std::vector<std::vector<std::uint32_t>> bucketStarts;  // per chunk of elements
    std::vector<std::uint32_t> bucketBegin;
};
void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order, DepthSortBuffers& buffers);

// The same order from the elements' centroids at hand, as the painter keeps them.
void orderElementsByDepth(std::span<const ElementPlanes> planes, const ViewCamera& camera,
                          std::vector<std::int32_t>& order, DepthSortBuffers& buffers);

// The same order over given keys: order[i] is the index of the key that the
// selection sort leaves at position i.
void orderByDecreasingKey(std::span<const double> keys, std::vector<std::int32_t>& order);

// The order kept between frames. It depends only on the view matrix and the
// geometry, so pans, zooms and option changes reuse it; it is recomputed when the
// view matrix or the model's node and connectivity arrays (address or size) differ,
// and after invalidate(), which whoever changes node positions in place must call.
class DrawOrderCache {
  public:
    // The planes are the model's (ElementPlanesCache), for their centroids.
    const std::vector<std::int32_t>& orderFor(const ShellModel& model, const ViewCamera& camera,
                                              std::span<const ElementPlanes> planes);
    void invalidate() { valid_ = false; }
    // Counts the times the order was worked out: what is derived from it is still
    // valid while it stays the same.
    std::uint64_t generation() const { return generation_; }

  private:
    struct Key {
        Matrix4 viewMatrix{};
        ModelArraysKey arrays;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const ShellModel& model, const ViewCamera& camera);

    bool valid_ = false;
    std::uint64_t generation_ = 0;
    Key key_;
    std::vector<std::int32_t> order_;
    DepthSortBuffers buffers_;
};

}  // namespace corvelt
