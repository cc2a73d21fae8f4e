#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/ShellFace.h"
#include "render/ModelArraysKey.h"

namespace corvelt {

// The plotted quantity of one element at its four corners, as its face shows it: on
// the facing face the two surfaces' values, on every other face its one value twice
// (so that whichever surface faces the viewer, the face's value is painted).
struct ElementValues {
    std::array<std::array<double, 4>, 2> surfaces{};
};

// The plotted quantity of every element in one compact row each (64 bytes instead
// of the 448 of a full stress block), so that the band limits and the contour of
// every frame stream a seventh of the data. Derived quantities and combined faces
// are worked out here once, on all cores, and kept while the quantity, the face and
// the model's arrays stay the same.
class ContourValueCache {
  public:
    const std::vector<ElementValues>& valuesFor(const ShellModel& model, int quantity,
                                                ShellFace face = ShellFace::facing);
    void invalidate() { valid_ = false; }
    // Counts the times the values were worked out: what is derived from them is
    // still valid while it stays the same.
    std::uint64_t generation() const { return generation_; }

  private:
    bool valid_ = false;
    std::uint64_t generation_ = 0;
    ModelArraysKey key_;
    int quantity_ = 0;
    ShellFace face_ = ShellFace::facing;
    std::vector<ElementValues> values_;
};

}  // namespace corvelt
