#include "render/DepthOrder.h"

#include <algorithm>

#include "model/ShellModel.h"
#include "view/Depth.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

struct KeyedElement {
    double key;
    std::int32_t element;
};

}  // namespace

void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order) {
    const std::int32_t count = model.elementCount();
    std::vector<KeyedElement> keyed(static_cast<std::size_t>(count));
    for (std::int32_t e = 0; e < count; ++e)
        keyed[e] = {elementDepth(model, camera, e), e};
    // Sorting on (key, index) makes ties deterministic without a stable sort.
    std::sort(keyed.begin(), keyed.end(), [](const KeyedElement& a, const KeyedElement& b) {
        return a.key > b.key || (a.key == b.key && a.element < b.element);
    });
    order.resize(keyed.size());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].element;
}

DrawOrderCache::Key DrawOrderCache::keyOf(const ShellModel& model, const ViewCamera& camera) {
    return {camera.viewMatrix, model.nodes.data(), model.nodes.size(), model.connectivity.data(),
            model.connectivity.size()};
}

const std::vector<std::int32_t>& DrawOrderCache::orderFor(const ShellModel& model,
                                                          const ViewCamera& camera) {
    const Key key = keyOf(model, camera);
    if (!valid_ || !(key == key_)) {
        orderElementsByDepth(model, camera, order_);
        key_ = key;
        valid_ = true;
    }
    return order_;
}

}  // namespace corvelt
