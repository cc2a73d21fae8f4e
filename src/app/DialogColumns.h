#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace corvelt {

struct BoxSize {
    int width = 0;
    int height = 0;
    bool operator==(const BoxSize&) const = default;
};

// The groups of a tool window in columns, top to bottom and then left to right, so
// that the groups and their order stay as the template has them.
struct DialogColumns {
    std::vector<std::size_t> firstGroups;  // the first group of each column; starts with 0
    BoxSize size;                          // of the groups with the spacing between them
    bool fits = true;                      // within the limit; otherwise the window scrolls
    bool operator==(const DialogColumns&) const = default;
};

// The fewest columns whose size fits within `limit`, the columns as even as they
// can be. When no number of columns fits, the layout as low as possible among those
// that fit the width (or one column when none does), for the window to scroll.
// `spacing` lies between groups of a column and between columns.
DialogColumns layOutColumns(std::span<const BoxSize> groups, int spacing, BoxSize limit);

}  // namespace corvelt
