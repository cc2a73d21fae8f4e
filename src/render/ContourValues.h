#pragma once

#include <array>
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

  private:
    bool valid_ = false;
    ModelArraysKey key_;
    int component_ = 0;
    std::vector<ElementValues> values_;
};

}  // namespace corvelt
