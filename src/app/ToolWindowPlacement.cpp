#include "app/ToolWindowPlacement.h"

#include <algorithm>

namespace corvelt {

namespace {

constexpr int cascadeStep = 24;
constexpr int cascadeLength = 8;  // then it starts again at the top
constexpr int insetOverView = 16;

// Within [low, high - size], or at low when the size does not fit.
int clampInto(int value, int low, int high, int size) {
    return std::max(low, std::min(value, high - size));
}

}  // namespace

std::vector<ToolWindowArea> toolWindowAreas(const ToolWindowScene& scene) {
    const ScreenRect& screen = scene.available;
    std::vector<ToolWindowArea> areas;
    const int rightStart = scene.mainFrame.right() + toolWindowGap;
    if (rightStart < screen.right())
        areas.push_back({ToolWindowSide::right,
                         {rightStart, screen.y, screen.right() - rightStart, screen.height}});
    const int leftEnd = scene.mainFrame.x - toolWindowGap;
    if (leftEnd > screen.x)
        areas.push_back(
            {ToolWindowSide::left, {screen.x, screen.y, leftEnd - screen.x, screen.height}});
    const int top = std::clamp(scene.menuBarBottom, screen.y, screen.bottom());
    areas.push_back({ToolWindowSide::over, {screen.x, top, screen.width, screen.bottom() - top}});
    return areas;
}

ScreenPoint toolWindowPosition(const ToolWindowScene& scene, const ToolWindowArea& area,
                               BoxSize frame, int cascade) {
    const int step = cascadeStep * (cascade % cascadeLength);
    ScreenPoint corner;
    switch (area.side) {
        case ToolWindowSide::right:
            corner = {area.rect.x, scene.mainFrame.y + step};
            break;
        case ToolWindowSide::left:
            corner = {area.rect.right() - frame.width, scene.mainFrame.y + step};
            break;
        case ToolWindowSide::over:
            corner = {scene.view.x + insetOverView + step, scene.view.y + insetOverView + step};
            break;
    }
    return {clampInto(corner.x, area.rect.x, area.rect.right(), frame.width),
            clampInto(corner.y, area.rect.y, area.rect.bottom(), frame.height)};
}

}  // namespace corvelt
