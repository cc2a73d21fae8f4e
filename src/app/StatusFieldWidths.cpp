#include "app/StatusFieldWidths.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace corvelt {

namespace {

constexpr std::array specs{
    StatusFieldSpec{"mode", 6, false},      StatusFieldSpec{"model", 1, false},
    StatusFieldSpec{"selection", 3, false}, StatusFieldSpec{"picks", 2, false},
    StatusFieldSpec{"probe", 5, false},     StatusFieldSpec{"message", 4, true},
    StatusFieldSpec{"load", 0, true},
};

}  // namespace

std::span<const StatusFieldSpec> statusFieldSpecs() {
    return specs;
}

std::vector<int> statusFieldWidths(std::span<const StatusFieldNeed> fields, int available) {
    std::vector<int> widths;
    widths.reserve(fields.size());
    int excess = -available;
    for (const StatusFieldNeed& field : fields) {
        widths.push_back(field.full);
        excess += field.full;
    }
    std::vector<std::size_t> order(fields.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return fields[a].giveWay < fields[b].giveWay;
    });
    for (const std::size_t i : order) {
        if (excess <= 0) break;
        const int cut = std::clamp(fields[i].full - fields[i].least, 0, excess);
        widths[i] -= cut;
        excess -= cut;
    }
    return widths;
}

}  // namespace corvelt
