#pragma once

#include <algorithm>
#include <cstdint>

namespace corvelt {

// Pixel rows first .. end - 1 of a canvas; empty when end <= first.
struct RowRange {
    std::int32_t first = 0;
    std::int32_t end = 0;

    bool empty() const { return end <= first; }
    bool operator==(const RowRange&) const = default;

    // The smallest range holding both.
    RowRange united(RowRange other) const {
        if (empty()) return other;
        if (other.empty()) return *this;
        return {std::min(first, other.first), std::max(end, other.end)};
    }

    RowRange clampedTo(std::int32_t rows) const {
        const std::int32_t low = std::clamp(first, 0, rows);
        return {low, std::clamp(end, low, rows)};
    }
};

}  // namespace corvelt
