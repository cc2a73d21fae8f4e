#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace corvelt {

// A field of the window's status bar. Fields with a lower giveWay are shortened
// first when the bar is too narrow for every text: the load time, then the model's
// counts, the picks, the selection, the message of the last file operation, the
// probe, and last what the left button does.
struct StatusFieldRule {
    std::string_view name;
    int giveWay = 0;
    bool atRight = false;  // packed against the right end, after the free space
};

// Left to right.
std::span<const StatusFieldRule> statusFieldRules();

// What a field needs: the width of its whole text, and the least it can be shown
// in (a mark that there is more). An empty field needs nothing.
struct StatusFieldNeed {
    int full = 0;
    int least = 0;
    int giveWay = 0;
};

// The width of each field within `available`: whole texts when they all fit, else
// fields shortened in their giveWay order, each at most down to its least. When even
// the least widths do not fit, every field gets its least.
std::vector<int> statusFieldWidths(std::span<const StatusFieldNeed> fields, int available);

}  // namespace corvelt
