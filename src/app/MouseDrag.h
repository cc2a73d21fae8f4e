#pragma once

#include <cstdint>

#include "view/Pixel.h"

namespace corvelt {

// The buttons that drag, beside the left button's clicks.
enum class MouseButton { left, middle };

// A drag under way: what it does and where the cursor was at its last step.
struct MouseDrag {
    enum class Kind {
        turn,  // the left button in mode none: the model turns as the arrow keys turn it
        pan,   // the middle button in any mode: the picture follows the cursor
    };

    MouseButton button;
    Kind kind;
    Pixel last;
};

// A drag of this many pixels turns the model as far as one arrow key.
inline constexpr int dragPixelsPerArrowStep = 10;

}  // namespace corvelt
