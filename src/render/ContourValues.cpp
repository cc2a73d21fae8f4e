#include "render/ContourValues.h"

#include <cassert>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"

namespace corvelt {

const std::vector<ElementValues>& ContourValueCache::valuesFor(const ShellModel& model,
                                                               int component) {
    assert(isStressComponent(component));
    const ModelArraysKey key = ModelArraysKey::of(model);
    if (!valid_ || !(key == key_) || component != component_) {
        resizeOnHugePages(values_, model.elementStresses.size());
        forEachChunk(values_.size(), 1 << 14, [&](std::size_t, std::size_t begin, std::size_t end) {
            for (std::size_t e = begin; e < end; ++e) {
                const ElementStressBlock& block = model.elementStresses[e];
                for (int surface = 0; surface < 2; ++surface)
                    for (int j = 0; j < 4; ++j)
                        values_[e].surfaces[surface][j] = block.value(surface, j, component);
            }
        });
        ++generation_;
        key_ = key;
        component_ = component;
        valid_ = true;
    }
    return values_;
}

}  // namespace corvelt
