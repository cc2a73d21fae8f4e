#pragma once

#include <cstdint>
#include <optional>

#include "model/Point.h"
#include "view/Pixel.h"
#include "view/ViewRect.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// Which items a pick may touch: all, or only those in the current selection.
struct PickScope {
    bool onlyFromSelected = false;
};

// Picks work in view space on the projected positions, so they hit what the screen
// shows; depth only breaks ties. `value` is 1 to pick and 0 to unpick.

// The element under the pixel that is drawn in front (smallest depth key; an exact
// tie keeps the lower index). Returns the element whose flag was written.
std::optional<std::int32_t> pickElementAtPoint(ShellModel& model, const ViewCamera& camera,
                                               Pixel click, std::uint8_t value, PickScope scope);

// The node nearest to the pixel on the screen, without a distance limit; equal
// distances go to the nearer node, then to the lower index.
std::optional<std::int32_t> pickNodeAtPoint(ShellModel& model, const ViewCamera& camera,
                                            Pixel click, std::uint8_t value, PickScope scope);

// Dragged to the right (current x >= anchor x): elements wholly inside. Dragged to
// the left: elements that touch the rectangle. Returns how many flags were written.
std::int32_t pickElementsInRectangle(ShellModel& model, const ViewCamera& camera, Pixel anchor,
                                     Pixel current, std::uint8_t value, PickScope scope);

// Nodes inside the rectangle, its border included, whatever the drag direction.
std::int32_t pickNodesInRectangle(ShellModel& model, const ViewCamera& camera, Pixel anchor,
                                  Pixel current, std::uint8_t value, PickScope scope);

// The view-space rectangle between two pixel corners.
ViewRect rectangleToView(const ViewCamera& camera, Pixel a, Pixel b);

// Crossing-number test with a ray toward +x: for an axis-aligned square the bottom
// and right sides are inside, the top and left sides outside.
bool pointInElement(const ShellModel& model, std::int32_t element, Point2D p);

bool elementInsideRectangle(const ShellModel& model, std::int32_t element, const ViewRect& rect);
bool elementTouchesRectangle(const ShellModel& model, std::int32_t element, const ViewRect& rect);

// Closed segments; touching end points and collinear overlap count as meeting.
bool segmentsIntersect(Point2D p1, Point2D p2, Point2D q1, Point2D q2);

}  // namespace corvelt
