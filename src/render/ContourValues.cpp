#include "render/ContourValues.h"

#include <cassert>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"
#include "model/FaceStress.h"
#include "model/StressQuantity.h"

namespace corvelt {

namespace {

// Stored components on the facing face are copied; everything else is worked out.
void fillValues(const ShellModel& model, int quantity, ShellFace face,
                std::vector<ElementValues>& values) {
    const bool copied = face == ShellFace::facing && isStressComponent(quantity);
    // Derived values cost a solution of a cubic per corner: smaller chunks still
    // spread the work over all cores.
    const std::size_t minimumChunk = copied ? 1 << 14 : 1 << 11;
    forEachChunk(values.size(), minimumChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t e = begin; e < end; ++e) {
            const ElementStressBlock& block = model.elementStresses[e];
            for (int j = 0; j < 4; ++j) {
                if (copied) {
                    for (int surface = 0; surface < 2; ++surface)
                        values[e].surfaces[surface][j] = block.value(surface, j, quantity);
                    continue;
                }
                const std::array<double, 2> both = faceValues(block, j, quantity, face);
                values[e].surfaces[0][j] = both[0];
                values[e].surfaces[1][j] = both[1];
            }
        }
    });
}

}  // namespace

const std::vector<ElementValues>& ContourValueCache::valuesFor(const ShellModel& model,
                                                               int quantity, ShellFace face) {
    assert(isStressQuantity(quantity));
    const ModelArraysKey key = ModelArraysKey::of(model);
    if (!valid_ || !(key == key_) || quantity != quantity_ || face != face_) {
        resizeOnHugePages(values_, model.elementStresses.size());
        fillValues(model, quantity, face, values_);
        ++generation_;
        key_ = key;
        quantity_ = quantity;
        face_ = face;
        valid_ = true;
    }
    return values_;
}

}  // namespace corvelt
