#include "formats/NodeNumbers.h"

#include <algorithm>

namespace corvelt {

NodeNumbers::NodeNumbers(const std::vector<std::int32_t>& numbers) {
    if (numbers.empty()) return;
    const std::int32_t largest = *std::max_element(numbers.begin(), numbers.end());
    // A table costs four bytes a number; up to eight numbers a node stays in
    // proportion to the nodes themselves.
    const bool dense =
        largest >= 0 && static_cast<std::size_t>(largest) <= 8 * numbers.size() + 1024;
    if (dense) {
        table_.assign(static_cast<std::size_t>(largest) + 1, -1);
        for (std::size_t at = 0; at < numbers.size(); ++at) {
            std::int32_t& entry = table_[static_cast<std::size_t>(numbers[at])];
            if (entry >= 0 && !firstRepeat_) firstRepeat_ = at;
            if (entry < 0) entry = static_cast<std::int32_t>(at);
        }
        return;
    }
    sorted_.reserve(numbers.size());
    for (std::size_t at = 0; at < numbers.size(); ++at)
        sorted_.emplace_back(numbers[at], static_cast<std::int32_t>(at));
    std::sort(sorted_.begin(), sorted_.end());
    for (std::size_t k = 1; k < sorted_.size(); ++k)
        if (sorted_[k].first == sorted_[k - 1].first) {
            const auto repeat = static_cast<std::size_t>(sorted_[k].second);
            if (!firstRepeat_ || repeat < *firstRepeat_) firstRepeat_ = repeat;
        }
}

std::int32_t NodeNumbers::findSorted(std::int32_t number) const {
    const auto found = std::lower_bound(sorted_.begin(), sorted_.end(),
                                        std::pair<std::int32_t, std::int32_t>{number, -1});
    return found != sorted_.end() && found->first == number ? found->second : -1;
}

}  // namespace corvelt
