#pragma once

#include <cstddef>

#include "model/ShellModel.h"

namespace corvelt {

// Identifies the arrays of a model by address and size, so that caches derived from
// them notice a reload (which moves new arrays in). Changes made in place to the
// same arrays are not noticed: their owner tells the cache instead.
struct ModelArraysKey {
    const void* nodes = nullptr;
    std::size_t nodeCount = 0;
    const void* connectivity = nullptr;
    std::size_t connectivitySize = 0;
    const void* stresses = nullptr;
    std::size_t stressCount = 0;

    static ModelArraysKey of(const ShellModel& model) {
        return {model.nodes.data(),           model.nodes.size(),
                model.connectivity.data(),    model.connectivity.size(),
                model.elementStresses.data(), model.elementStresses.size()};
    }
    bool operator==(const ModelArraysKey&) const = default;
};

}  // namespace corvelt
