#pragma once

namespace corvelt {

// Which items of one plot layer (node markers, outlines, fills, numbers) are drawn.
enum class PlotScope : int { all = 0, selected = 1, none = 2 };

}  // namespace corvelt
