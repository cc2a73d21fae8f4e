#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/ModelArraysKey.h"

namespace corvelt {

// The plotted component of one element at its four corners, on both surfaces.
struct ElementValues {
    std::array<std::array<double, 4>, 2> surfaces{};
};

// The plotted component of every element in one compact row each (64 bytes instead
// of the 448 of a full stress block), so that the band limits and the contour of
// every frame stream a seventh of the data. Kept while the component and the
// model's arrays stay the same.
class ContourValueCache {
  public:
    const std::vector<ElementValues>& valuesFor(const ShellModel& model, int component);
    void invalidate() { valid_ = false; }
    // Counts the times the values were worked out: what is derived from them is
    // still valid while it stays the same.
    std::uint64_t generation() const { return generation_; }

  private:
    bool valid_ = false;
    std::uint64_t generation_ = 0;
    ModelArraysKey key_;
    int component_ = 0;
    std::vector<ElementValues> values_;
};

}  // namespace corvelt
