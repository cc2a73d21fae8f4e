#pragma once

#include <vector>

#include "app/DialogColumns.h"

namespace corvelt {

// Rectangles and points in the desktop's coordinates (logical pixels, y down).
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }  // one past the last column
    int bottom() const { return y + height; }
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// What a tool window is placed among: the available area of the main window's
// screen, the main window's frame, where its menu bar ends and where its picture
// lies.
struct ToolWindowScene {
    ScreenRect available;
    ScreenRect mainFrame;
    int menuBarBottom = 0;
    ScreenRect view;
};

enum class ToolWindowSide { right, left, over };

struct ToolWindowArea {
    ToolWindowSide side = ToolWindowSide::over;
    ScreenRect rect;
    bool operator==(const ToolWindowArea&) const = default;
};

// Between the main window and a tool window beside it.
inline constexpr int toolWindowGap = 4;

// Where a tool window may go, in the order to try them: on the main window's
// screen beside it, right and then left, where there is room; then over the main
// window below its menu bar, which is always there.
std::vector<ToolWindowArea> toolWindowAreas(const ToolWindowScene& scene);

// The top left of a tool window's frame in the area: beside the main window at its
// top, over it at the top left of the picture. Each further window of a cascade
// goes a little lower (and over the picture, a little further right). The frame
// stays inside the area as far as its size allows.
ScreenPoint toolWindowPosition(const ToolWindowScene& scene, const ToolWindowArea& area,
                               BoxSize frame, int cascade);

}  // namespace corvelt
