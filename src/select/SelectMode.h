#pragma once

namespace corvelt {

// How Apply merges the picked items into the selection.
enum class SelectMode : int { reselect = 0, alsoSelect = 1, unselect = 2 };

}  // namespace corvelt
