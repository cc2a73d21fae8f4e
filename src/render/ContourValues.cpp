#include "render/ContourValues.h"

#include <cassert>

namespace corvelt {

const std::vector<ElementValues>& ContourValueCache::valuesFor(const ShellModel& model,
                                                               int component) {
    assert(isStressComponent(component));
    const ModelArraysKey key = ModelArraysKey::of(model);
    if (!valid_ || !(key == key_) || component != component_) {
        values_.resize(model.elementStresses.size());
        for (std::size_t e = 0; e < values_.size(); ++e) {
            const ElementStressBlock& block = model.elementStresses[e];
            for (int surface = 0; surface < 2; ++surface)
                for (int j = 0; j < 4; ++j)
                    values_[e].surfaces[surface][j] = block.value(surface, j, component);
        }
        key_ = key;
        component_ = component;
        valid_ = true;
    }
    return values_;
}

}  // namespace corvelt
