#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace corvelt {

// The position of every node number of a node block. Numbers as CalculiX gives
// them are dense, and are found in a table by number; sparse ones, which would
// make that table large, are found by a binary search instead.
class NodeNumbers {
  public:
    // Throws nothing; `firstRepeat` tells whether a number stands twice.
    explicit NodeNumbers(const std::vector<std::int32_t>& numbers);

    // The position of the first line that repeats an earlier number, if any.
    std::optional<std::size_t> firstRepeat() const { return firstRepeat_; }

    // The position of a number; -1 when no node has it.
    std::int32_t find(std::int32_t number) const {
        if (!table_.empty())
            return number >= 0 && static_cast<std::size_t>(number) < table_.size()
                       ? table_[static_cast<std::size_t>(number)]
                       : -1;
        return findSorted(number);
    }

  private:
    std::int32_t findSorted(std::int32_t number) const;

    std::vector<std::int32_t> table_;                            // by number: position or -1
    std::vector<std::pair<std::int32_t, std::int32_t>> sorted_;  // (number, position)
    std::optional<std::size_t> firstRepeat_;
};

}  // namespace corvelt
