// The arithmetic behind the window's layout: the columns of a tool window, where a
// tool window goes, and how the status bar's fields give way.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/DialogColumns.h"
#include "app/StatusFieldWidths.h"
#include "app/ToolWindowPlacement.h"

namespace corvelt {
namespace {

struct ColumnCase {
    std::string name;
    std::vector<BoxSize> groups;
    BoxSize limit;
    std::vector<std::size_t> firstGroups;
    BoxSize size;
    bool fits;
};

class Columns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(Columns, FewestThatFitInTheTemplatesOrder) {
    const ColumnCase& c = GetParam();
    const DialogColumns columns = layOutColumns(c.groups, 10, c.limit);
    EXPECT_EQ(columns.firstGroups, c.firstGroups);
    EXPECT_EQ(columns.size, c.size);
    EXPECT_EQ(columns.fits, c.fits);
}

// Heights 100, 200, 100, 300 (widths 50, 80, 60, 70) with spacing 10: one column is
// 80 x 730.
const std::vector<BoxSize> fourGroups{{50, 100}, {80, 200}, {60, 100}, {70, 300}};

INSTANTIATE_TEST_SUITE_P(
    Layouts, Columns,
    ::testing::Values(
        ColumnCase{"OneColumnWhenItFits", fourGroups, {100, 730}, {0}, {80, 730}, true},
        // {100, 200} and {100, 300} (310 and 410 high) before {100, 200, 100} and {300} (420).
        ColumnCase{"TwoColumnsTheLowerWay", fourGroups, {200, 420}, {0, 2}, {160, 410}, true},
        // Two are at least 410 high; of three 310 high, the narrower.
        ColumnCase{"ThreeWhenTwoAreTooHigh", fourGroups, {300, 320}, {0, 1, 3}, {220, 310}, true},
        // Nothing fits 200 x 250: the lowest within the width, scrolled.
        ColumnCase{
            "ScrollsTheLowestThatFitsTheWidth", fourGroups, {200, 250}, {0, 2}, {160, 410}, false},
        ColumnCase{"TooNarrowForAnyScrollsOneColumn", fourGroups, {60, 250}, {0}, {80, 730}, false},
        ColumnCase{"OneGroupTooHighScrolls", {{50, 900}}, {500, 400}, {0}, {50, 900}, false}),
    [](const auto& info) { return info.param.name; });

// --- Placement.

// A 1000 x 700 screen below a 40-pixel panel.
constexpr ScreenRect screen{0, 40, 1000, 700};

ToolWindowScene sceneWith(ScreenRect mainFrame) {
    return {screen, mainFrame, mainFrame.y + 50, {mainFrame.x + 5, mainFrame.y + 50, 300, 300}};
}

struct PlacementCase {
    std::string name;
    ScreenRect mainFrame;
    BoxSize frame;
    int cascade;
    ToolWindowSide side;  // of the first area the frame fits into whole
    ScreenPoint corner;
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, BesideTheMainWindowWhereThereIsRoomElseOverIt) {
    const PlacementCase& c = GetParam();
    const ToolWindowScene scene = sceneWith(c.mainFrame);
    const std::vector<ToolWindowArea> areas = toolWindowAreas(scene);
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(areas.back().side, ToolWindowSide::over);
    const auto fits = [&c](const ToolWindowArea& area) {
        return c.frame.width <= area.rect.width && c.frame.height <= area.rect.height;
    };
    const auto chosen = std::find_if(areas.begin(), areas.end() - 1, fits);
    EXPECT_EQ(chosen->side, c.side);
    const ScreenPoint corner = toolWindowPosition(scene, *chosen, c.frame, c.cascade);
    EXPECT_EQ(corner, c.corner);
    // Inside the screen, and below the menu bar wherever it covers the main window.
    EXPECT_GE(corner.x, screen.x);
    EXPECT_LE(corner.x + c.frame.width, screen.right());
    EXPECT_GE(corner.y, chosen->side == ToolWindowSide::over ? scene.menuBarBottom : screen.y);
    EXPECT_LE(corner.y + c.frame.height, screen.bottom());
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, Placement,
    ::testing::Values(
        // Right of a main window at 100 .. 600: from 604, at the main window's top.
        PlacementCase{
            "Right", {100, 60, 500, 400}, {300, 500}, 0, ToolWindowSide::right, {604, 60}},
        PlacementCase{"RightCascadesDown",
                      {100, 60, 500, 400},
                      {300, 500},
                      2,
                      ToolWindowSide::right,
                      {604, 108}},
        PlacementCase{"RightKeptOnTheScreen",
                      {100, 60, 500, 400},
                      {300, 690},
                      3,
                      ToolWindowSide::right,
                      {604, 50}},
        // No room right of a main window at 450 .. 950: to its left, against it.
        PlacementCase{"Left", {450, 60, 500, 400}, {300, 500}, 0, ToolWindowSide::left, {146, 60}},
        // A maximised main window: over the picture, below the menu bar.
        PlacementCase{"Over", {0, 40, 1000, 700}, {300, 500}, 0, ToolWindowSide::over, {21, 106}},
        PlacementCase{
            "OverCascades", {0, 40, 1000, 700}, {300, 500}, 9, ToolWindowSide::over, {45, 130}},
        // A frame as high as the room below the menu bar starts at the menu bar's end.
        PlacementCase{"OverAsHighAsTheRoom",
                      {0, 40, 1000, 700},
                      {300, 650},
                      4,
                      ToolWindowSide::over,
                      {117, 90}}),
    [](const auto& info) { return info.param.name; });

TEST(PlacementAreas, OnlyWhereThereIsRoomOnTheMainWindowsScreen) {
    const std::vector<ToolWindowArea> areas = toolWindowAreas(sceneWith({-20, 40, 1100, 700}));
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas.front().rect, (ScreenRect{0, 90, 1000, 650}));
}

// --- Status bar.

struct WidthCase {
    std::string name;
    int available;
    std::vector<int> widths;
};

class FieldWidths : public ::testing::TestWithParam<WidthCase> {};

// Full widths 100, 200, 300 of least 20 each; the middle one gives way first, then
// the first, then the last.
TEST_P(FieldWidths, GiveWayInTheirOrderDownToTheirLeast) {
    const std::vector<StatusFieldNeed> fields{{100, 20, 1}, {200, 20, 0}, {300, 20, 2}, {0, 0, 0}};
    EXPECT_EQ(statusFieldWidths(fields, GetParam().available), GetParam().widths);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, FieldWidths,
    ::testing::Values(WidthCase{"AllWhole", 700, {100, 200, 300, 0}},
                      WidthCase{"JustWhole", 600, {100, 200, 300, 0}},
                      WidthCase{"FirstToGiveWay", 500, {100, 100, 300, 0}},
                      WidthCase{"NextOnceTheFirstIsAtItsLeast", 380, {60, 20, 300, 0}},
                      WidthCase{"LastOfAll", 100, {20, 20, 60, 0}},
                      WidthCase{"LeastWhenNothingElseFits", 10, {20, 20, 20, 0}}),
    [](const auto& info) { return info.param.name; });

// The bar's own order: the load time gives way first, what the button does last.
TEST(StatusFields, ModeAndProbeOutlastTheCounts) {
    std::map<std::string_view, int> giveWay;
    for (const StatusFieldRule& rule : statusFieldRules())
        giveWay[rule.name] = rule.giveWay;
    ASSERT_EQ(giveWay.size(), 7u);
    EXPECT_LT(giveWay["load"], giveWay["model"]);
    EXPECT_LT(giveWay["model"], giveWay["selection"]);
    EXPECT_LT(giveWay["selection"], giveWay["message"]);
    EXPECT_LT(giveWay["message"], giveWay["probe"]);
    EXPECT_LT(giveWay["probe"], giveWay["mode"]);
}

}  // namespace
}  // namespace corvelt
