#include "render/DepthOrder.h"

#include <array>
#include <bit>

#include "model/ShellModel.h"
#include "view/Depth.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

struct KeyedElement {
    std::uint64_t key;
    std::int32_t element;
};

// Maps depth keys to unsigned integers whose ascending order is the descending order
// of the keys (farthest first). -0 and +0 become the same integer, as they compare
// equal.
std::uint64_t farthestFirstKey(double depth) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(depth + 0.0);
    const std::uint64_t ascending = (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
    return ~ascending;
}

// A stable least-significant-digit radix sort, one byte per pass. The elements enter
// in index order, so equal keys keep the lower index first. Passes over a byte that
// all keys share are skipped (depth keys usually agree in their sign and exponent).
void radixSort(std::vector<KeyedElement>& items, std::vector<KeyedElement>& scratch) {
    constexpr int passes = 8;
    std::array<std::array<std::size_t, 256>, passes> counts{};
    for (const KeyedElement& item : items)
        for (int pass = 0; pass < passes; ++pass)
            ++counts[pass][(item.key >> (8 * pass)) & 0xFF];

    scratch.resize(items.size());
    for (int pass = 0; pass < passes; ++pass) {
        std::array<std::size_t, 256>& count = counts[pass];
        const std::uint8_t anyDigit =
            static_cast<std::uint8_t>((items.front().key >> (8 * pass)) & 0xFF);
        if (count[anyDigit] == items.size()) continue;
        std::size_t offset = 0;
        for (std::size_t& slot : count) {
            const std::size_t n = slot;
            slot = offset;
            offset += n;
        }
        for (const KeyedElement& item : items)
            scratch[count[(item.key >> (8 * pass)) & 0xFF]++] = item;
        items.swap(scratch);
    }
}

}  // namespace

void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order) {
    const std::int32_t count = model.elementCount();
    order.resize(static_cast<std::size_t>(count));
    if (count == 0) return;
    std::vector<KeyedElement> keyed(static_cast<std::size_t>(count));
    for (std::int32_t e = 0; e < count; ++e)
        keyed[e] = {farthestFirstKey(elementDepth(model, camera, e)), e};
    std::vector<KeyedElement> scratch;
    radixSort(keyed, scratch);
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].element;
}

DrawOrderCache::Key DrawOrderCache::keyOf(const ShellModel& model, const ViewCamera& camera) {
    return {camera.viewMatrix, ModelArraysKey::of(model)};
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
