// The mouse and keyboard handling of Application: a two-click gesture state
// machine per interaction mode, the wheel, the arrow keys and the character keys.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/Application.h"
#include "select/Picking.h"
#include "select/SelectionSets.h"
#include "view/Projection.h"
#include "view/Rotation.h"

namespace corvelt {

namespace {

// Mouse positions are small, but a difference of two arbitrary ints must not overflow.
std::int32_t saturatingDifference(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = static_cast<std::int64_t>(a) - b;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(difference, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

bool picksElements(InteractionMode mode) {
    return mode == InteractionMode::pickElements || mode == InteractionMode::unpickElements;
}

// Pick modes set the flag, unpick modes clear it.
std::uint8_t pickValue(InteractionMode mode) {
    return mode == InteractionMode::pickElements || mode == InteractionMode::pickNodes ? 1 : 0;
}

const char* pickStepName(InteractionMode mode) {
    return pickValue(mode) != 0 ? "Pick" : "Unpick";
}

unsigned pickedArray(InteractionMode mode) {
    return picksElements(mode) ? elementPickedFlags : nodePickedFlags;
}

// The picks that Esc drops in the mode: those of a picking mode, none elsewhere.
unsigned picksOfMode(InteractionMode mode) {
    if (mode == InteractionMode::pickElements) return elementPickedFlags;
    if (mode == InteractionMode::pickNodes) return nodePickedFlags;
    return 0;
}

}  // namespace

// A stage of 1 takes the first point of a gesture, 2 completes it. A stage can be
// left over from another mode (Z and the dialogs' mode buttons keep it), so the
// first point taken in one mode is completed by a click in the next.
void Application::leftButtonDown(std::int32_t x, std::int32_t y) {
    const int stage = ++state_.clickStage;
    state_.lastMouseX = x;
    state_.lastMouseY = y;
    switch (state_.interactionMode) {
        case InteractionMode::pan:
            clickInPanMode(stage, x, y);
            break;
        case InteractionMode::zoomBox:
            clickInZoomBoxMode(stage, x, y);
            break;
        case InteractionMode::pickElements:
        case InteractionMode::pickNodes:
        case InteractionMode::unpickElements:
        case InteractionMode::unpickNodes:
            clickInPickMode(stage, x, y);
            break;
        case InteractionMode::none:
            state_.clickStage = 0;
            break;
    }
}

void Application::clickInPanMode(int stage, std::int32_t x, std::int32_t y) {
    if (stage == 1) {
        state_.panAnchorX = x;
        state_.panAnchorY = y;
    } else if (stage == 2) {
        camera_.panBy(saturatingDifference(x, state_.panAnchorX),
                      saturatingDifference(y, state_.panAnchorY));
        requestRepaint();
        state_.clickStage = 0;
    }
}

void Application::clickInZoomBoxMode(int stage, std::int32_t x, std::int32_t y) {
    if (stage == 1) {
        state_.dragAnchorX = x;
        state_.dragAnchorY = y;
    } else if (stage == 2) {
        state_.dragCurrentX = x;
        state_.dragCurrentY = y;
        state_.clickStage = 0;
        // A box without width or height is fitted by its other side; two clicks on
        // one pixel end the gesture and leave the camera as it was.
        camera_.zoomToRectangle({state_.dragAnchorX, state_.dragAnchorY}, {x, y});
        requestRepaint();
    }
}

void Application::clickInPickMode(int stage, std::int32_t x, std::int32_t y) {
    if (stage == 1 && state_.rectanglePick != 0) {
        state_.dragAnchorX = x;
        state_.dragAnchorY = y;
    } else if (stage == 1) {
        changeFlags(pickStepName(state_.interactionMode), pickedArray(state_.interactionMode),
                    [&] { pickAtPoint(x, y); });
        state_.clickStage = 0;
        requestPickRepaint();
    } else if (stage == 2) {
        // Also with point picking: a first point left over from another mode is
        // completed as a rectangle.
        state_.dragCurrentX = x;
        state_.dragCurrentY = y;
        state_.clickStage = 0;
        changeFlags(pickStepName(state_.interactionMode), pickedArray(state_.interactionMode),
                    [&] { pickInRectangle(); });
        requestPickRepaint();
    }
}

void Application::pickAtPoint(std::int32_t x, std::int32_t y) {
    const InteractionMode mode = state_.interactionMode;
    if (picksElements(mode))
        pickElementAtPoint(model_, camera_, {x, y}, pickValue(mode),
                           PickScope{state_.onlyFromSelectedElements});
    else
        pickNodeAtPoint(model_, camera_, {x, y}, pickValue(mode),
                        PickScope{state_.onlyFromSelectedNodes});
}

void Application::pickInRectangle() {
    const InteractionMode mode = state_.interactionMode;
    const Pixel anchor{state_.dragAnchorX, state_.dragAnchorY};
    const Pixel current{state_.dragCurrentX, state_.dragCurrentY};
    if (picksElements(mode))
        pickElementsInRectangle(model_, camera_, anchor, current, pickValue(mode),
                                PickScope{state_.onlyFromSelectedElements});
    else
        pickNodesInRectangle(model_, camera_, anchor, current, pickValue(mode),
                             PickScope{state_.onlyFromSelectedNodes});
}

void Application::mouseMove(std::int32_t x, std::int32_t y) {
    state_.lastMouseX = x;
    state_.lastMouseY = y;
    if (drag_) dragTo(x, y);
    if (state_.clickStage != 1) return;
    const InteractionMode mode = state_.interactionMode;
    if (mode == InteractionMode::pan) {
        // The picture follows the cursor from the first click on.
        camera_.panBy(saturatingDifference(x, state_.panAnchorX),
                      saturatingDifference(y, state_.panAnchorY));
        state_.panAnchorX = x;
        state_.panAnchorY = y;
        requestRepaint();
    } else if (mode == InteractionMode::zoomBox ||
               (mode != InteractionMode::none && state_.rectanglePick == 1)) {
        // The rubber band follows the cursor.
        state_.dragCurrentX = x;
        state_.dragCurrentY = y;
        requestPickRepaint();
    }
}

void Application::wheel(std::int32_t delta, std::int32_t x, std::int32_t y) {
    // Picking modes keep the view still.
    if (state_.interactionMode > InteractionMode::zoomBox) return;
    const int step = wheel_.add(delta);
    if (step == 0) return;
    camera_.zoomAtPoint({x, y}, step > 0);
    requestRepaint();
}

void Application::keyDown(ArrowKey key) {
    rotate(key);
    projectAllNodes(model_, camera_);
    requestRepaint();
}

void Application::buttonDown(MouseButton button, std::int32_t x, std::int32_t y) {
    const bool turns = state_.interactionMode == InteractionMode::none;
    if (button == MouseButton::left) leftButtonDown(x, y);
    if (drag_) return;  // one drag at a time
    if (button == MouseButton::middle)
        drag_ = MouseDrag{button, MouseDrag::Kind::pan, {x, y}};
    else if (turns)
        drag_ = MouseDrag{button, MouseDrag::Kind::turn, {x, y}};
}

void Application::buttonUp(MouseButton button, std::int32_t x, std::int32_t y) {
    if (!drag_ || drag_->button != button) return;
    dragTo(x, y);
    drag_.reset();
}

std::optional<MouseButton> Application::dragButton() const {
    if (!drag_) return std::nullopt;
    return drag_->button;
}

void Application::dragTo(std::int32_t x, std::int32_t y) {
    const std::int32_t dx = saturatingDifference(x, drag_->last.x);
    const std::int32_t dy = saturatingDifference(y, drag_->last.y);
    drag_->last = {x, y};
    if (dx == 0 && dy == 0) return;
    if (drag_->kind == MouseDrag::Kind::turn) {
        // Rightward turns as the right arrow does, downward as the down arrow.
        const double perPixel = state_.rotationStep / dragPixelsPerArrowStep;
        if (dx != 0) rotateAboutScreenY(camera_, dx * perPixel);
        if (dy != 0) rotateAboutScreenX(camera_, dy * perPixel);
        projectAllNodes(model_, camera_);
    } else if (state_.interactionMode != InteractionMode::pan || state_.clickStage != 1) {
        // A pan gesture under way follows the cursor by itself.
        camera_.panBy(dx, dy);
    }
    requestRepaint();
}

void Application::rotate(ArrowKey key) {
    const double step = state_.rotationStep;
    switch (key) {
        case ArrowKey::left:
            rotateAboutScreenY(camera_, -step);
            break;
        case ArrowKey::up:
            rotateAboutScreenX(camera_, -step);
            break;
        case ArrowKey::right:
            rotateAboutScreenY(camera_, step);
            break;
        case ArrowKey::down:
            rotateAboutScreenX(camera_, step);
            break;
    }
}

void Application::character(char32_t c) {
    switch (c) {
        case escapeCharacter:
            changeFlags("Esc", picksOfMode(state_.interactionMode), [this] { clearPicksOfMode(); });
            requestPickRepaint();
            break;
        case U'A':
        case U'a':
            fitView();
            break;
        case U'O':
        case U'o':
            showAtStoredAngles(true);
            requestRepaint();
            break;
        case U'P':
        case U'p':
            // Pan starts afresh; Z below keeps a first point already taken.
            state_.interactionMode = InteractionMode::pan;
            state_.clickStage = 0;
            break;
        case U'Z':
        case U'z':
            state_.interactionMode = InteractionMode::zoomBox;
            break;
        default:
            break;
    }
}

// Back to turning with the left button: the mode goes, and with it a zoom box, pick
// rectangle or pan gesture whose first point was taken.
void Application::turnMode() {
    state_.interactionMode = InteractionMode::none;
    state_.clickStage = 0;
    requestPickRepaint();  // the rubber band, if one was drawn
}

// Esc drops the pending picks of the picking mode; unpick modes have none to drop.
void Application::clearPicksOfMode() {
    if (state_.interactionMode == InteractionMode::pickElements) clearElementPicks(model_);
    if (state_.interactionMode == InteractionMode::pickNodes) clearNodePicks(model_);
}

}  // namespace corvelt
