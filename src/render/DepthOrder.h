#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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
// O(n) when no two keys are equal; O(n log n) at worst.
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
};
void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
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
    const std::vector<std::int32_t>& orderFor(const ShellModel& model, const ViewCamera& camera);
    void invalidate() { valid_ = false; }

  private:
    struct Key {
        Matrix4 viewMatrix{};
        ModelArraysKey arrays;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const ShellModel& model, const ViewCamera& camera);

    bool valid_ = false;
    Key key_;
    std::vector<std::int32_t> order_;
    DepthSortBuffers buffers_;
};

}  // namespace corvelt
