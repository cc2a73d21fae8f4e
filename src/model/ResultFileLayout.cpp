#include "model/ResultFileLayout.h"

namespace corvelt {

std::string ResultFileLayout::describeToken(std::int64_t index) const {
    if (index < nodeTokenCount()) {
        static constexpr std::array<const char*, tokensPerNode> axes{"x", "y", "z"};
        return std::string(axes[index % tokensPerNode]) + " of node " +
               std::to_string(index / tokensPerNode);
    }
    const std::int64_t elementToken = index - nodeTokenCount();
    const std::string element = std::to_string(elementToken / tokensPerElement);
    const ElementField& field = elementFields[elementToken % tokensPerElement];
    if (field.isCornerIndex)
        return "corner " + std::to_string(field.corner) + " of element " + element;
    return std::string(stressComponentNames[field.component]) + " of element " + element +
           ", corner " + std::to_string(field.corner) +
           (field.surface == 0 ? ", first" : ", second") + " stress line";
}

}  // namespace corvelt
