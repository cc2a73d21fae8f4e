#include "app/DialogColumns.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace corvelt {

namespace {

// A tool window has a handful of groups; beyond this many, one column that scrolls.
constexpr std::size_t maxSplitGroups = 16;

// The columns that start at the groups whose bit is set in `breaks` (group 0 always
// starts one).
DialogColumns columnsFor(std::span<const BoxSize> groups, int spacing, std::uint32_t breaks) {
    DialogColumns columns;
    BoxSize column;
    const auto closeColumn = [&] {
        columns.size.width += column.width + (columns.firstGroups.size() > 1 ? spacing : 0);
        columns.size.height = std::max(columns.size.height, column.height);
    };
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i == 0 || (breaks >> i & 1U) != 0) {
            if (i > 0) closeColumn();
            columns.firstGroups.push_back(i);
            column = {};
        } else {
            column.height += spacing;
        }
        column.width = std::max(column.width, groups[i].width);
        column.height += groups[i].height;
    }
    if (!groups.empty()) closeColumn();
    return columns;
}

bool within(BoxSize size, BoxSize limit) {
    return size.width <= limit.width && size.height <= limit.height;
}

}  // namespace

DialogColumns layOutColumns(std::span<const BoxSize> groups, int spacing, BoxSize limit) {
    DialogColumns best = columnsFor(groups, spacing, 0);
    best.fits = within(best.size, limit);
    if (best.fits || groups.size() < 2 || groups.size() > maxSplitGroups) return best;
    // Which is better: one that fits, then fewer columns, then lower, then narrower;
    // among those that do not fit, one that fits the width, then lower.
    const auto rank = [limit](const DialogColumns& c) {
        const bool fitsWidth = c.size.width <= limit.width;
        return c.fits ? std::make_tuple(0, c.firstGroups.size(), c.size.height, c.size.width)
                      : std::make_tuple(fitsWidth ? 1 : 2, std::size_t{0}, c.size.height, 0);
    };
    // Every way to cut the groups into runs: bit i set starts a column at group i.
    const std::uint32_t ways = std::uint32_t{1} << (groups.size() - 1);
    for (std::uint32_t cuts = 1; cuts < ways; ++cuts) {
        DialogColumns candidate = columnsFor(groups, spacing, cuts << 1);
        candidate.fits = within(candidate.size, limit);
        if (rank(candidate) < rank(best)) best = std::move(candidate);
    }
    // Too wide in every layout: one column, scrolled both ways.
    if (!best.fits && best.size.width > limit.width) {
        best = columnsFor(groups, spacing, 0);
        best.fits = false;
    }
    return best;
}

}  // namespace corvelt
