#include "app/StatusFieldWidths.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace corvelt {

namespace {

constexpr std::array specs{
    StatusFieldRule{"mode", 6, false},      StatusFieldRule{"model", 1, false},
    StatusFieldRule{"selection", 3, false}, StatusFieldRule{"picks", 2, false},
    StatusFieldRule{"probe", 5, false},     StatusFieldRule{"message", 4, true},
    StatusFieldRule{"load", 0, true},
};

}  // namespace

std::span<const StatusFieldRule> statusFieldRules() {
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
